#include "MainWindow.h"

#include "../app/ScanHandler.h"
#include "../app/WindowClass.h"
#include "../net/LocalAddressList.h"
#include "../output/DesktopOutput.h"
#include "HelpWindow.h"
#include "UiRules.h"
#include "resource.h"

namespace {

constexpr char MainClass[] = "WenloMainWindow";
constexpr int WindowWidth = 399;
constexpr int WindowHeight = 332;
constexpr DWORD WindowStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr UINT_PTR SuppressionTimerId = 1;
constexpr int HistoryListId = 1001;  // clear of IDOK and IDCANCEL
constexpr int32_t ScanPort = 1223;
constexpr int32_t DrainPort = 1224;
constexpr COLORREF Blue = RGB(0, 0, 255);
constexpr COLORREF Red = RGB(255, 0, 0);
constexpr std::string_view SongTi = "宋体";

HINSTANCE instance() { return GetModuleHandleA(nullptr); }
HGDIOBJ guiFont() { return GetStockObject(DEFAULT_GUI_FONT); }

ATOM registerMainClass() {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = instance();
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.hIcon = static_cast<HICON>(LoadImageA(instance(), DEFAULT_ICON_NAME, IMAGE_ICON,
                                             GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
    wc.hIconSm = static_cast<HICON>(LoadImageA(instance(), DEFAULT_ICON_NAME, IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), 0));
    wc.lpszClassName = MainClass;
    return RegisterClassExA(&wc);
}

// Runs what is queued on the thread, without waiting for more.
void processPendingMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

HWND createChild(HWND parent, const char* kind, DWORD exStyle, DWORD style, int x, int y, int width,
                 int height, std::string_view text, int id = 0) {
    const HWND child = CreateWindowExA(exStyle, kind, Text(text).c_str(), WS_CHILD | WS_VISIBLE | style,
                                       x, y, width, height, parent,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance(), nullptr);
    SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(guiFont()), FALSE);
    return child;
}

HWND createEdit(HWND parent, int x, int y, int width, std::string_view text) {
    const HWND edit = createChild(parent, "EDIT", WS_EX_CLIENTEDGE, WS_TABSTOP | ES_AUTOHSCROLL | ES_LEFT,
                                  x, y, width, 22, text);
    SendMessageA(edit, EM_LIMITTEXT, 0, 0);
    SendMessageA(edit, EM_SETSEL, 0, 0);
    return edit;
}

HWND createRadio(HWND parent, int x, int y, std::string_view text) {
    return createChild(parent, "BUTTON", 0,
                       WS_TABSTOP | BS_AUTORADIOBUTTON | BS_MULTILINE | BS_LEFT | BS_VCENTER, x, y, 64, 20,
                       text);
}

bool isChecked(HWND button) { return SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

}  // namespace

MainWindow::MainWindow(AppState& state, HWND helpOwner) : state_(state), helpOwner_(helpOwner) {}

MainWindow::~MainWindow() {
    if (window_) DestroyWindow(window_);
}

std::unique_ptr<MainWindow> MainWindow::create(AppState& state, ConfigFile& config, HWND helpOwner) {
    static const ATOM registered = registerMainClass();
    (void)registered;
    std::unique_ptr<MainWindow> self(new MainWindow(state, helpOwner));

    processPendingMessages();  // delivery is suspended until the window is built
    const int left = (GetSystemMetrics(SM_CXSCREEN) - WindowWidth) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - WindowHeight) / 2;
    self->window_ = CreateWindowExA(0, MainClass, Text(MainWindowTitle).c_str(), WindowStyle, left, top,
                                    WindowWidth, WindowHeight, nullptr, nullptr, instance(), nullptr);
    if (!self->window_) return nullptr;
    attachWindow(self->window_, self.get(), &MainWindow::windowProc);
    RECT outer;
    GetWindowRect(self->window_, &outer);
    if (outer.right - outer.left != WindowWidth || outer.bottom - outer.top != WindowHeight)
        MoveWindow(self->window_, left, top, WindowWidth, WindowHeight, FALSE);
    SendMessageA(self->window_, WM_SETFONT, reinterpret_cast<WPARAM>(guiFont()), FALSE);
    self->createControls();
    processPendingMessages();
    self->delivering_ = true;
    self->bindHandlers();

    // onCreated: the start-up initialisation, before the window is first shown.
    initialiseOnStart(state, *self, config, LocalAddressList);
    if (!IsWindow(self->window_)) return self;
    self->minimiseToTray();  // onPositionChanged: not minimised, so nothing happens
    ShowWindow(self->window_, SW_SHOW);
    SetFocus(self->列表框1);
    return self;
}

