// Measures the program against the floor (the least code that does the same
// job) and the empty window program, side by side in one run, and prints
// the figures as a Markdown table.
//   bench.exe [SCANS_FOR_MEMORY]
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/WineTestSupport.h"
// After <windows.h>, which they need.
#include <psapi.h>
#include <tlhelp32.h>

namespace {

constexpr int ScanPort = 1223;
constexpr int DrainPort = 1224;

double nowMs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void pause(DWORD ms) { waitUntil([] { return false; }, ms); }  // pacing, not synchronisation

std::string binDirectory() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string directory(path);
    return directory.substr(0, directory.rfind('\\'));
}

struct Summary {
    double median = 0, p99 = 0, low = 0, high = 0;
};

Summary summarise(std::vector<double> values) {
    Summary s;
    if (values.empty()) return s;
    std::sort(values.begin(), values.end());
    s.median = values[values.size() / 2];
    s.p99 = values[std::min(values.size() - 1, values.size() * 99 / 100)];
    s.low = values.front();
    s.high = values.back();
    return s;
}

// One of the programs under measure, started from a fresh folder.
class Launched {
public:
    Launched(const std::string& exe, const std::string& arguments = "") {
        const std::string copy = folder_.file(exe);
        CopyFileA((binDirectory() + "\\" + exe).c_str(), copy.c_str(), FALSE);
        std::string commandLine = "\"" + copy + "\" " + arguments;
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        startedAt = nowMs();
        CreateProcessA(copy.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder_.path().c_str(),
                       &startup, &process_);
    }
    ~Launched() {
        TerminateProcess(process_.hProcess, 0);
        WaitForSingleObject(process_.hProcess, 20000);
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
        // The ports must be free again before the next one starts.
        waitUntil([] { return portIsFree(ScanPort) && portIsFree(DrainPort); }, 20000);
    }
    // Its visible top-level window; polled closely, for the start-up time.
    HWND waitForWindow() {
        HWND found = nullptr;
        const double deadline = nowMs() + 30000;
        while (!found && nowMs() < deadline) {
            found = visibleWindow();
            if (!found) Sleep(1);
        }
        visibleAt = nowMs();
        return found;
    }
    HWND visibleWindow() const {
        Search search{process_.dwProcessId, nullptr};
        EnumWindows(&Launched::visibleOf, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }
    PROCESS_MEMORY_COUNTERS_EX memory() const {
        PROCESS_MEMORY_COUNTERS_EX counters = {};
        counters.cb = sizeof counters;
        GetProcessMemoryInfo(process_.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
        // Wine leaves PrivateUsage at 0; the commit charge is its nearest figure.
        if (!counters.PrivateUsage) counters.PrivateUsage = counters.PagefileUsage;
        return counters;
    }
    double cpuMs() const {
        FILETIME created, exited, kernel, user;
        GetProcessTimes(process_.hProcess, &created, &exited, &kernel, &user);
        const auto value = [](FILETIME t) { return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
        return static_cast<double>(value(kernel) + value(user)) / 10000.0;
    }
    int threads() const {
        int count = 0;
        const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
        THREADENTRY32 entry = {};
        entry.dwSize = sizeof entry;
        for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
            if (entry.th32OwnerProcessID == process_.dwProcessId) ++count;
        CloseHandle(snapshot);
        return count;
    }
    double startedAt = 0, visibleAt = 0;

private:
    struct Search {
        DWORD pid;
        HWND found;
    };
    static BOOL CALLBACK visibleOf(HWND window, LPARAM search) {
        auto* s = reinterpret_cast<Search*>(search);
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        if (pid == s->pid && IsWindowVisible(window) && !GetWindow(window, GW_OWNER)) {
            s->found = window;
            return FALSE;
        }
        return TRUE;
    }

    TempFolder folder_;
    PROCESS_INFORMATION process_ = {};
};

// A focused window of the benchmark's own that notes when each Enter arrives.
class EnterSink {
public:
    bool takeFocus() { return window_.takeFocus(); }
    long enters = 0;
    double lastEnterAt = 0;

private:
    KeyWindow window_{[this](UINT message, WPARAM key) {
        if (message == WM_KEYDOWN && key == VK_RETURN) {
            lastEnterAt = nowMs();
            ++enters;
        }
    }};
};

// A peer that streams from its own thread until told to stop.
class Stream {
public:
    explicit Stream(int port) : port_(port) { thread_ = CreateThread(nullptr, 0, &Stream::run, this, 0, nullptr); }
    ~Stream() {
        stop_ = true;
        WaitForSingleObject(thread_, 30000);
        CloseHandle(thread_);
    }

private:
    static DWORD WINAPI run(void* self) {
        auto* s = static_cast<Stream*>(self);
        TestClient client(s->port_);
        const std::string chunk(64 * 1024, 'S');
        while (!s->stop_ && client.sendAll(chunk)) {
        }
        return 0;
    }
    int port_;
    HANDLE thread_;
    std::atomic<bool> stop_{false};
};

// A client of a program that may not be listening yet: its window can show
// before its socket listens.
std::unique_ptr<TestClient> connectWhenListening(int port) {
    std::unique_ptr<TestClient> client;
    waitUntil([&] {
        client = std::make_unique<TestClient>(port);
        return client->connected();
    }, 20000);
    return client;
}

struct Row {
    std::string figure, unit;
    double program, floor;  // floor < 0: no floor for this figure
    std::string note;
};

std::vector<Row> rows;

void report(const std::string& figure, const std::string& unit, double program, double floor,
            const std::string& note = "") {
    rows.push_back({figure, unit, program, floor, note});
    std::fprintf(stderr, "  %s: %.3f vs %.3f %s\n", figure.c_str(), program, floor, unit.c_str());
}

std::string spread(const Summary& s) {
    char text[96];
    std::snprintf(text, sizeof text, "range %.2f-%.2f", s.low, s.high);
    return text;
}

// --- the figures ---------------------------------------------------------

Summary scanLatency(const std::string& exe, const std::string& arguments, int scans) {
    Launched target(exe, arguments);
    const HWND window = target.waitForWindow();
    if (GetEnvironmentVariableA("BENCH_MINIMISED", nullptr, 0)) {
        PostMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        waitUntil([&] { return !IsWindowVisible(window); });
    }
    EnterSink sink;
    sink.takeFocus();
    const auto phone = connectWhenListening(ScanPort);
    std::vector<double> latencies;
    for (int i = 0; i < scans; ++i) {
        const long before = sink.enters;
        const std::string code = "69012345" + std::to_string(10000 + i);
        const double sentAt = nowMs();
        phone->sendAll(code);
        if (waitUntil([&] { return sink.enters > before; }, 5000)) latencies.push_back(sink.lastEnterAt - sentAt);
        pause(350);  // outside the suppression window
    }
    return summarise(latencies);
}

double drainRate(const std::string& exe, const std::string& arguments, int port, std::size_t bytes) {
    Launched target(exe, arguments);
    target.waitForWindow();
    const auto client = connectWhenListening(port);
    const std::string chunk(1 << 20, 'D');
    const double start = nowMs();
    for (std::size_t sent = 0; sent < bytes; sent += chunk.size())
        if (!client->sendAll(chunk)) return 0;
    const double seconds = (nowMs() - start) / 1000.0;
    return static_cast<double>(bytes) / (1 << 20) / seconds;
}

std::vector<double> singleSendTimes(const std::string& exe, const std::string& arguments,
                                    const std::vector<std::size_t>& sizes) {
    Launched target(exe, arguments);
    target.waitForWindow();
    EnterSink sink;
    sink.takeFocus();
    connectWhenListening(ScanPort);
    std::vector<double> times;
    for (std::size_t size : sizes) {
        std::vector<double> runs;
        for (int run = 0; run < 3; ++run) {
            TestClient client(ScanPort);
            const long before = sink.enters;
            const std::string bytes(size, 'B');
            const double start = nowMs();
            client.sendAll(bytes);
            waitUntil([&] { return sink.enters > before; }, 30000);
            runs.push_back(std::max(nowMs(), sink.lastEnterAt) - start);
            client.close();
            pause(400);
            pumpMessages();
        }
        times.push_back(summarise(runs).median);
    }
    return times;
}

double manyPhones(const std::string& exe, const std::string& arguments, bool isProgram, int phones) {
    Launched target(exe, arguments);
    const HWND window = target.waitForWindow();
    EnterSink sink;
    sink.takeFocus();
    connectWhenListening(ScanPort).reset();
    std::vector<std::unique_ptr<TestClient>> clients;
    const double start = nowMs();
    for (int i = 0; i < phones; ++i) {
        clients.push_back(std::make_unique<TestClient>(ScanPort));
        clients.back()->sendAll("PHONE-" + std::to_string(i));
    }
    std::wstring expected;
    if (isProgram) {
        expected = L"127.0.0.1:" + std::to_wstring(clients.back()->localPort());
    } else {
        expected = std::to_wstring(phones);
    }
    // The program shows the last client in its label; the floor counts
    // accepted connections in its title.
    HWND label = window;
    if (isProgram) {
        for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            RECT r;
            GetWindowRect(child, &r);
            POINT p = {r.left, r.top};
            ScreenToClient(window, &p);
            if (p.x == 80 && p.y == 96) label = child;
        }
    }
    waitUntil([&] {
        wchar_t text[64] = {};
        DWORD_PTR length = 0;
        SendMessageTimeoutW(label, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, &length);
        return expected == text;
    }, 60000);
    return nowMs() - start;
}

Summary responsiveness(const std::string& exe, const std::string& arguments, const std::vector<int>& ports) {
    Launched target(exe, arguments);
    const HWND window = target.waitForWindow();
    EnterSink sink;
    sink.takeFocus();
    for (int port : ports) connectWhenListening(port);
    std::vector<std::unique_ptr<Stream>> streams;
    for (int port : ports) streams.push_back(std::make_unique<Stream>(port));
    pause(500);
    std::vector<double> replies;
    const double until = nowMs() + 5000;
    while (nowMs() < until) {
        DWORD_PTR ignored;
        const double start = nowMs();
        SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored);
        replies.push_back(nowMs() - start);
        pause(5);
    }
    streams.clear();
    return summarise(replies);
}

Summary startUp(const std::string& exe, int runs) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        Launched target(exe);
        target.waitForWindow();
        times.push_back(target.visibleAt - target.startedAt);
    }
    return summarise(times);
}

