// The real clipboard and real keystrokes, observed by windows of the test's own.
#include <gtest/gtest.h>

#include "app/ScanHandler.h"
#include "output/DesktopOutput.h"
#include "tests/support/WineTestSupport.h"

namespace {

std::size_t clipboardBlockSize() {
    std::size_t size = 0;
    if (OpenClipboard(nullptr)) {
        if (const HANDLE data = GetClipboardData(CF_TEXT)) size = GlobalSize(data);
        CloseClipboard();
    }
    return size;
}

struct ClipboardCase {
    const char* name;
    std::string text;
};

class ClipboardText : public testing::TestWithParam<ClipboardCase> {};

TEST_P(ClipboardText, HoldsTheBytesUnchangedInABlockOfSizePlusOne) {
    const std::string& text = GetParam().text;
    ASSERT_TRUE(setClipboardText(text));
    bool available = false;
    EXPECT_EQ(clipboardText(&available), text);
    EXPECT_TRUE(available);
    EXPECT_EQ(clipboardBlockSize(), text.size() + 1);
}

INSTANTIATE_TEST_SUITE_P(Table, ClipboardText, testing::Values(
    ClipboardCase{"empty", ""},
    ClipboardCase{"digits", "6901234567892"},
    ClipboardCase{"double_byte", "条码\xA3\xB1\x95\x5C"},
    ClipboardCase{"long", std::string(100000, 'x')}),
    [](const auto& info) { return std::string(info.param.name); });

// Another thread holds the clipboard open, as another program would.
class ClipboardHolder {
public:
    ClipboardHolder() {
        opened_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        release_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread_ = CreateThread(nullptr, 0, &ClipboardHolder::hold, this, 0, nullptr);
        WaitForSingleObject(opened_, 10000);
    }
    ~ClipboardHolder() {
        SetEvent(release_);
        WaitForSingleObject(thread_, 10000);
        CloseHandle(thread_);
        CloseHandle(opened_);
        CloseHandle(release_);
    }
    bool held() const { return held_; }

private:
    static DWORD WINAPI hold(void* self) {
        auto* holder = static_cast<ClipboardHolder*>(self);
        const HWND owner = CreateWindowExA(0, "STATIC", "holder", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
        holder->held_ = OpenClipboard(owner) != FALSE;
        SetEvent(holder->opened_);
        WaitForSingleObject(holder->release_, 10000);
        if (holder->held_) CloseClipboard();
        DestroyWindow(owner);
        return 0;
    }
    HANDLE opened_, release_, thread_;
    bool held_ = false;
};

TEST(ClipboardHeldElsewhere, GivesFalseAndKeepsTheOldContent) {
    ASSERT_TRUE(setClipboardText("before"));
    {
        ClipboardHolder holder;
        ASSERT_TRUE(holder.held());
        EXPECT_FALSE(setClipboardText("after"));
    }
    EXPECT_EQ(clipboardText(), "before");
}

TEST(PressKeys, ReleasesInTheOrderOfPressing) {
    std::vector<std::string> events;  // "down 17", "up 86", ...
    KeyWindow recorder([&](UINT message, WPARAM key) {
        events.push_back((message == WM_KEYDOWN ? "down " : "up ") + std::to_string(key));
    });
    ASSERT_TRUE(recorder.takeFocus());
    struct Case {
        uint8_t vk1, vk2, vk3;
        std::vector<std::string> events;
    };
    const Case cases[] = {
        {17, 86, 0, {"down 17", "down 86", "up 17", "up 86"}},
        {13, 0, 0, {"down 13", "up 13"}},
        {9, 0, 0, {"down 9", "up 9"}},
        {17, 0, 86, {"down 17", "down 86", "up 17", "up 86"}},
    };
    for (const Case& c : cases) {
        events.clear();
        pressKeys(c.vk1, c.vk2, c.vk3);
        EXPECT_TRUE(waitUntil([&] { return events.size() >= c.events.size(); }));
        pumpMessages();
        EXPECT_EQ(events, c.events);
    }
}

class FixedControls final : public ScanControls {
public:
    Text repeatCountText() override { return "2"; }
    bool enterChecked() override { return true; }
    bool tabChecked() override { return false; }
    void addHistory(const Text& code) override { history.push_back(code); }
    void setTimerPeriod(int32_t) override {}
    std::vector<Text> history;
};

TEST(WholeScan, IsPastedAndEnteredIntoTheFocusedEdit) {
    setClipboardText("stale");
    FocusedEdit target;
    ASSERT_TRUE(target.takeFocus());
    AppState state;
    FixedControls controls;
    Win32DesktopOutput desktop;
    const std::string arrival = "6901234567892[ScannerGunSplitter]ignored";
    handleArrival(state, controls, desktop, arrival.data(), arrival.size());
    EXPECT_TRUE(waitUntil([&] { return target.text() == "6901234567892\r\n\r\n"; })) << target.text();
    EXPECT_EQ(clipboardText(), "6901234567892");
    EXPECT_EQ(controls.history, std::vector<Text>{"6901234567892"});
}

}  // namespace