// The controls from top to bottom, which is also the Tab order.
void MainWindow::createControls() {
    const HWND w = window_;
    const auto caption = [&](int x, int y, int width, int height, std::string_view text,
                             const LabelStyle& style = {}) {
        return std::make_unique<Label>(w, x, y, width, height, text, style);
    };
    captions_.push_back(caption(17, 16, 39, 22, "本机IP:", {SongTi, -12}));
    标签IP = caption(80, 16, 193, 24, "", {SongTi, -16, Blue, true});
    captions_.push_back(caption(288, 16, 104, 16, "扫描后模拟按键"));
    单选框E = createRadio(w, 296, 40, "Enter键");
    captions_.push_back(caption(17, 56, 39, 22, "端口A:"));
    编辑框端口A = createEdit(w, 82, 56, 64, "1223");
    captions_.push_back(caption(158, 56, 40, 22, "端口:B"));
    编辑框端口B = createEdit(w, 208, 56, 64, "1224");
    单选框T = createRadio(w, 296, 65, " Tab键");
    captions_.push_back(caption(288, 95, 48, 22, "按键次数:"));
    编辑框按键次数 = createEdit(w, 344, 96, 40, "1");
    captions_.push_back(caption(17, 96, 39, 22, "客户端:"));
    标签客户端 = caption(80, 96, 193, 24, "", {SongTi, -16, Red, true});
    标签9 = caption(176, 131, 51, 16, "帮助关于", {{}, 0, RGB(0, 0, 0), false, true});
    captions_.push_back(caption(19, 134, 96, 12, "双击复制到剪辑板"));
    标签6 = caption(320, 134, 56, 12, "");
    列表框1 = createChild(w, "LISTBOX", WS_EX_CLIENTEDGE,
                        WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_USETABSTOPS | LBS_NOINTEGRALHEIGHT, 11,
                        154, 369, 136, "", HistoryListId);
    const LRESULT rowHeight = SendMessageA(列表框1, LB_GETITEMHEIGHT, 0, 0);
    if (rowHeight > 0) SendMessageA(列表框1, LB_SETITEMHEIGHT, 0, MAKELPARAM(rowHeight + 1, 0));
    // 时钟1 exists already, stopped; the listeners start listening at once.
    服务器1 = std::make_unique<TcpListener>(ScanPort);
    服务器2 = std::make_unique<TcpListener>(DrainPort);
    trayIcon_ = std::make_unique<TrayIcon>(window_);
}

// Every event that has a handler, in one place.  服务器2 has none: it only drains.
void MainWindow::bindHandlers() {
    服务器1->bind({
        .onClientEntered = [this](const Text& address) { onClientEntered(address); },
        .onDataArrived =
            [this](std::string_view bytes, const Text&) {
                Win32DesktopOutput desktop;
                handleArrival(state_, *this, desktop, bytes.data(), bytes.size());
            },
        .onClientLeft = nullptr,
    });
    标签9->onLeftButtonDown([this] { showHelp(); });
    // In the window procedure: the tick of 时钟1 (handleTick), the double-click
    // on 列表框1 (copyHistoryEntry), the close request and shut-down query
    // (confirmClose), moves (minimiseToTray), the tray entry (restoreFromTray)
    // and the destruction (removal of the tray entry).
}

bool MainWindow::preTranslate(MSG& msg) {
    // Only keys concern the window here; socket notifications and the rest
    // go straight on, without the look at the window tree.
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
    if (!window_ || (msg.hwnd != window_ && !IsChild(window_, msg.hwnd))) return false;
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE && noModifierDown()) {
        SendMessageA(window_, WM_CLOSE, 0, 0);  // the key goes no further
        return true;
    }
    return IsDialogMessageA(window_, &msg) != FALSE;  // Tab and Shift+Tab
}

LRESULT CALLBACK MainWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = windowOwner<MainWindow>(window);
    if (!self) return DefWindowProcA(window, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

LRESULT MainWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND w = window_;
    if (message == WM_NCDESTROY) {
        onDestroyed();
        return 0;
    }
    if (!delivering_) return DefWindowProcA(w, message, wParam, lParam);
    switch (message) {
    case WM_CLOSE:
        if (confirmClose()) DestroyWindow(w);
        return 0;
    case WM_QUERYENDSESSION: return confirmClose() ? TRUE : FALSE;
    case WM_MOVE:
        DefWindowProcA(w, message, wParam, lParam);
        minimiseToTray();
        return 0;
    case TrayCallbackMessage: restoreFromTray(lParam); return 0;
    case WM_TIMER:
        if (wParam == SuppressionTimerId) handleTick(state_, *this);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == HistoryListId && HIWORD(wParam) == LBN_DBLCLK) copyHistoryEntry();
        return 0;
    case WM_CTLCOLOREDIT: return colourEdit(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            const HWND focus = GetFocus();
            if (focus && IsChild(w, focus)) lastFocus_ = focus;
        } else if (!IsWindowEnabled(w)) {
            activateOpenHelpWindow();  // the open help stays in front
        } else if (!HIWORD(wParam)) {
            SetFocus(lastFocus_ && IsWindow(lastFocus_) ? lastFocus_ : 列表框1);
        }
        return 0;
    case WM_DESTROY: trayIcon_->remove(); return 0;  // before any control goes
    }
    return DefWindowProcA(w, message, wParam, lParam);
}

