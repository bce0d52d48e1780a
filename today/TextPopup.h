// The pop-up text window "VarkelTTipWin": one mark-up block near a point of the screen with up to
// three buttons, scrolling when the text is taller than the screen allows. It holds the stylus and
// runs its own message loop until a button is pressed or it is closed.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "MarkupLayout.h"
#include "PopupGeometry.h"
#include "ScreenScale.h"
#include "WindowObject.h"

namespace today {

inline constexpr const WCHAR* kPopupClass = u"VarkelTTipWin";
inline constexpr const WCHAR* kPopupTextName = u"PopupText";
inline constexpr int kMaxPopupButtons = 3;
inline constexpr int kPopupButtonId = 100;  // the buttons' ids are this plus their index

class PopupText;

class TextPopup : public WindowObject {
  public:
    // parent owns the window and hears WM_ENTERIDLE whenever the pop-up's loop waits; anchor is in
    // screen pixels; maxWidth 0 means the work area's width less 20. Captions beyond three are left out.
    TextPopup(HWND parent, const std::u16string& markup, POINT anchor,
              const std::vector<std::u16string>& captions, int maxWidth = 0);
    ~TextPopup() override;

    // Shows the window, takes the stylus and runs until it closes. Returns the index of the button
    // pressed, -1 when the window closed without one (a tap outside it, the back key, WM_QUIT, which
    // is posted again for the caller's loop, or the window destroyed from outside).
    int run();

    // The pop-up running in window, or null.
    static TextPopup* fromWindow(HWND window);
    const std::u16string& markup() const { return m_markup; }
    const TextScroll& scroll() const { return m_scroll; }
    int lineCount() const { return m_lines; }
    int firstLine() const;
    // The button of an index in the pop-up's client coordinates (empty for no such button).
    RECT buttonRect(int index) const;
    int buttonCount() const { return static_cast<int>(m_captions.size()); }
    const ButtonRow& buttonRow() const { return m_row; }

    LRESULT windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void computeLayout();
    bool createWindows();
    void stylusDown(POINT client);
    void stylusMove(POINT client);
    void stylusUp(POINT client);
    bool forwardToBar(UINT message, POINT client);
    void key(UINT virtualKey);
    void drawButton(const DRAWITEMSTRUCT& item) const;
    void paint();
    void finish(int result);
    int buttonAt(POINT client) const;

    HWND m_parent;
    std::u16string m_markup;
    POINT m_anchor;
    std::vector<std::u16string> m_captions;
    int m_maxWidth;
    ScreenScale m_scale;
    HFONT m_font = nullptr;
    std::unique_ptr<MarkupFonts> m_fonts;
    MarkupLayout m_block;
    std::unique_ptr<PopupText> m_text;
    ButtonRow m_row;
    TextScroll m_scroll;
    int m_lines = 0;
    RECT m_frame{};     // the window's screen rectangle
    RECT m_textRect{};  // the text view's window, client coordinates of the pop-up
    int m_textWidth = 0;
    int m_pressed = -1;
    int m_result = -1;
    bool m_done = false;
    bool m_dragging = false;
    bool m_barHeld = false;  // the text view tracks its scroll bar
    int m_dragY = 0;
};

}  // namespace today
