// The listeners with real sockets on 127.0.0.1.
#include <gtest/gtest.h>

#include <atomic>
#include <regex>

#include "net/LocalAddressList.h"
#include "net/TcpListener.h"
#include "tests/support/WineTestSupport.h"

namespace {

// Ports of these tests only; the program's own are left alone.
constexpr int PortA = 46223;
constexpr int PortB = 46224;

struct Event {
    char kind;  // E entered, D data, L left
    std::string address;
    std::string bytes;
};

class Recorder {
public:
    void attach(TcpListener& listener) {
        listener.bind({
            .onClientEntered = [this](const Text& a) { events.push_back({'E', a, {}}); },
            .onDataArrived = [this](std::string_view b, const Text& a) { events.push_back({'D', a, std::string(b)}); },
            .onClientLeft = [this](const Text& a) { events.push_back({'L', a, {}}); },
        });
    }
    std::string dataFrom(const std::string& address) const {
        std::string all;
        for (const Event& e : events)
            if (e.kind == 'D' && e.address == address) all += e.bytes;
        return all;
    }
    bool has(char kind, const std::string& address) const {
        for (const Event& e : events)
            if (e.kind == kind && e.address == address) return true;
        return false;
    }
    std::string kindsFor(const std::string& address) const {
        std::string kinds;
        for (const Event& e : events)
            if (e.address == address && (kinds.empty() || kinds.back() != e.kind || e.kind != 'D')) kinds += e.kind;
        return kinds;
    }
    std::vector<Event> events;
};

std::string addressOf(const TestClient& client) { return "127.0.0.1:" + std::to_string(client.localPort()); }

class Listener : public testing::Test {
protected:
    void SetUp() override { startSockets(); }
    TcpListener listener{PortA};
    Recorder recorder;
};

TEST_F(Listener, RaisesEnteredBeforeTheDataOfAClientThatSendsAtOnce) {
    ASSERT_TRUE(listener.listening());
    recorder.attach(listener);
    TestClient client(PortA);
    ASSERT_TRUE(client.connected());
    ASSERT_TRUE(client.sendAll("6901234567892"));
    const std::string address = addressOf(client);
    ASSERT_TRUE(waitUntil([&] { return recorder.dataFrom(address) == "6901234567892"; }));
    EXPECT_EQ(recorder.kindsFor(address), "ED");
    EXPECT_EQ(listener.clientCount(), 1u);
}

TEST_F(Listener, RaisesTheDataThenLeftForAClientThatSendsAndCloses) {
    recorder.attach(listener);
    for (const std::size_t size : {std::size_t(13), std::size_t(3) << 20}) {
        std::string payload(size, '\0');
        for (std::size_t i = 0; i < size; ++i) payload[i] = static_cast<char>('a' + i % 26);
        TestClient client(PortA);
        const std::string address = addressOf(client);
        ASSERT_TRUE(client.sendAll(payload));
        client.close();
        ASSERT_TRUE(waitUntil([&] { return recorder.has('L', address); })) << size;
        EXPECT_EQ(recorder.dataFrom(address), payload) << "bytes sent before the close were lost";
        EXPECT_EQ(recorder.kindsFor(address), "EDL");
    }
    EXPECT_EQ(listener.clientCount(), 0u);
}

TEST_F(Listener, HandsOverZeroBytesAndKeepsClientsApart) {
    recorder.attach(listener);
    TestClient first(PortA), second(PortA);
    const std::string one("a\0b\0", 4), two(200000, 'z');
    for (int round = 0; round < 20; ++round) {
        ASSERT_TRUE(first.sendAll(one));
        ASSERT_TRUE(second.sendAll(two.substr(0, 10000)));
    }
    const std::string a = addressOf(first), b = addressOf(second);
    std::string expectedA;
    for (int round = 0; round < 20; ++round) expectedA += one;
    ASSERT_TRUE(waitUntil([&] { return recorder.dataFrom(a) == expectedA && recorder.dataFrom(b).size() == 200000; }));
    for (const Event& e : recorder.events) {
        if (e.kind != 'D') continue;
        const char own = e.address == a ? 'a' : 'z';
        EXPECT_EQ(e.bytes.find(e.address == a ? 'z' : 'a'), std::string::npos) << "bytes of two clients mixed";
        EXPECT_NE(e.bytes.find(own), std::string::npos);
    }
}

TEST_F(Listener, AScanSentInTwoPartsArrivesAsTwoArrivalsInOrder) {
    recorder.attach(listener);
    TestClient client(PortA);
    const std::string address = addressOf(client);
    ASSERT_TRUE(client.sendAll("69012"));
    ASSERT_TRUE(waitUntil([&] { return recorder.dataFrom(address) == "69012"; }));
    ASSERT_TRUE(client.sendAll("34567892"));
    ASSERT_TRUE(waitUntil([&] { return recorder.dataFrom(address) == "6901234567892"; }));
    std::vector<std::string> arrivals;
    for (const Event& e : recorder.events)
        if (e.kind == 'D') arrivals.push_back(e.bytes);
    EXPECT_EQ(arrivals, (std::vector<std::string>{"69012", "34567892"}));
}

TEST_F(Listener, EventsBeforeBindingAreDropped) {
    TestClient client(PortA);
    ASSERT_TRUE(client.sendAll("early"));
    ASSERT_TRUE(waitUntil([&] { return listener.clientCount() == 1; }));
    recorder.attach(listener);
    ASSERT_TRUE(client.sendAll("late"));
    const std::string address = addressOf(client);
    ASSERT_TRUE(waitUntil([&] { return recorder.dataFrom(address).find("late") != std::string::npos; }));
    EXPECT_FALSE(recorder.has('E', address));
}

// A peer that streams without pause from its own thread.
class Streamer {
public:
    Streamer(int port, DWORD milliseconds) : port_(port), milliseconds_(milliseconds) {
        thread_ = CreateThread(nullptr, 0, &Streamer::run, this, 0, nullptr);
    }
    ~Streamer() {
        stop_ = true;
        WaitForSingleObject(thread_, 30000);
        CloseHandle(thread_);
    }
    std::atomic<long long> sent{0};

private:
    static DWORD WINAPI run(void* self) {
        auto* s = static_cast<Streamer*>(self);
        TestClient client(s->port_);
        const std::string chunk(256 * 1024, 'S');
        const ULONGLONG until = GetTickCount64() + s->milliseconds_;
        while (!s->stop_ && GetTickCount64() < until && client.sendAll(chunk)) s->sent += chunk.size();
        return 0;
    }
    int port_;
    DWORD milliseconds_;
    HANDLE thread_;
    std::atomic<bool> stop_{false};
};

TEST(ListenerUnderLoad, AStreamingPeerDoesNotHoldUpOtherClientsOrTheWindowThread) {
    startSockets();
    TcpListener scans(PortA), drain(PortB);
    Recorder recorder, drained;
    recorder.attach(scans);
    drained.attach(drain);
    const DWORD streamMs = 8000;
    Streamer toScans(PortA, streamMs), toDrain(PortB, streamMs);
    ASSERT_TRUE(waitUntil([&] { return toScans.sent > (1 << 20) && toDrain.sent > (1 << 20); }));

    // While both stream, this thread keeps getting its messages served, and a
    // new client on each listener is accepted and its bytes raised long before
    // the streams end (a handler that read until the stream paused would not
    // return before then).
    const ULONGLONG start = GetTickCount64();
    TestClient late(PortA), lateDrain(PortB);
    ASSERT_TRUE(late.sendAll("after-the-stream-began"));
    ASSERT_TRUE(lateDrain.sendAll("drain"));
    const std::string address = addressOf(late), drainAddress = addressOf(lateDrain);
    EXPECT_TRUE(waitUntil([&] {
        return recorder.dataFrom(address) == "after-the-stream-began" && drained.dataFrom(drainAddress) == "drain";
    }, streamMs / 2));
    EXPECT_LT(GetTickCount64() - start, streamMs / 2);
}

TEST(ListenerPorts, APortTakenAtCreationLeavesThatListenerSilentAndTheOtherWorking) {
    const SocketHandle taken = takePort(PortA);
    ASSERT_TRUE(taken);
    TcpListener blocked(PortA), other(PortB);
    EXPECT_FALSE(blocked.listening());
    EXPECT_TRUE(other.listening());
    Recorder recorder;
    recorder.attach(other);
    TestClient client(PortB);
    ASSERT_TRUE(client.sendAll("x"));
    EXPECT_TRUE(waitUntil([&] { return recorder.dataFrom(addressOf(client)) == "x"; }));
}

TEST(ListenerPorts, DestructionClosesEveryClientWithoutLeftAndFreesThePort) {
    startSockets();
    Recorder recorder;
    std::vector<std::unique_ptr<TestClient>> clients;
    {
        TcpListener listener(PortA);
        recorder.attach(listener);
        for (int i = 0; i < 5; ++i) clients.push_back(std::make_unique<TestClient>(PortA));
        ASSERT_TRUE(waitUntil([&] { return listener.clientCount() == 5; }));
        recorder.events.clear();
    }
    for (auto& client : clients) EXPECT_TRUE(client->waitForPeerClose());
    EXPECT_TRUE(recorder.events.empty());
    EXPECT_TRUE(portIsFree(PortA));
    TcpListener again(PortA);
    EXPECT_TRUE(again.listening());
}

TEST(ListenerClients, AResetInTheMiddleOfASendRemovesTheClient) {
    startSockets();
    TcpListener listener(PortA);
    Recorder recorder;
    recorder.attach(listener);
    TestClient client(PortA);
    const std::string address = addressOf(client);
    ASSERT_TRUE(waitUntil([&] { return recorder.has('E', address); }));
    ASSERT_TRUE(client.sendAll(std::string(100000, 'r')));
    client.reset();
    EXPECT_TRUE(waitUntil([&] { return recorder.has('L', address); }));
    EXPECT_EQ(listener.clientCount(), 0u);
}

TEST(LocalAddresses, AreDottedQuadsInTheResolversOrderAtMostTen) {
    startSockets();
    const TextArray addresses = LocalAddressList();
    EXPECT_LE(addresses.size(), 10u);
    const std::regex dottedQuad(R"((\d{1,3})\.(\d{1,3})\.(\d{1,3})\.(\d{1,3}))");
    for (const Text& address : addresses) EXPECT_TRUE(std::regex_match(address, dottedQuad)) << address;
    char name[256] = {};
    ASSERT_EQ(gethostname(name, sizeof name), 0);
    if (const hostent* host = gethostbyname(name); host && host->h_addr_list[0]) {
        ASSERT_FALSE(addresses.empty());
        EXPECT_EQ(addresses.front(), inet_ntoa(*reinterpret_cast<in_addr*>(host->h_addr_list[0])));
    }
}

}  // namespace
