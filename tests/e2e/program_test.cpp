// The real program, started from a fresh folder and driven from outside.
#include <gtest/gtest.h>

#include "config/ConfigRules.h"
#include "net/LocalAddressList.h"
#include "tests/e2e/ProgramDriver.h"
#include "ui/UiRules.h"

namespace {

constexpr int ScanPort = 1223;
constexpr int DrainPort = 1224;
constexpr UINT TrayCallback = WM_APP + 0x64;

// Control positions in the main window's client area.
constexpr POINT AddressLabel = {80, 16}, ClientLabel = {80, 96}, HelpLabel = {176, 131}, CopyLabel = {320, 134};
constexpr POINT EnterRadio = {296, 40}, TabRadio = {296, 65}, PortABox = {82, 56}, PortBBox = {208, 56},
                CountBox = {344, 96}, HistoryList = {11, 154};

HWND at(const Program& program, POINT p) { return program.control(p.x, p.y); }

// The close question's box, once the program shows it.
HWND waitForQuestion(const Program& program) {
    HWND box = nullptr;
    waitUntil([&] { return (box = program.findWindow("#32770")) != nullptr; }, 20000);
    return box;
}

void answer(HWND box, int button) { PostMessageW(box, WM_COMMAND, button, 0); }

class ProgramTest : public testing::Test {
protected:
    void SetUp() override {
        startSockets();
        ASSERT_TRUE(waitUntil([] { return portIsFree(ScanPort) && portIsFree(DrainPort); }, 20000))
            << "the program's ports are taken by something else";
    }
};

TEST_F(ProgramTest, AFirstStartCreatesTheSettingsFileAndShowsIt) {
    Program program;
    ASSERT_TRUE(program.started());
    EXPECT_EQ(readFile(program.folder().file("WLconfig.ini")), DefaultConfigContent);
    EXPECT_EQ(windowTextOf(program.mainWindow()), toWide(MainWindowTitle));
    RECT outer;
    GetWindowRect(program.mainWindow(), &outer);
    EXPECT_EQ(outer.right - outer.left, 399);
    EXPECT_EQ(outer.bottom - outer.top, 332);
    EXPECT_EQ(windowTextOf(at(program, PortABox)), L"1223");
    EXPECT_EQ(windowTextOf(at(program, PortBBox)), L"1224");
    EXPECT_EQ(windowTextOf(at(program, CountBox)), L"1");
    EXPECT_TRUE(isChecked(at(program, EnterRadio)));
    EXPECT_FALSE(isChecked(at(program, TabRadio)));
    const TextArray addresses = LocalAddressList();
    EXPECT_EQ(windowTextOf(at(program, AddressLabel)), addresses.empty() ? L"" : toWide(addresses.front()));
    EXPECT_EQ(windowTextOf(at(program, ClientLabel)), L"");
    EXPECT_TRUE(program.history().empty());
}

TEST_F(ProgramTest, AScanIsTypedIntoTheFocusedWindowAndListed) {
    Program program;
    ASSERT_TRUE(program.started());
    FocusedEdit target;
    ASSERT_TRUE(target.takeFocus());
    TestClient phone(ScanPort);
    ASSERT_TRUE(phone.sendAll("6901234567892[ScannerGunSplitter]ignored"));
    EXPECT_TRUE(waitUntil([&] { return target.text() == "6901234567892\r\n"; })) << target.text();
    EXPECT_EQ(program.history(), std::vector<std::wstring>{L"6901234567892"});
    EXPECT_EQ(windowTextOf(at(program, ClientLabel)), L"127.0.0.1:" + std::to_wstring(phone.localPort()));
    EXPECT_EQ(clipboardText(), "6901234567892");
}

TEST_F(ProgramTest, TabAndTheRepeatCountComeFromTheSettingsFile) {
    const std::string settings = "[data]\r\nPortA=5000\r\nPortB=1224\r\nButton=1\r\nNumber=2\r\n";
    Program program(settings);
    ASSERT_TRUE(program.started());
    EXPECT_TRUE(isChecked(at(program, TabRadio)));
    EXPECT_FALSE(isChecked(at(program, EnterRadio)));
    EXPECT_EQ(windowTextOf(at(program, PortABox)), L"5000");
    FocusedEdit target;
    ASSERT_TRUE(target.takeFocus());
    ASSERT_TRUE(sendScan(ScanPort, "AB12"));
    EXPECT_TRUE(waitUntil([&] { return target.text() == "AB12\t\t"; })) << target.text();
    EXPECT_EQ(readFile(program.folder().file("WLconfig.ini")), settings);  // never rewritten
}

TEST_F(ProgramTest, ASecondScanRightAfterTheFirstIsSuppressed) {
    Program program;
    ASSERT_TRUE(program.started());
    FocusedEdit target;
    ASSERT_TRUE(target.takeFocus());
    // Two phones send at the same moment: one of the two is handled.
    TestClient first(ScanPort), second(ScanPort);
    ASSERT_TRUE(first.sendAll("FIRST"));
    ASSERT_TRUE(second.sendAll("SECOND"));
    ASSERT_TRUE(waitUntil([&] { return program.history().size() == 1; }));
    // A scan well after the window closed is handled again; the suppressed
    // one never shows up.
    ASSERT_TRUE(waitUntil([&] {
        sendScan(ScanPort, "THIRD");
        return program.history().size() >= 2;
    }, 20000));
    const auto history = program.history();
    ASSERT_EQ(history.size(), 2u);
    EXPECT_TRUE(history[0] == L"FIRST" || history[0] == L"SECOND");
    EXPECT_EQ(history[1], L"THIRD");
}

TEST_F(ProgramTest, Port1224IsDrainedWithoutEffect) {
    Program program;
    ASSERT_TRUE(program.started());
    TestClient drain(DrainPort);
    ASSERT_TRUE(drain.connected());
    // Far more than the socket buffers hold: the send returns only if the
    // program keeps reading.
    ASSERT_TRUE(drain.sendAll(std::string(16 << 20, '7')));
    drain.close();
    TestClient phone(ScanPort);
    ASSERT_TRUE(phone.sendAll("AFTER"));
    ASSERT_TRUE(waitUntil([&] { return program.history().size() == 1; }));
    EXPECT_EQ(program.history().front(), L"AFTER");
    EXPECT_EQ(windowTextOf(at(program, ClientLabel)), L"127.0.0.1:" + std::to_wstring(phone.localPort()));
}

TEST_F(ProgramTest, ADoubleClickOnAHistoryEntryCopiesIt) {
    Program program;
    ASSERT_TRUE(program.started());
    FocusedEdit target;
    ASSERT_TRUE(target.takeFocus());
    ASSERT_TRUE(sendScan(ScanPort, "条码123"));
    ASSERT_TRUE(waitUntil([&] { return program.history().size() == 1; }));
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    const HWND list = at(program, HistoryList);
    const LPARAM firstRow = MAKELPARAM(5, 5);
    PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, firstRow);
    PostMessageW(list, WM_LBUTTONUP, 0, firstRow);
    PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, firstRow);
    PostMessageW(list, WM_LBUTTONUP, 0, firstRow);
    EXPECT_TRUE(waitUntil([&] { return windowTextOf(at(program, CopyLabel)) == toWide(CopySucceeded); }));
    EXPECT_EQ(clipboardText(), "条码123");
}

