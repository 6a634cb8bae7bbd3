#pragma once
// One small owner per kind of Win32 handle: non-copyable, movable, and the
// handle released exactly once with the function its kind needs.
#include <winsock2.h>
#include <windows.h>

#include <utility>

template <typename Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        reset(other.release());
        return *this;
    }
    ~UniqueHandle() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Traits::invalid(); }
    Handle release() { return std::exchange(handle_, Traits::invalid()); }
    void reset(Handle handle = Traits::invalid()) {
        const Handle old = std::exchange(handle_, handle);
        if (old != Traits::invalid()) Traits::close(old);
    }

private:
    Handle handle_ = Traits::invalid();
};

struct WindowTraits {
    using Handle = HWND;
    static Handle invalid() { return nullptr; }
    static void close(Handle h) { DestroyWindow(h); }
};
struct FontTraits {
    using Handle = HFONT;
    static Handle invalid() { return nullptr; }
    static void close(Handle h) { DeleteObject(h); }
};
struct BrushTraits {
    using Handle = HBRUSH;
    static Handle invalid() { return nullptr; }
    static void close(Handle h) { DeleteObject(h); }
};
struct IconTraits {
    using Handle = HICON;
    static Handle invalid() { return nullptr; }
    static void close(Handle h) { DestroyIcon(h); }
};
struct GlobalMemoryTraits {
    using Handle = HGLOBAL;
    static Handle invalid() { return nullptr; }
    static void close(Handle h) { GlobalFree(h); }
};
struct FindTraits {
    using Handle = HANDLE;
    static Handle invalid() { return INVALID_HANDLE_VALUE; }
    static void close(Handle h) { FindClose(h); }
};
struct FileTraits {
    using Handle = HANDLE;
    static Handle invalid() { return INVALID_HANDLE_VALUE; }
    static void close(Handle h) { CloseHandle(h); }
};

struct SocketTraits {
    using Handle = SOCKET;
    static Handle invalid() { return INVALID_SOCKET; }
    static void close(Handle h) { closesocket(h); }
};

using WindowHandle = UniqueHandle<WindowTraits>;
using FontHandle = UniqueHandle<FontTraits>;
using BrushHandle = UniqueHandle<BrushTraits>;
using IconHandle = UniqueHandle<IconTraits>;
using GlobalMemory = UniqueHandle<GlobalMemoryTraits>;
using FindHandle = UniqueHandle<FindTraits>;
using FileHandle = UniqueHandle<FileTraits>;
using SocketHandle = UniqueHandle<SocketTraits>;
