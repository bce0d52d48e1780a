// SkinBoard: a full-screen window that lays out the entry page's skins as the program does: the
// header bar with its title at the right end, the field panel (four rows of the field bitmap with
// their labels and the cleared toggle in the top-right corner) and one button strip directly below
// the panel. A strip button shows its pressed slice while the stylus holds it; the toggle flips when
// the stylus goes down on it; the header title shows the next strip.
#pragma once

#include <vector>

#include "platform/windows.h"

namespace skinview {

// The screen metrics the skins are chosen and placed by.
struct SkinMetrics {
    int dpiX = 96;
    int dpiY = 96;
    // Set when the horizontal resolution is at least 132 or the vertical one greater than 131.
    bool highResolution = false;
    // Device pixels for v units at 96 dpi, rounded to nearest; negative v gives -scale(-v).
    int scaleX(int v) const { return v < 0 ? -scaleX(-v) : (dpiX * v + 48) / 96; }
    int scaleY(int v) const { return v < 0 ? -scaleY(-v) : (dpiY * v + 48) / 96; }
    // The metrics of the screen as a screen device context reports them.
    static SkinMetrics ofScreen();
};

struct StripButton {
    UINT command;
    const WCHAR* label;
    int width;  // 96-dpi units
    COLORREF textColour;
};

// One button strip: its buttons and bitmap ids (normal look, pressed look; high resolution).
struct StripSkin {
    UINT normal;
    UINT pressed;
    UINT highNormal;
    UINT highPressed;
    std::vector<StripButton> buttons;
};

// A bitmap's size in pixels; 0 x 0 for an invalid handle.
SIZE bitmapSize(HBITMAP bitmap);

// The form strip, the confirm strip and the confirm-or-create strip, in that order.
const std::vector<StripSkin>& stripSkins();

// The bitmap ids of the other skins: header bar, field row, toggle off and on.
constexpr UINT kHeaderBar = 131, kHeaderBarHigh = 192;
constexpr UINT kField = 138, kFieldHigh = 179;
constexpr UINT kToggleOff = 141, kToggleOffHigh = 177;
constexpr UINT kToggleOn = 140, kToggleOnHigh = 178;
// The header title (string 1, "Настройки"), its colour and the field labels' colour.
constexpr UINT kTitleString = 1;
constexpr COLORREF kTitleColour = RGB(230, 230, 230);
constexpr COLORREF kLabelColour = RGB(202, 202, 202);

class SkinBoard {
  public:
    SkinBoard() = default;
    ~SkinBoard();
    SkinBoard(const SkinBoard&) = delete;
    SkinBoard& operator=(const SkinBoard&) = delete;

    // Creates the board full screen (task bar and input-panel button hidden), with the skins of
    // resources (a module whose table holds the bitmaps). False when a bitmap is missing or the
    // window cannot be created; nothing is left behind then.
    bool create(HINSTANCE resources);
    HWND window() const { return m_window; }

    // Shows strip 0, 1 or 2 (form, confirm, confirm-or-create) below the field panel.
    void showStrip(int strip);
    int strip() const { return m_strip; }
    bool toggleOn() const { return m_toggleIsOn; }

    // Geometry in client pixels.
    RECT headerRect() const;
    RECT titleRect() const;
    RECT panelRect() const;
    // Field row 0..3 of the panel.
    RECT rowRect(int row) const;
    RECT toggleRect() const;
    RECT stripRect() const;
    RECT buttonRect(int button) const;
    const SkinMetrics& metrics() const { return m_metrics; }

  private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    bool loadSkins(HINSTANCE resources);
    void paint(HDC hdc);
    void paintHeader(HDC hdc, HDC source);
    void paintPanel(HDC hdc, HDC source);
    void paintStrip(HDC hdc, HDC source);
    void stylusDown(POINT point);
    void stylusMove(POINT point);
    void stylusUp(POINT point);
    int buttonAt(POINT point) const;
    void invalidate(const RECT& rect);

    HWND m_window = nullptr;
    HINSTANCE m_resources = nullptr;
    SkinMetrics m_metrics;
    HBITMAP m_header = nullptr;
    HBITMAP m_field = nullptr;
    HBITMAP m_toggleOff = nullptr;
    HBITMAP m_toggleOn = nullptr;
    std::vector<HBITMAP> m_stripNormal;
    std::vector<HBITMAP> m_stripPressed;
    HFONT m_titleFont = nullptr;   // Tahoma 8 points, underlined
    HFONT m_labelFont = nullptr;   // Tahoma 8 points
    HFONT m_buttonFont = nullptr;  // Tahoma 10 points, bold
    int m_strip = 0;
    bool m_toggleIsOn = false;
    int m_heldButton = -1;  // the button the stylus went down on, -1 none
    bool m_heldInside = false;
};

}  // namespace skinview
