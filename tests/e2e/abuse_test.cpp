// Bad peers, bad files and heavy load against the real program().  After each
// of them the program still handles a fresh scan correctly, and its private
// bytes and handle count come back close to where they were.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <memory>

#include "tests/e2e/ProgramDriver.h"

namespace {

constexpr int ScanPort = 1223;
constexpr int DrainPort = 1224;
constexpr POINT CountBox = {344, 96}, PortABox = {82, 56}, EnterRadio = {296, 40}, TabRadio = {296, 65};

// Growth of the program's private bytes and handle count that is no leak:
// allocator slack and Wine's own caches.
constexpr SIZE_T PrivateBytesSlack = 8 << 20;
constexpr DWORD HandleSlack = 64;

class AbuseTest : public testing::Test {
protected:
    void SetUp() override {
        startSockets();
        ASSERT_TRUE(waitUntil([] { return portIsFree(ScanPort) && portIsFree(DrainPort); }, 20000));
        started = std::make_unique<Program>();
        ASSERT_TRUE(program().started());
        ASSERT_TRUE(program().scanUntilListed("WARM-UP"));
        baseline = program().stats();
    }
    Program& program() { return *started; }

    // The program still types a fresh scan, and its resources have settled.
    void expectRecovered(SIZE_T historyBytes = 0) {
        ASSERT_TRUE(program().scanUntilListed("FRESH-0042[ScannerGunSplitter]tail"));
        EXPECT_EQ(program().history().back(), L"FRESH-0042");
        EXPECT_EQ(clipboardText(), "FRESH-0042");
        const ProcessStats now = program().stats();
        EXPECT_LE(now.privateBytes, baseline.privateBytes + PrivateBytesSlack + historyBytes)
            << "private bytes grew from " << baseline.privateBytes << " to " << now.privateBytes;
        EXPECT_LE(now.handles, baseline.handles + HandleSlack)
            << "handles grew from " << baseline.handles << " to " << now.handles;
    }

