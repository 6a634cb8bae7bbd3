#include "TcpListener.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "../app/WindowClass.h"
#include "AddressText.h"

namespace {

constexpr UINT AcceptMessage = WM_APP + 0x79;
constexpr UINT ClientMessage = WM_APP + 0x78;
constexpr char NotificationClass[] = "TcpListenerNotification";

// Each data notification reads once, at least this much: the size that lets a
// stream drain as fast as a plain reader would, and a burst that has fully
// arrived is taken whole because the read is sized to what is pending.
constexpr std::size_t MinimumRead = 64 * 1024;

}  // namespace

TcpListener::TcpListener(int32_t port) : port_(port) {
    WSADATA data;
    socketsReady_ = WSAStartup(MAKEWORD(1, 1), &data) == 0;
    registerWindowClass(NotificationClass);
    window_.reset(CreateWindowExA(0, NotificationClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                  nullptr, GetModuleHandleA(nullptr), nullptr));
    if (window_) attachWindow(window_.get(), this, &TcpListener::notificationProc);
    startListening();
}

TcpListener::~TcpListener() {
    for (ClientEntry& client : clients_) closeSocket(client.socket);  // no onClientLeft
    clients_.clear();
    if (listening()) closeSocket(listenSocket_);
    if (socketsReady_) WSACleanup();
}

bool TcpListener::startListening() {
    if (!socketsReady_ || !window_) return false;
    if (listening()) closeSocket(listenSocket_);
    listenSocket_.reset(socket(AF_INET, SOCK_STREAM, 0));
    if (!listening()) return false;
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    address.sin_port = htons(static_cast<u_short>(port_ & 0xFFFF));
    const bool ok =
        ::bind(listenSocket_.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::listen(listenSocket_.get(), SOMAXCONN) == 0 &&
        WSAAsyncSelect(listenSocket_.get(), window_.get(), AcceptMessage, FD_ACCEPT) == 0;
    if (!ok) closeSocket(listenSocket_);
    return listening();
}

// The one way a socket is closed: first no more notifications, then closed.
void TcpListener::closeSocket(SocketHandle& socket) {
    if (!socket) return;
    WSAAsyncSelect(socket.get(), window_.get(), 0, 0);
    socket.reset();
}

LRESULT CALLBACK TcpListener::notificationProc(HWND window, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
    auto* self = windowOwner<TcpListener>(window);
    if (self && self->listening()) {
        if (message == AcceptMessage) {
            self->onAcceptReady();
            return 0;
        }
        if (message == ClientMessage) {
            self->onClientReady(static_cast<SOCKET>(wParam), WSAGETSELECTEVENT(lParam));
            return 0;
        }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void TcpListener::onAcceptReady() {
    char peer[80] = {};
    int peerLength = sizeof peer;
    SocketHandle client(accept(listenSocket_.get(), reinterpret_cast<sockaddr*>(peer), &peerLength));
    if (!client) return;
    sockaddr_in address = {};
    int addressLength = sizeof address;
    if (WSAAsyncSelect(client.get(), window_.get(), ClientMessage, FD_READ | FD_CLOSE) != 0 ||
        getpeername(client.get(), reinterpret_cast<sockaddr*>(&address), &addressLength) != 0 ||
        address.sin_family != AF_INET) {
        closeSocket(client);  // registration failed: no entry, no event
        return;
    }
    unsigned char ip[4];
    std::memcpy(ip, &address.sin_addr, sizeof ip);
    Text clientAddress = clientAddressText(ipv4Text(ip), ntohs(address.sin_port));
    clients_.push_back({std::move(client), clientAddress});
    if (handlers_.onClientEntered) handlers_.onClientEntered(clientAddress);
}

std::vector<TcpListener::ClientEntry>::iterator TcpListener::findClient(SOCKET socket) {
    return std::find_if(clients_.begin(), clients_.end(),
                        [socket](const ClientEntry& c) { return c.socket.get() == socket; });
}

void TcpListener::onClientReady(SOCKET socket, WORD event) {
    // A notification may still be queued for a socket that is closed by now,
    // and its number may already name another connection: only registered
    // sockets are served, and nothing is ever closed on a stale notification.
    if (findClient(socket) == clients_.end()) return;
    if (event == FD_CLOSE)
        onClientClosed(socket);
    else
        onClientData(socket);
}

// Reads once into the buffer at offset, sized to what is pending.  Returns the
// number of bytes read; 0 when the peer has closed, nothing is pending or the
// read failed.
std::size_t TcpListener::readPending(SOCKET socket, std::size_t offset) {
    u_long pending = 0;
    if (ioctlsocket(socket, FIONREAD, &pending) != 0) return 0;
    const std::size_t want = std::min<std::size_t>(std::max<std::size_t>(pending, MinimumRead), INT_MAX);
    const int got = recv(socket, buffer_.reserve(offset, want), static_cast<int>(want), 0);
    return got > 0 ? static_cast<std::size_t>(got) : 0;
}

// One recv per data notification: while bytes remain, Windows posts another
// notification, so a peer that streams without pause cannot hold the window
// thread, and other connections' notifications are served in between.
void TcpListener::onClientData(SOCKET socket) {
    const std::size_t got = readPending(socket, 0);
    if (got == 0) return;
    auto client = findClient(socket);
    if (client != clients_.end() && handlers_.onDataArrived) {
        const Text address = client->address;
        handlers_.onDataArrived(std::string_view(buffer_.data(), got), address);
    }
    buffer_.settle(got);
}

// The peer has closed, but what it sent last may still be unread: no further
// notification will come for it, so it is all read here, raised as one
// Arrival, and only then is the client removed.
void TcpListener::onClientClosed(SOCKET socket) {
    std::size_t total = 0;
    while (const std::size_t got = readPending(socket, total)) total += got;
    auto client = findClient(socket);
    if (total > 0 && client != clients_.end() && handlers_.onDataArrived) {
        const Text address = client->address;
        handlers_.onDataArrived(std::string_view(buffer_.data(), total), address);
        client = findClient(socket);
    }
    buffer_.settle(total);
    if (client == clients_.end()) return;
    ClientEntry leaving = std::move(*client);
    clients_.erase(client);
    if (handlers_.onClientLeft) handlers_.onClientLeft(leaving.address);
    closeSocket(leaving.socket);
}
