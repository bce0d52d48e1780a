// FingerList: a finger list view with a caption above it and its own scroll bar at its right. It
// passes the view's confirmations and typed characters on to its owner and keeps the scroll bar
// and the rows in step.
#pragma once

#include <vector>

#include "ControlBase.h"
#include "FingerListView.h"
#include "FingerScrollBar.h"
#include "TextLabel.h"

class FingerList : public ControlBase {
  public:
    static constexpr COLORREF kBackground = RGB(170, 188, 223);
    static constexpr COLORREF kCaptionColor = RGB(101, 129, 183);
    // The design size in 96-dpi units: 240 wide, five rows of 28 below a caption of 15.
    static constexpr int kWidthUnits = 240;
    static constexpr int kRowHeightUnits = 28;
    static constexpr int kCaptionUnits = 15;
    static constexpr int kHeightUnits = FingerListView::kVisibleRows * kRowHeightUnits + kCaptionUnits;

    // Destroys the windows, then deletes the caption's font.
    ~FingerList() override;

    // Creates the visible child window "FingerList" at (x, y) in parent, 240 x 155 units, with its
    // caption ("FingerList" until setCaption), its list view and its scroll bar (hidden until the
    // list has more than five rows). The children follow the window's size when it is moved. False
    // when a window cannot be created.
    bool create(HWND parent, int x, int y);

    // Shows text above the list and repaints the caption and the list.
    void setCaption(LPCWSTR text);
    const WCHAR* caption() const { return m_caption.text(); }
    // Replaces the rows (see FingerListView::setItems). With more than five rows the scroll bar
    // shows and the list narrows by its width plus one unit; with five or fewer it hides.
    void setItems(std::vector<ListItem> items);
    // Selects a row of the list (see FingerListView::select).
    void select(int index) { m_view.select(index); }
    // Puts the scroll bar along the left edge (for left-handed use) instead of the right one, the
    // rows beside it. Lays the children out again when it changes.
    void setScrollBarOnLeft(bool left);
    bool scrollBarOnLeft() const { return m_barOnLeft; }

    FingerListView& view() { return m_view; }
    const FingerListView& view() const { return m_view; }
    FingerScrollBar& scrollBar() { return m_bar; }
    const FingerScrollBar& scrollBar() const { return m_bar; }
    TextLabel& captionLabel() { return m_caption; }
    // How far the scroll bar has moved the rows from their resting place since its press; one value
    // for the program, since one finger moves one bar at a time.
    static int sharedScrollOffset() { return s_scrollOffset; }

    LRESULT windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void layoutChildren();
    void onScroll(int code);
    void onScrollReleased();
    bool barShown() const;

    TextLabel m_caption;
    FingerListView m_view;
    FingerScrollBar m_bar;
    HFONT m_captionFont = nullptr;
    bool m_barOnLeft = false;
    static int s_scrollOffset;
};
