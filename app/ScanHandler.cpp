#include "ScanHandler.h"

#include <algorithm>

#include "ScanRules.h"

namespace {

void typeScan(ScanControls& controls, DesktopOutput& desktop, const Text& code) {
    desktop.setClipboardText(code);  // a failure still pastes whatever the clipboard holds
    desktop.pressKeys(vk::Control, vk::V);
    const int32_t presses = std::min(repeatCount(controls.repeatCountText()), MaxPressesPerScan);
    for (int32_t i = 1; i <= presses; ++i) {
        // Both buttons are read afresh every time: the user may switch meanwhile.
        if (controls.enterChecked()) desktop.pressKeys(vk::Enter);
        if (controls.tabChecked()) desktop.pressKeys(vk::Tab);
    }
    controls.addHistory(code);
}

}  // namespace

void handleArrival(AppState& state, ScanControls& controls, DesktopOutput& desktop,
                   const char* bytes, std::size_t size) {
    state.arrivalCount += 1;
    if (state.arrivalCount == 1) {
        state.lastText = decodeArrival(bytes, size);
        state.lastPieces = splitFirstPiece(state.lastText, ScanSplitter);
        // An empty text gives no piece: such an arrival is counted and arms the
        // window, but nothing is pasted, keyed or listed.
        if (!state.lastPieces.empty()) typeScan(controls, desktop, state.lastPieces.front());
    }
    controls.setTimerPeriod(SuppressionPeriodMs);
}

void handleTick(AppState& state, ScanControls& controls) {
    state.arrivalCount = 0;
    controls.setTimerPeriod(0);
}