struct MemoryFigures {
    double privateStart, workingStart, privateAfter, workingAfter, historyBytes;
};

MemoryFigures memory(const std::string& exe, int scans) {
    Launched target(exe);
    target.waitForWindow();
    pause(1000);  // let start-up settle
    const auto start = target.memory();
    MemoryFigures figures{};
    figures.privateStart = static_cast<double>(start.PrivateUsage);
    figures.workingStart = static_cast<double>(start.WorkingSetSize);
    if (scans > 0) {
        EnterSink sink;
        sink.takeFocus();
        const auto phone = connectWhenListening(ScanPort);
        for (int i = 0; i < scans; ++i) {
            const long before = sink.enters;
            const std::string code = "6901234" + std::to_string(100000 + i);
            figures.historyBytes += static_cast<double>(code.size());
            phone->sendAll(code);
            waitUntil([&] { return sink.enters > before; }, 5000);
            pause(310);
        }
        pause(1000);
        const auto after = target.memory();
        figures.privateAfter = static_cast<double>(after.PrivateUsage);
        figures.workingAfter = static_cast<double>(after.WorkingSetSize);
    }
    return figures;
}

struct IdleFigures {
    double cpuMs;
    int threads;
};

IdleFigures idle(const std::string& exe) {
    Launched target(exe);
    target.waitForWindow();
    pause(2000);
    const double before = target.cpuMs();
    pause(10000);
    return {target.cpuMs() - before, target.threads()};
}

double fileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return static_cast<double>(data.nFileSizeLow) / 1024.0;
}

}  // namespace

int main(int argc, char** argv) {
    // bench.exe --startup EXE...: only the start-up time of each, for profiling.
    if (argc > 2 && std::string(argv[1]) == "--startup") {
        for (int i = 2; i < argc; ++i) {
            const Summary s = startUp(argv[i], 15);
            std::printf("%s: median %.1f ms (%s)\n", argv[i], s.median, spread(s).c_str());
        }
        return 0;
    }
    const int memoryScans = argc > 1 ? std::atoi(argv[1]) : 1000;
    const char* shippedExe = argc > 2 ? argv[2] : "";
    // A third argument names the one figure to measure (latency, drain, ...).
    const std::string only = argc > 3 ? argv[3] : "";
    const auto wanted = [&](const char* figure) { return only.empty() || only == figure; };
    startSockets();
    const std::string program = "WenloScanner.exe", floor = "floor.exe", empty = "empty_window.exe";

    if (wanted("latency")) {
    std::fprintf(stderr, "scan latency\n");
        const Summary latencyProgram = scanLatency(program, "", 200), latencyFloor = scanLatency(floor, "1223", 200);
        report("scan latency, median", "ms", latencyProgram.median, latencyFloor.median,
               "program " + spread(latencyProgram) + "; floor " + spread(latencyFloor));
        report("scan latency, 99th percentile", "ms", latencyProgram.p99, latencyFloor.p99, "200 scans each");
        // The same with the program's window hidden in the tray: no history
        // list to repaint after each scan.
        SetEnvironmentVariableA("BENCH_MINIMISED", "1");
        const Summary latencyHidden = scanLatency(program, "", 200);
        SetEnvironmentVariableA("BENCH_MINIMISED", nullptr);
        report("scan latency, median, program hidden in the tray", "ms", latencyHidden.median, latencyFloor.median,
               "program " + spread(latencyHidden));

    
    }

    if (wanted("drain")) {
    std::fprintf(stderr, "drain\n");
        std::vector<double> drainProgram, drainFloor;
        for (int run = 0; run < 3; ++run) {
            drainProgram.push_back(drainRate(program, "", DrainPort, std::size_t(256) << 20));
            drainFloor.push_back(drainRate(floor, "1224 --drain", DrainPort, std::size_t(256) << 20));
        }
        const Summary dp = summarise(drainProgram), df = summarise(drainFloor);
        report("drain of 256 MiB on port 1224", "MiB/s", dp.median, df.median,
               "median of 3; program " + spread(dp) + "; floor " + spread(df));

    
    }

    if (wanted("sends")) {
    std::fprintf(stderr, "single sends\n");
        const std::vector<std::size_t> sizes = {1 << 20, 4 << 20, 16 << 20};
        const auto sendProgram = singleSendTimes(program, "", sizes), sendFloor = singleSendTimes(floor, "1223", sizes);
        for (std::size_t i = 0; i < sizes.size(); ++i)
            report("one send of " + std::to_string(sizes[i] >> 20) + " MiB to port 1223, handled", "ms", sendProgram[i],
                   sendFloor[i], "until read and the first Enter typed; median of 3");

    
    }

    if (wanted("phones")) {
    std::fprintf(stderr, "many phones\n");
        report("1,000 phones connect and send", "ms", manyPhones(program, "", true, 1000),
               manyPhones(floor, "1223", false, 1000), "until the last one is shown");

    
    }

    if (wanted("responsiveness")) {
    std::fprintf(stderr, "responsiveness\n");
        const Summary rp = responsiveness(program, "", {ScanPort, DrainPort});
        const Summary rf = responsiveness(floor, "1223", {ScanPort});
        report("WM_NULL reply while both ports stream, 99th percentile", "ms", rp.p99, rf.p99,
               "median " + std::to_string(rp.median).substr(0, 5) + " ms; floor streams on its one port");

    
    }

    if (wanted("startup")) {
    std::fprintf(stderr, "start-up\n");
        const Summary sp = startUp(program, 10), se = startUp(empty, 10);
        report("start-up to the window visible", "ms", sp.median, se.median,
               "against the empty window program; median of 10; program " + spread(sp) + "; empty " + spread(se));

    
    }

    if (wanted("memory")) {
    std::fprintf(stderr, "memory\n");
        const MemoryFigures mp = memory(program, memoryScans), me = memory(empty, 0);
        report("private bytes after start-up", "KiB", mp.privateStart / 1024, me.privateStart / 1024,
               "against the empty window program");
        report("working set after start-up", "KiB", mp.workingStart / 1024, me.workingStart / 1024,
               "against the empty window program");
        report("private bytes after " + std::to_string(memoryScans) + " handled scans", "KiB", mp.privateAfter / 1024, -1,
               "growth " + std::to_string(static_cast<long>((mp.privateAfter - mp.privateStart) / 1024)) +
                   " KiB; the codes themselves: " + std::to_string(static_cast<long>(mp.historyBytes / 1024)) + " KiB");
        report("working set after " + std::to_string(memoryScans) + " handled scans", "KiB", mp.workingAfter / 1024, -1);

    
    }

    if (wanted("idle")) {
    std::fprintf(stderr, "idle\n");
        const IdleFigures ip = idle(program), ie = idle(empty);
        report("CPU time over 10 s idle", "ms", ip.cpuMs, ie.cpuMs, "against the empty window program");
        report("threads while idle", "", ip.threads, ie.threads, "Wine's own service threads included");

    
    }

    report(".exe size (this build)", "KiB", fileSize(binDirectory() + "\\" + program), fileSize(binDirectory() + "\\" + floor));
    if (*shippedExe) report(".exe size (shipped 32-bit program)", "KiB", fileSize(shippedExe), -1);

    std::printf("| Figure | Program | Floor | Ratio | Notes |\n|---|---:|---:|---:|---|\n");
    for (const Row& row : rows) {
        char program[48], floorText[48] = "", ratio[32] = "";
        std::snprintf(program, sizeof program, "%.2f %s", row.program, row.unit.c_str());
        if (row.floor >= 0) {
            std::snprintf(floorText, sizeof floorText, "%.2f %s", row.floor, row.unit.c_str());
            if (row.floor > 0) std::snprintf(ratio, sizeof ratio, "%.2f", row.program / row.floor);
        }
        std::printf("| %s | %s | %s | %s | %s |\n", row.figure.c_str(), program, floorText, ratio, row.note.c_str());
    }
    return 0;
}