TEST_F(ProgramTest, EscAsksFirstCancelKeepsTheProgramAndOkEndsItFreeingThePorts) {
    Program program;
    ASSERT_TRUE(program.started());
    const HWND list = at(program, HistoryList);
    PostMessageW(list, WM_KEYDOWN, VK_ESCAPE, 1);
    HWND box = waitForQuestion(program);
    ASSERT_TRUE(box);
    EXPECT_EQ(windowTextOf(box), toWide(CloseQuestionTitle));
    answer(box, IDCANCEL);
    ASSERT_TRUE(waitUntil([&] { return !program.findWindow("#32770"); }));
    EXPECT_TRUE(program.running());
    EXPECT_TRUE(IsWindowVisible(program.mainWindow()));
    EXPECT_FALSE(portIsFree(ScanPort));

    PostMessageW(at(program, CountBox), WM_KEYDOWN, VK_ESCAPE, 1);
    box = waitForQuestion(program);
    ASSERT_TRUE(box);
    answer(box, IDOK);
    ASSERT_TRUE(program.waitForExit());
    EXPECT_TRUE(portIsFree(ScanPort));
    EXPECT_TRUE(portIsFree(DrainPort));
}

TEST_F(ProgramTest, MinimisingHidesInTheTrayAndADoubleClickThereBringsItBack) {
    Program program;
    ASSERT_TRUE(program.started());
    const HWND window = program.mainWindow();
    PostMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(waitUntil([&] { return !IsWindowVisible(window); })) << "no tray icon could be built";
    EXPECT_TRUE(IsIconic(window));
    PostMessageW(window, TrayCallback, 100, WM_LBUTTONUP);
    PostMessageW(window, TrayCallback, 100, WM_RBUTTONUP);
    // Messages to one window are served in order: once this one is answered,
    // the single clicks above have been handled, and changed nothing.
    SendMessageW(window, WM_NULL, 0, 0);
    EXPECT_FALSE(IsWindowVisible(window));
    PostMessageW(window, TrayCallback, 100, WM_LBUTTONDBLCLK);
    ASSERT_TRUE(waitUntil([&] { return IsWindowVisible(window) && !IsIconic(window); }));
    // A scan still lands after the round trip.
    ASSERT_TRUE(sendScan(ScanPort, "BACK"));
    EXPECT_TRUE(waitUntil([&] { return program.history().size() == 1; }));
}

