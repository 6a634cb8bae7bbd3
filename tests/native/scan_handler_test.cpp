#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/ScanHandler.h"
#include "app/TimerControl.h"

namespace {

// The main window's controls, with 时钟1 run by a fake clock: the timer ticks
// whenever the clock passes a multiple of the period after its (re)start.
class FakeWindow final : public ScanControls, public TimerDriver {
public:
    Text count = "1";
    bool enter = true, tab = false;
    std::vector<Text> history;
    TimerControl timer{*this};
    int starts = 0;

    Text repeatCountText() override { return count; }
    bool enterChecked() override { return enter; }
    bool tabChecked() override { return tab; }
    void addHistory(const Text& code) override { history.push_back(code); }
    void setTimerPeriod(int32_t ms) override { timer.setPeriod(ms); }
    void start(int32_t) override {
        ++starts;
        startedAt_ = now_;
        running_ = true;
    }
    void stop() override { running_ = false; }

    // Advances the clock, delivering every tick due on the way.
    void advance(int32_t ms, AppState& state) {
        const int64_t until = now_ + ms;
        while (running_ && startedAt_ + timer.period() <= until) {
            now_ = startedAt_ + timer.period();
            startedAt_ = now_;
            handleTick(state, *this);
        }
        now_ = until;
    }
    bool running() const { return running_; }

private:
    int64_t now_ = 0, startedAt_ = 0;
    bool running_ = false;
};

class RecordingDesktop final : public DesktopOutput {
public:
    std::vector<Text> clipboard;
    std::string keys;  // one letter a chord: P paste, E enter, T tab

    bool setClipboardText(const Text& text) override {
        clipboard.push_back(text);
        return true;
    }
    void pressKeys(uint8_t vk1, uint8_t vk2, uint8_t vk3) override {
        if (vk1 == vk::Control && vk2 == vk::V && vk3 == 0) keys += 'P';
        else if (vk1 == vk::Enter && !vk2 && !vk3) keys += 'E';
        else if (vk1 == vk::Tab && !vk2 && !vk3) keys += 'T';
        else keys += '?';
    }
};

class ScanHandling : public testing::Test {
protected:
    AppState state;
    FakeWindow window;
    RecordingDesktop desktop;

    void arrive(std::string_view bytes) { handleArrival(state, window, desktop, bytes.data(), bytes.size()); }
};

TEST_F(ScanHandling, PastesThenPressesThenListsTheCode) {
    arrive("6901234567892[ScannerGunSplitter]tail");
    EXPECT_EQ(desktop.clipboard, std::vector<Text>{"6901234567892"});
    EXPECT_EQ(desktop.keys, "PE");
    EXPECT_EQ(window.history, std::vector<Text>{"6901234567892"});
    EXPECT_EQ(state.lastText, "6901234567892[ScannerGunSplitter]tail");
    EXPECT_EQ(window.timer.period(), 300);
}

TEST_F(ScanHandling, AnEmptyCodeIsStillPastedKeyedAndListed) {
    arrive("[ScannerGunSplitter]x");
    EXPECT_EQ(desktop.clipboard, std::vector<Text>{""});
    EXPECT_EQ(desktop.keys, "PE");
    EXPECT_EQ(window.history, std::vector<Text>{""});
}

TEST_F(ScanHandling, AnEmptyTextIsCountedAndArmsTheWindowButNothingElse) {
    arrive(std::string_view("\0abc", 4));
    EXPECT_TRUE(desktop.clipboard.empty());
    EXPECT_EQ(desktop.keys, "");
    EXPECT_TRUE(window.history.empty());
    EXPECT_EQ(state.arrivalCount, 1);
    EXPECT_TRUE(window.running());
    arrive("dropped");
    EXPECT_TRUE(window.history.empty());
}

TEST_F(ScanHandling, RepeatCountAndKeyChoiceAreReadAtEveryScan) {
    struct Case {
        Text count;
        bool enter, tab;
        std::string keys;
    };
    const Case cases[] = {
        {"3", true, false, "PEEE"}, {"2.9", false, true, "PTT"}, {"３", true, false, "PEEE"},
        {"abc", true, false, "P"},  {"", true, false, "P"},      {"-2", true, false, "P"},
        {"2", true, true, "PETET"}, {"0", true, false, "P"},
    };
    for (const Case& c : cases) {
        window.count = c.count;
        window.enter = c.enter;
        window.tab = c.tab;
        desktop.keys.clear();
        arrive("code");
        EXPECT_EQ(desktop.keys, c.keys) << "count " << c.count;
        window.advance(300, state);
    }
}

TEST_F(ScanHandling, AHugeRepeatCountIsBoundedSoTheWindowThreadIsNotHeldForHours) {
    for (const Text count : {"2147483647", "1e9", "1001", "1000"}) {
        window.count = count;
        desktop.keys.clear();
        arrive("code");
        EXPECT_EQ(desktop.keys, "P" + std::string(MaxPressesPerScan, 'E')) << count;
        window.advance(300, state);
    }
    window.count = "999";
    desktop.keys.clear();
    arrive("code");
    EXPECT_EQ(desktop.keys.size(), 1000u);
}

TEST_F(ScanHandling, ASwitchFromEnterToTabBetweenScansTakesEffect) {
    arrive("first");
    window.advance(400, state);
    window.enter = false;
    window.tab = true;
    arrive("second");
    EXPECT_EQ(desktop.keys, "PEPT");
}

TEST_F(ScanHandling, ArrivalsInsideTheWindowAreDroppedAndDoNotExtendIt) {
    arrive("one");
    window.advance(100, state);
    arrive("two");  // dropped; its period write is a no-op
    EXPECT_EQ(window.starts, 1);
    EXPECT_EQ(state.arrivalCount, 2);
    window.advance(199, state);
    EXPECT_EQ(state.arrivalCount, 2);
    window.advance(1, state);  // 300 ms after the first: the window closes
    EXPECT_EQ(state.arrivalCount, 0);
    EXPECT_FALSE(window.running());
    arrive("three");
    EXPECT_EQ(window.history, (std::vector<Text>{"one", "three"}));
}

TEST_F(ScanHandling, AnArrivalAfterTheWindowIsHandled) {
    arrive("one");
    window.advance(400, state);
    arrive("two");
    EXPECT_EQ(window.history, (std::vector<Text>{"one", "two"}));
}

TEST_F(ScanHandling, ArrivalsEvery100msHandleOneInEachWindow) {
    for (int i = 0; i < 12; ++i) {
        arrive("scan" + std::to_string(i));
        window.advance(100, state);
    }
    // The tick at 300 ms after each handled scan reopens the window just
    // before the next arrival: handled at 0, 300, 600 and 900 ms.
    EXPECT_EQ(window.history, (std::vector<Text>{"scan0", "scan3", "scan6", "scan9"}));
}

TEST(TimerPeriod, WritingTheCurrentPeriodDoesNotRestartTheTimer) {
    struct CountingDriver final : TimerDriver {
        std::vector<int32_t> calls;  // started periods, 0 for a stop
        void start(int32_t ms) override { calls.push_back(ms); }
        void stop() override { calls.push_back(0); }
    } driver;
    TimerControl timer(driver);
    timer.setPeriod(0);  // already stopped
    timer.setPeriod(300);
    timer.setPeriod(300);
    timer.setPeriod(200);
    timer.setPeriod(-5);  // counts as 0
    timer.setPeriod(0);
    EXPECT_EQ(driver.calls, (std::vector<int32_t>{300, 200, 0}));
    EXPECT_EQ(timer.period(), 0);
}

}  // namespace
