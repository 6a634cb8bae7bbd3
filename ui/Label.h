#pragma once
// A label drawn by the program: its caption is its window text, drawn as one
// transparent, left-aligned, vertically centred line on the button face.
#include <functional>
#include <string_view>

#include "../app/Text.h"
#include "../app/WinHandles.h"

struct LabelStyle {
    std::string_view fontFace;  // empty: the default GUI font
    LONG fontHeight = 0;
    COLORREF textColour = RGB(0, 0, 0);
    bool sunken = false;    // WS_EX_CLIENTEDGE
    bool engraved = false;  // a white copy under the caption, one pixel up and left
};

class Label {
public:
    Label(HWND parent, int x, int y, int width, int height, std::string_view caption,
          const LabelStyle& style);
    Label(const Label&) = delete;
    Label& operator=(const Label&) = delete;

    HWND window() const { return window_; }
    Text caption() const;
    void setCaption(const Text& caption);  // redraws at once
    // Raised when the left button goes down over the label.
    void onLeftButtonDown(std::function<void()> handler) { onLeftButtonDown_ = std::move(handler); }

private:
    static LRESULT CALLBACK windowProc(HWND, UINT, WPARAM, LPARAM);
    void paint(HDC dc) const;

    LabelStyle style_;
    FontHandle ownFont_;
    HWND window_ = nullptr;  // a child: destroyed with its parent
    std::function<void()> onLeftButtonDown_;
};