// The controls are gone; what the window owned besides them goes now, and
// with no window of the program left the message loop is told to end.
void MainWindow::onDestroyed() {
    stop();
    服务器1.reset();
    服务器2.reset();
    trayIcon_.reset();
    captions_.clear();
    标签IP.reset();
    标签客户端.reset();
    标签6.reset();
    标签9.reset();
    detachWindow(window_);
    window_ = nullptr;
    PostQuitMessage(0);
}

LRESULT MainWindow::colourEdit(HDC dc, HWND edit) {
    SetTextColor(dc, edit == 编辑框端口A || edit == 编辑框端口B ? Blue : RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
}

bool MainWindow::confirmClose() {
    const int answer = MessageBoxA(nullptr, Text(CloseQuestion).c_str(), Text(CloseQuestionTitle).c_str(),
                                   MB_OKCANCEL | MB_TASKMODAL);
    return closeAllowed(answer);
}

void MainWindow::minimiseToTray() {
    if (!IsIconic(window_)) return;  // ordinary moves do nothing
    trayIcon_->set(trayIconImage(), MainWindowTitle);
    // Without an entry a hidden window could never be brought back.
    if (trayIcon_->present()) ShowWindow(window_, SW_HIDE);
}

void MainWindow::restoreFromTray(LPARAM mouseMessage) {
    if (trayActionOf(static_cast<uint32_t>(mouseMessage)) != TrayAction::LeftDoubleClick) return;
    ShowWindow(window_, SW_SHOW);        // back as a minimised taskbar button
    ShowWindow(window_, SW_SHOWNORMAL);  // restored and activated
}

void MainWindow::copyHistoryEntry() {
    标签6->setCaption("");
    const auto index = static_cast<int>(SendMessageA(列表框1, LB_GETCURSEL, 0, 0));
    Text entry;
    const LRESULT length = index < 0 ? LB_ERR : SendMessageA(列表框1, LB_GETTEXTLEN, index, 0);
    if (length != LB_ERR) {
        entry.resize(static_cast<std::size_t>(length) + 1);
        entry.resize(static_cast<std::size_t>(
            SendMessageA(列表框1, LB_GETTEXT, index, reinterpret_cast<LPARAM>(entry.data()))));
    }
    if (setClipboardText(entry)) 标签6->setCaption(Text(CopySucceeded));
}

void MainWindow::showHelp() { openHelpWindow(helpOwner_); }

void MainWindow::onClientEntered(const Text& clientAddress) { 标签客户端->setCaption(clientAddress); }

Text MainWindow::repeatCountText() { return windowText(编辑框按键次数); }
bool MainWindow::enterChecked() { return isChecked(单选框E); }
bool MainWindow::tabChecked() { return isChecked(单选框T); }
void MainWindow::addHistory(const Text& code) {
    SendMessageA(列表框1, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(code.c_str()));
}
void MainWindow::setPortAText(const Text& text) { SetWindowTextA(编辑框端口A, text.c_str()); }
void MainWindow::setPortBText(const Text& text) { SetWindowTextA(编辑框端口B, text.c_str()); }
void MainWindow::setRepeatCountText(const Text& text) { SetWindowTextA(编辑框按键次数, text.c_str()); }
void MainWindow::checkEnter() { SendMessageA(单选框E, BM_SETCHECK, BST_CHECKED, 0); }
void MainWindow::checkTab() { SendMessageA(单选框T, BM_SETCHECK, BST_CHECKED, 0); }
void MainWindow::setAddressCaption(const Text& text) { 标签IP->setCaption(text); }

// SetTimer with an id that exists restarts it: only a changed period gets here.
void MainWindow::start(int32_t milliseconds) {
    SetTimer(window_, SuppressionTimerId, static_cast<UINT>(milliseconds), nullptr);
}
void MainWindow::stop() {
    if (window_) KillTimer(window_, SuppressionTimerId);
}
