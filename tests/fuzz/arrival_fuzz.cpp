// The arrival path: any bytes, handled as the first arrival of a window.
#include <cstdlib>
#include <string>

#include "app/ScanHandler.h"
#include "app/ScanRules.h"

namespace {

class Controls final : public ScanControls {
public:
    Text count;
    Text repeatCountText() override { return count; }
    bool enterChecked() override { return true; }
    bool tabChecked() override { return true; }
    void addHistory(const Text& code) override { listed = code; }
    void setTimerPeriod(int32_t) override {}
    Text listed;
};

class Desktop final : public DesktopOutput {
public:
    bool setClipboardText(const Text& text) override {
        clipboard = text;
        return true;
    }
    void pressKeys(uint8_t, uint8_t, uint8_t) override { ++presses; }
    Text clipboard;
    long presses = 0;
};

void check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const char* bytes = reinterpret_cast<const char*>(data);
    AppState state;
    Controls controls;
    controls.count = "2";
    Desktop desktop;
    handleArrival(state, controls, desktop, bytes, size);

    const Text text = decodeArrival(bytes, size);
    check(text.find('\0') == Text::npos);
    check(state.lastText == text);
    if (text.empty()) {
        check(state.lastPieces.empty() && desktop.presses == 0);
        return 0;
    }
    check(state.lastPieces.size() == 1);
    const Text& code = state.lastPieces.front();
    check(text.compare(0, code.size(), code) == 0);  // the code is a prefix
    check(code.size() == text.size() || text.compare(code.size(), ScanSplitter.size(), ScanSplitter) == 0);
    check(desktop.clipboard == code && controls.listed == code);
    check(desktop.presses == 1 + 2 * 2);
    return 0;
}