    std::unique_ptr<Program> started;
    ProcessStats baseline;
};

TEST_F(AbuseTest, TwoThousandConnectAndCloseCycles) {
    for (int i = 0; i < 2000; ++i) {
        TestClient client(i % 2 ? ScanPort : DrainPort);
        ASSERT_TRUE(client.connected()) << i;
    }
    expectRecovered();
}

TEST_F(AbuseTest, AThousandClientsHeldOpenThenDropped) {
    std::vector<std::unique_ptr<TestClient>> clients;
    for (int i = 0; i < 1000; ++i) {
        clients.push_back(std::make_unique<TestClient>(ScanPort));
        ASSERT_TRUE(clients.back()->connected()) << i;
    }
    // The last one to connect is the one the client label shows.
    const std::wstring last = L"127.0.0.1:" + std::to_wstring(clients.back()->localPort());
    EXPECT_TRUE(waitUntil([&] { return windowTextOf(program().control(80, 96)) == last; }, 30000));
    clients.clear();
    expectRecovered();
}

TEST_F(AbuseTest, ResetsSilentPeersAndTrickles) {
    {
        TestClient resetter(ScanPort);
        ASSERT_TRUE(resetter.sendAll(std::string(200000, 'R')));
        resetter.reset();
    }
    TestClient silent(ScanPort);  // connects and never sends, through all of it
    ASSERT_TRUE(silent.connected());
    // One byte at a time, with pauses: every byte is an arrival, handled only
    // when no other arrival came within the 300 ms before it.
    TestClient trickle(ScanPort);
    const std::string bytes = "ABCDEFGHIJKL";
    const std::size_t before = program().history().size();
    for (char c : bytes) {
        ASSERT_TRUE(trickle.sendAll(std::string(1, c)));
        waitUntil([] { return false; }, 100);  // the pause between a trickling peer's bytes
    }
    std::wstring trickled;
    EXPECT_TRUE(waitUntil([&] {
        trickled.clear();
        const auto history = program().history();
        for (std::size_t i = before; i < history.size(); ++i)
            if (history[i].size() == 1) trickled += history[i];
        return trickled.size() >= 2;  // about one byte in three is handled
    })) << "trickled bytes handled: " << trickled.size();
    for (std::size_t i = 1; i < trickled.size(); ++i) EXPECT_LT(trickled[i - 1], trickled[i]) << "out of order";
    expectRecovered();
}

struct ArrivalCase {
    const char* name;
    std::string bytes;
    std::string code;  // what the rules make of it: on the clipboard and listed
    // A send larger than what is pending at the first read may come in
    // several arrivals: the code is then a beginning of it.
    bool mayArriveInParts = false;
};
void PrintTo(const ArrivalCase& c, std::ostream* out) { *out << c.name; }

class ArrivalBytes : public AbuseTest, public testing::WithParamInterface<ArrivalCase> {};

TEST_P(ArrivalBytes, AreHandledExactlyAsTheRulesSay) {
    ASSERT_TRUE(program().scanUntilListed(GetParam().bytes));
    const std::string clipboard = clipboardText();
    const std::string& code = GetParam().code;
    if (GetParam().mayArriveInParts) {
        EXPECT_FALSE(clipboard.empty());
        EXPECT_TRUE(clipboard.size() <= code.size() && code.compare(0, clipboard.size(), clipboard) == 0);
    } else {
        EXPECT_EQ(clipboard.size(), code.size());
        EXPECT_TRUE(clipboard == code) << "the clipboard holds other bytes than the code";
    }
    EXPECT_EQ(program().history().back().empty(), GetParam().code.empty());
    expectRecovered(GetParam().bytes.size() * 2);
}

INSTANTIATE_TEST_SUITE_P(Table, ArrivalBytes, testing::Values(
    ArrivalCase{"zero_bytes", std::string("AB\0CD\0", 6), "AB"},
    ArrivalCase{"lone_lead_byte_at_the_end", "AB\x81", "AB\x81"},
    ArrivalCase{"backslash_trail_byte", "\x95\x5C[ScannerGunSplitter]x", "\x95\x5C"},
    ArrivalCase{"separator_straddling_a_character", "\x95[ScannerGunSplitter]", "\x95[ScannerGunSplitter]"},
    ArrivalCase{"one_mebibyte_without_separator", std::string(1 << 20, 'M'), std::string(1 << 20, 'M'), true},
    ArrivalCase{"separator_alone", "[ScannerGunSplitter]", ""},
    ArrivalCase{"control_characters", "\x1D" "01\x04", "\x1D" "01\x04"}),
    [](const auto& info) { return std::string(info.param.name); });

// A peer that streams a fixed amount from its own thread.
class Flood {
public:
    Flood(int port, std::size_t bytes) : port_(port), bytes_(bytes) {
        thread_ = CreateThread(nullptr, 0, &Flood::run, this, 0, nullptr);
    }
    ~Flood() {
        WaitForSingleObject(thread_, 120000);
        CloseHandle(thread_);
    }
    bool done() const { return done_; }
    std::atomic<std::size_t> sent{0};

private:
    static DWORD WINAPI run(void* self) {
        auto* flood = static_cast<Flood*>(self);
        TestClient client(flood->port_);
        const std::string chunk(1 << 20, 'F');
        while (flood->sent < flood->bytes_ && client.sendAll(chunk)) flood->sent += chunk.size();
        flood->done_ = true;
        return 0;
    }
    int port_;
    std::size_t bytes_;
    HANDLE thread_;
    std::atomic<bool> done_{false};
};

TEST_F(AbuseTest, SixtyFourMebibytesToEachPortWhileScansKeepArriving) {
    const std::size_t size = std::size_t(64) << 20;
    {
        Flood scans(ScanPort, size), drain(DrainPort, size);
        int sentScans = 0;
        ASSERT_TRUE(waitUntil([&] {
            sendScan(ScanPort, "DURING-" + std::to_string(sentScans++));
            DWORD_PTR ignored;
            // The window keeps answering all the while.
            EXPECT_TRUE(SendMessageTimeoutW(program().mainWindow(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, &ignored));
            return scans.done() && drain.done();
        }, 120000));
        EXPECT_EQ(scans.sent, size);
        EXPECT_EQ(drain.sent, size);
    }
    SIZE_T listed = 0;
    for (const auto& item : program().history()) listed += item.size() * 2;
    expectRecovered(listed * 2);
}

}  // namespace

// Settings files and start-up conditions: each test starts its own program.
namespace {

class StartupAbuse : public testing::Test {
protected:
    void SetUp() override {
        startSockets();
        ASSERT_TRUE(waitUntil([] { return portIsFree(ScanPort) && portIsFree(DrainPort); }, 20000));
    }
};

struct SettingsCase {
    const char* name;
    std::string content;
    std::wstring portA, count;
    bool enter;
    std::string typed;  // what a scan of "S" types into a focused edit
};
void PrintTo(const SettingsCase& c, std::ostream* out) { *out << c.name; }

class SettingsFiles : public StartupAbuse, public testing::WithParamInterface<SettingsCase> {};

TEST_P(SettingsFiles, StartAndShowWhatTheRulesSayWithoutRewritingTheFile) {
    const SettingsCase& c = GetParam();
    Program program(c.content);
    ASSERT_TRUE(program.started());
    const std::wstring portA = windowTextOf(program.control(PortABox.x, PortABox.y));
    EXPECT_EQ(portA.size(), c.portA.size());
    EXPECT_TRUE(portA == c.portA) << "PortA shows other text";
    EXPECT_EQ(windowTextOf(program.control(CountBox.x, CountBox.y)), c.count);
    EXPECT_EQ(isChecked(program.control(EnterRadio.x, EnterRadio.y)), c.enter);
    EXPECT_EQ(isChecked(program.control(TabRadio.x, TabRadio.y)), !c.enter);
    FocusedEdit target;
    ASSERT_TRUE(target.takeFocus());
    ASSERT_TRUE(sendScan(ScanPort, "S"));
    EXPECT_TRUE(waitUntil([&] { return target.text() == c.typed; })) << target.text();
    EXPECT_EQ(readFile(program.folder().file("WLconfig.ini")), c.content);
}

INSTANTIATE_TEST_SUITE_P(Table, SettingsFiles, testing::Values(
    SettingsCase{"binary_garbage", std::string("\x00\xFF\xFE[data\x01\r\n\x80=\x81\x00", 14), L"", L"", false, "S"},
    SettingsCase{"a_mebibyte_line", "[data]\r\nPortA=" + std::string(1 << 20, '9') + "\r\nNumber=1\r\nButton=0",
                 std::wstring(10239, L'9'), L"1", true, "S\r\n"},
    SettingsCase{"keys_repeated", "[data]\r\nNumber=2\r\nNumber=3\r\nButton=0\r\nButton=1", L"", L"2", true,
                 "S\r\n\r\n"},
    SettingsCase{"keys_in_another_case", "[DATA]\r\nporta=7\r\nNUMBER=1\r\nbutton=0", L"7", L"1", true, "S\r\n"},
    SettingsCase{"number_minus_one", "[data]\r\nNumber=-1\r\nButton=0", L"", L"-1", true, "S"},
    SettingsCase{"number_full_width", "[data]\r\nNumber=\xA3\xB2\r\nButton=0", L"", L"\xFF12", true, "S\r\n\r\n"},
    SettingsCase{"number_low_bits_one", "[data]\r\nNumber=4294967297\r\nButton=1", L"", L"4294967297", false,
                 "S\t"},
    // Two thousand million presses would hold the program for hours: bounded.
    SettingsCase{"number_in_the_billions", "[data]\r\nNumber=2147483647\r\nButton=1", L"", L"2147483647", false,
                 "S" + std::string(1000, '\t')}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(StartupAbuse, ADirectoryNamedLikeTheFileReadsEveryKeyEmpty) {
    Program program(std::nullopt);
    // The program created its file; replace it with a directory and start again.
    ASSERT_TRUE(program.started());
    const std::string folder = program.folder().path();
    ASSERT_TRUE(DeleteFileA(program.folder().file("WLconfig.ini").c_str()) ||
                !fileExists(program.folder().file("WLconfig.ini")));
    ASSERT_TRUE(CreateDirectoryA(program.folder().file("WLconfig.ini").c_str(), nullptr));
    auto second = Program::startIn(folder);  // finds its ports taken: that is fine here
    ASSERT_TRUE(second->started());
    EXPECT_EQ(windowTextOf(second->control(CountBox.x, CountBox.y)), L"");
    EXPECT_TRUE(isChecked(second->control(TabRadio.x, TabRadio.y)));
    EXPECT_TRUE(GetFileAttributesA(program.folder().file("WLconfig.ini").c_str()) & FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(StartupAbuse, AFolderWhereTheFileCannotBeCreated) {
    // Prepared from outside by the test run: the program stands in a folder
    // that nobody, root included, may write to.
    const char* folder = std::getenv("WENLO_READONLY_FOLDER");
    if (!folder || !*folder || !fileExists(folder)) GTEST_SKIP() << "no read-only folder was prepared";
    auto program = Program::startIn(folder);
    ASSERT_TRUE(program->started());
    EXPECT_FALSE(fileExists(std::string(folder) + "\\WLconfig.ini"));
    EXPECT_EQ(windowTextOf(program->control(CountBox.x, CountBox.y)), L"");
    EXPECT_EQ(windowTextOf(program->control(PortABox.x, PortABox.y)), L"");
    EXPECT_TRUE(isChecked(program->control(TabRadio.x, TabRadio.y)));
    EXPECT_TRUE(program->scanUntilListed("STILL-SCANS"));
}

TEST_F(StartupAbuse, APortTakenByAnotherProgramAtStart) {
    const SocketHandle taken = takePort(ScanPort);
    ASSERT_TRUE(taken);
    Program program;
    ASSERT_TRUE(program.started());
    EXPECT_FALSE(program.findWindow("#32770")) << "no message box at a taken port";
    TestClient drain(DrainPort);
    ASSERT_TRUE(drain.connected());
    EXPECT_TRUE(drain.sendAll(std::string(16 << 20, 'd')));  // read and discarded
}

TEST_F(StartupAbuse, ASecondInstanceFindsItsPortsTakenAndTheFirstKeepsWorking) {
    Program first;
    ASSERT_TRUE(first.started());
    Program second;
    ASSERT_TRUE(second.started());
    EXPECT_FALSE(second.findWindow("#32770"));
    EXPECT_TRUE(first.scanUntilListed("TO-THE-FIRST"));
    EXPECT_TRUE(second.history().empty());
    EXPECT_TRUE(second.running());
}

}  // namespace