TEST_F(ProgramTest, TheHelpOpensAtAPressOnItsLabelAndClosesAtAPressOnIt) {
    Program program;
    ASSERT_TRUE(program.started());
    for (int opening = 0; opening < 2; ++opening) {
        PostMessageW(at(program, HelpLabel), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        HWND help = nullptr;
        ASSERT_TRUE(waitUntil([&] { return (help = program.findWindow("WenloHelp")) != nullptr; }));
        EXPECT_TRUE(waitUntil([&] { return !IsWindowEnabled(program.mainWindow()); }));
        RECT rect;
        GetWindowRect(help, &rect);
        EXPECT_EQ(rect.right - rect.left, 250);
        EXPECT_EQ(rect.bottom - rect.top, 200);
        EXPECT_EQ(rect.left, (GetSystemMetrics(SM_CXSCREEN) - 250) / 2);
        EXPECT_EQ(windowTextOf(GetWindow(help, GW_CHILD)), toWide(HelpText));
        if (opening == 0) {  // scans are still listed while the help is open
            ASSERT_TRUE(sendScan(ScanPort, "WHILE-HELP"));
            EXPECT_TRUE(waitUntil([&] { return program.history().size() == 1; }));
        }
        PostMessageW(help, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 199));
        ASSERT_TRUE(waitUntil([&] { return !IsWindow(help); }));
        EXPECT_TRUE(IsWindowEnabled(program.mainWindow()));
    }
}

TEST_F(ProgramTest, EscClosesTheHelpWithoutAQuestion) {
    Program program;
    ASSERT_TRUE(program.started());
    PostMessageW(at(program, HelpLabel), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    HWND help = nullptr;
    ASSERT_TRUE(waitUntil([&] { return (help = program.findWindow("WenloHelp")) != nullptr; }));
    PostMessageW(help, WM_KEYDOWN, VK_ESCAPE, 1);
    ASSERT_TRUE(waitUntil([&] { return !IsWindow(help); }));
    EXPECT_FALSE(program.findWindow("#32770"));
    EXPECT_TRUE(IsWindowEnabled(program.mainWindow()));
}

// The answer to a message sent without waiting for it.
struct QueryReply {
    LRESULT value = -1;
    bool answered = false;
    static void CALLBACK received(HWND, UINT, ULONG_PTR self, LRESULT result) {
        auto* reply = reinterpret_cast<QueryReply*>(self);
        reply->value = result;
        reply->answered = true;
    }
};

TEST_F(ProgramTest, AShutDownQueryAnsweredCancelRefusesTheSessionEnd) {
    Program program;
    ASSERT_TRUE(program.started());
    QueryReply reply;
    SendMessageCallbackW(program.mainWindow(), WM_QUERYENDSESSION, 0, 0, &QueryReply::received,
                         reinterpret_cast<ULONG_PTR>(&reply));
    const HWND box = waitForQuestion(program);
    ASSERT_TRUE(box);
    answer(box, IDCANCEL);
    ASSERT_TRUE(waitUntil([&] { return reply.answered; }));
    EXPECT_EQ(reply.value, FALSE);
    EXPECT_TRUE(program.running());
}

}  // namespace
