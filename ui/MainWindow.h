#pragma once
// The program's one permanent window: the address to point the phone at, the
// last client, the keys pressed after each scan, and the history of codes.
// It owns its controls, the two listeners, the suppression timer and the
// tray entry; all of them end with it.
#include <memory>

#include "../app/AppState.h"
#include "../app/ScanPorts.h"
#include "../app/StartupInit.h"
#include "../app/TimerControl.h"
#include "../app/WinHandles.h"
#include "../config/ConfigFile.h"
#include "../net/TcpListener.h"
#include "Label.h"
#include "TrayIcon.h"

class MainWindow final : private ScanControls, private StartupControls, private TimerDriver {
public:
    // Builds the window with event delivery suspended, runs the start-up
    // initialisation, then shows it.  Null when the window cannot be created.
    static std::unique_ptr<MainWindow> create(AppState& state, ConfigFile& config, HWND helpOwner);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    HWND window() const { return window_; }
    // Keyboard handling of the message loop: Esc asks to close, Tab moves the
    // focus.  True when the message was consumed.
    bool preTranslate(MSG& msg);

private:
    MainWindow(AppState& state, HWND helpOwner);
    static LRESULT CALLBACK windowProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT handle(UINT, WPARAM, LPARAM);
    void createControls();
    void bindHandlers();
    void onDestroyed();

    // Handlers of the window and its controls.
    bool confirmClose();
    void minimiseToTray();
    void restoreFromTray(LPARAM mouseMessage);
    void copyHistoryEntry();
    void showHelp();
    void onClientEntered(const Text& clientAddress);
    LRESULT colourEdit(HDC dc, HWND edit);

    // ScanControls
    Text repeatCountText() override;
    bool enterChecked() override;
    bool tabChecked() override;
    void addHistory(const Text& code) override;
    void setTimerPeriod(int32_t milliseconds) override { 时钟1.setPeriod(milliseconds); }
    // StartupControls
    void setPortAText(const Text& text) override;
    void setPortBText(const Text& text) override;
    void setRepeatCountText(const Text& text) override;
    void checkEnter() override;
    void checkTab() override;
    void setAddressCaption(const Text& text) override;
    // TimerDriver
    void start(int32_t milliseconds) override;
    void stop() override;

    AppState& state_;
    HWND helpOwner_;
    HWND window_ = nullptr;
    bool delivering_ = false;  // events are dropped while the window is being built
    HWND lastFocus_ = nullptr;

    std::unique_ptr<Label> 标签IP, 标签客户端, 标签6, 标签9;
    std::vector<std::unique_ptr<Label>> captions_;
    HWND 单选框E = nullptr, 单选框T = nullptr;
    HWND 编辑框端口A = nullptr, 编辑框端口B = nullptr, 编辑框按键次数 = nullptr;
    HWND 列表框1 = nullptr;
    TimerControl 时钟1{*this};
    std::unique_ptr<TcpListener> 服务器1, 服务器2;
    std::unique_ptr<TrayIcon> trayIcon_;
};
