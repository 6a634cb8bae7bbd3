#pragma once
// A TCP listener on one fixed port on every local IPv4 interface.  It accepts
// any number of clients, reads what they send and raises three events; it
// never sends and never closes a registered client on its own.  Readiness
// arrives as window messages (WSAAsyncSelect), so everything runs on the
// window thread and no call waits for the network.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "../app/Text.h"
#include "../app/WinHandles.h"
#include "ReadBuffer.h"

class TcpListener {
public:
    struct Handlers {
        std::function<void(const Text& clientAddress)> onClientEntered;
        // The bytes belong to the listener and are valid only during the call.
        std::function<void(std::string_view bytes, const Text& clientAddress)> onDataArrived;
        std::function<void(const Text& clientAddress)> onClientLeft;
    };

    explicit TcpListener(int32_t port);
    ~TcpListener();
    TcpListener(const TcpListener&) = delete;
    TcpListener& operator=(const TcpListener&) = delete;

    // Until handlers are bound, events are dropped.
    void bind(Handlers handlers) { handlers_ = std::move(handlers); }
    bool listening() const { return listenSocket_.get() != INVALID_SOCKET; }
    std::size_t clientCount() const { return clients_.size(); }

private:
    struct ClientEntry {
        SocketHandle socket;
        Text address;
    };

    static LRESULT CALLBACK notificationProc(HWND, UINT, WPARAM, LPARAM);
    bool startListening();
    void closeSocket(SocketHandle& socket);
    void onAcceptReady();
    void onClientReady(SOCKET socket, WORD event);
    void onClientData(SOCKET socket);
    void onClientClosed(SOCKET socket);
    std::vector<ClientEntry>::iterator findClient(SOCKET socket);
    std::size_t readPending(SOCKET socket, std::size_t offset);

    bool socketsReady_ = false;
    int32_t port_;
    SocketHandle listenSocket_;
    std::vector<ClientEntry> clients_;
    WindowHandle window_;  // receives the readiness notifications
    ReadBuffer buffer_;
    Handlers handlers_;
};
