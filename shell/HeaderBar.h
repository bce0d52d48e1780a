// HeaderBar: the strip across the top of the main window showing the header bitmap and, at its
// right end, the settings title; a stylus going down on the title sends its command at once.
#pragma once

#include "WindowObject.h"

namespace shell {

inline constexpr UINT kBitmapHeaderBar = 131;
inline constexpr UINT kBitmapHeaderBarHigh = 192;
inline constexpr COLORREF kHeaderTitleColour = RGB(230, 230, 230);

class HeaderBar : public WindowObject {
  public:
    ~HeaderBar() override;

    // Creates the bar as a hidden child of parent at the top-left, as wide as the parent's client
    // area and as high as its bitmap (131, or 192 on a high-resolution screen) from resources.
    // False when the bitmap is missing or the window cannot be created.
    bool create(HWND parent, HINSTANCE resources);
    // The bar's height in device pixels (its bitmap's).
    int height() const { return m_height; }
    // The title area in the bar's client coordinates: the title's width plus scaleX(4), at the
    // right end.
    RECT titleArea() const;

    LRESULT windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void paint(HDC hdc);

    HBITMAP m_bitmap = nullptr;
    int m_bitmapWidth = 0;
    int m_height = 0;
    WCHAR m_title[64] = {};
};

}  // namespace shell
