#include "Label.h"

#include "../app/WindowClass.h"

namespace {

constexpr char LabelClass[] = "WenloLabel";

HFONT createOwnFont(std::string_view face, LONG height) {
    LOGFONTA font = {};
    font.lfHeight = height;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = PROOF_QUALITY;
    font.lfPitchAndFamily = DEFAULT_PITCH;
    face.copy(font.lfFaceName, sizeof font.lfFaceName - 1);
    return CreateFontIndirectA(&font);
}

}  // namespace

Label::Label(HWND parent, int x, int y, int width, int height, std::string_view caption,
             const LabelStyle& style)
    : style_(style) {
    registerWindowClass(LabelClass);
    if (!style.fontFace.empty()) ownFont_.reset(createOwnFont(style.fontFace, style.fontHeight));
    window_ = CreateWindowExA(style.sunken ? WS_EX_CLIENTEDGE : 0, LabelClass, Text(caption).c_str(),
                              WS_CHILD | WS_VISIBLE, x, y, width, height, parent, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    if (window_) attachWindow(window_, this, &Label::windowProc);
}

Text Label::caption() const { return windowText(window_); }

void Label::setCaption(const Text& caption) {
    SetWindowTextA(window_, caption.c_str());
    InvalidateRect(window_, nullptr, TRUE);
    UpdateWindow(window_);
}

void Label::paint(HDC dc) const {
    RECT area;
    GetClientRect(window_, &area);
    FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
    const HGDIOBJ font = ownFont_ ? static_cast<HGDIOBJ>(ownFont_.get()) : GetStockObject(DEFAULT_GUI_FONT);
    const HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    const Text text = caption();
    constexpr UINT Format = DT_SINGLELINE | DT_LEFT | DT_VCENTER | DT_NOCLIP;
    if (style_.engraved) {
        SetTextColor(dc, RGB(255, 255, 255));
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &area, Format);
        OffsetRect(&area, 1, 1);
    }
    SetTextColor(dc, style_.textColour);
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &area, Format);
    SelectObject(dc, oldFont);
}

LRESULT CALLBACK Label::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = windowOwner<Label>(window);
    if (!self) return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        const HDC dc = BeginPaint(window, &ps);
        self->paint(dc);
        EndPaint(window, &ps);
        return 0;
    }
    case WM_ERASEBKGND: return 1;  // painting fills the background itself
    case WM_LBUTTONDOWN:
        if (self->onLeftButtonDown_) self->onLeftButtonDown_();
        return 0;
    case WM_NCDESTROY: detachWindow(window); break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
