#pragma once
#include <cstddef>
#include <cstdint>

#include "AppState.h"
#include "ScanPorts.h"

inline constexpr int32_t SuppressionPeriodMs = 300;

// The most Enter or Tab presses that one scan makes.  The repeat count comes
// from a hand-edited file or from the box itself, and a count in the millions
// would hold the window thread for hours; no form needs more than this.
inline constexpr int32_t MaxPressesPerScan = 1000;

namespace vk {
inline constexpr uint8_t Tab = 9;
inline constexpr uint8_t Enter = 13;
inline constexpr uint8_t Control = 17;
inline constexpr uint8_t V = 86;
}  // namespace vk

// onDataArrived of 服务器1.  The first arrival after the suppression window
// closed is pasted, keyed and listed; every arrival (re)arms the window.
void handleArrival(AppState& state, ScanControls& controls, DesktopOutput& desktop,
                   const char* bytes, std::size_t size);

// The tick of 时钟1: the suppression window closes.
void handleTick(AppState& state, ScanControls& controls);
