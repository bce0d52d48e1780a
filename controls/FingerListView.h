// FingerListView: a window of five rows of equal height that the finger scrolls with inertia and
// settles on a whole row, that selects a row by a tap or by holding it, and that the keys move
// through. The motion is KineticScroll's; this window feeds it stylus events and timer ticks and
// draws the rows where it says.
#pragma once

#include <string>
#include <vector>

#include "KineticScroll.h"
#include "ListItem.h"
#include "WindowObject.h"

class FingerListView : public WindowObject {
  public:
    static constexpr int kVisibleRows = KineticScroll::kVisibleRows;
    static constexpr COLORREF kTextColor = RGB(52, 52, 52);
    static constexpr COLORREF kBackground = RGB(170, 188, 223);
    static constexpr COLORREF kSelectedBackground = RGB(255, 255, 255);
    // Timers of the view: the hold, the inertia and the settling ticks.
    static constexpr UINT_PTR kHoldTimer = 1;
    static constexpr UINT_PTR kInertiaTimer = 2;
    static constexpr UINT_PTR kSettleTimer = 3;

    FingerListView() = default;
    // Destroys the window, then deletes the fonts the view created and its drawing bitmap.
    ~FingerListView() override;

    // Creates the visible child window "FingerList" at (x, y) in parent: rowWidth pixels wide and as
    // high as its visible rows of rowHeight pixels (see setItems). The row height is fixed from now
    // on; the motion's distances come from the screen metrics. Creates the default fonts unless
    // setFonts gave some. False when the window cannot be created.
    bool create(HWND parent, int x, int y, int rowWidth, int rowHeight);
    // With the flag, a list of fewer than six rows is only as high as its rows. Takes effect at the
    // next setItems.
    void setFitToCount(bool fit) { m_fitToCount = fit; }
    // Replaces the rows with copies of items: nothing is selected, the first row is at the top, a
    // running motion ends, and the window takes the height of kVisibleRows rows (or of the rows, see
    // setFitToCount). Repaints.
    void setItems(std::vector<ListItem> items);
    const std::vector<ListItem>& items() const { return m_items; }
    int count() const { return static_cast<int>(m_items.size()); }
    // The selected row, -1 when none.
    int selectedIndex() const { return m_selected; }
    const ListItem* selectedItem() const;
    // Selects row index: an index outside the rows selects none and shows the first rows; a row
    // outside the visible ones comes to the third visible place; the top row never leaves empty
    // rows at the bottom. Selecting the selected row does nothing. Repaints.
    void select(int index);
    // Posts WM_LIST_CONFIRMED (index, address of the row) to the parent when a row is selected.
    void confirmSelection();
    // The fonts of top-level rows, of indented rows and of the right texts; they belong to the
    // caller, who keeps them alive while the view uses them. Repaints.
    void setFonts(HFONT bold, HFONT normal, HFONT small);

    // The page keys: moves the selection and the top row four rows up (direction < 0) or down. At
    // either end the top row stops and the selection keeps its place on the screen until it reaches
    // the first or last row. Repaints.
    void page(int direction);
    // The keys: VK_UP, VK_DOWN move the selection one row (keeping it visible), VK_RETURN confirms.
    // True when the key was one of them.
    bool handleKey(UINT key);

    int topIndex() const { return m_scroll.top(); }
    // Shows row top first (clamped so that no empty rows show at the bottom), keeping the selection;
    // a running motion ends first. Repaints.
    void setTopIndex(int top);
    int rowHeight() const { return m_scroll.rowHeight(); }
    int rowWidth() const;
    // The first row's distance above the list in pixels: topIndex() * rowHeight().
    int scrollPosition() const { return m_scroll.scrollPosition(); }
    const KineticScroll& motion() const { return m_scroll; }
    // The row under a point of the client area (it may lie past the last row), -1 outside.
    int rowAt(POINT point) const;
    // The widest right text (pixels) measured at the last full redraw.
    int widestRightText() const { return m_widestRight; }
    // The main text of row index as drawn at the last painting (shortened with "..." when it did not
    // fit its room); empty for a row not drawn yet.
    std::u16string shownText(int index) const;

    // Draws the rows extra pixels below their resting place (scrollPosition() + extra), as the scroll
    // bar moves them; only while the list rests.
    void drawScrolled(int extra);
    // Ends any motion and rests the rows on the whole row nearest scrollPosition() + extra.
    void snapTo(int extra);

    LRESULT windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    struct ShownText {
        int room = -1;
        std::u16string text;
    };

    void stylusDown(POINT point);
    void stylusMove(POINT point);
    void stylusUp(POINT point);
    void apply(unsigned effects);
    void tapAt(POINT point);
    void releaseCapture();
    void resizeToRows();
    void paintFull(HDC hdc);
    // Draws the rows starting position pixels below the first row into the drawing bitmap and
    // copies it to target.
    void drawRows(HDC target, int position);
    void drawRow(HDC hdc, int index, const RECT& row);
    const std::u16string& fitted(HDC hdc, int index, int room);
    bool prepareCanvas(int width, int height);
    void measureRightTexts();
    int depthOf(int index) const;
    void createDefaultFonts();
    void notifyParent(UINT message, WPARAM wParam, LPARAM lParam) const;
    void redrawNow();

    std::vector<ListItem> m_items;
    std::vector<int> m_depths;
    std::vector<ShownText> m_shown;
    KineticScroll m_scroll{1, KineticScroll::Distances{}};
    int m_selected = -1;
    bool m_fitToCount = false;
    HFONT m_bold = nullptr;
    HFONT m_normal = nullptr;
    HFONT m_small = nullptr;
    bool m_ownsFonts = false;
    int m_widestRight = 0;
    HWND m_previousCapture = nullptr;
    HDC m_canvas = nullptr;
    HBITMAP m_canvasBitmap = nullptr;
    HGDIOBJ m_canvasPrevious = nullptr;
    SIZE m_canvasSize{0, 0};
};
