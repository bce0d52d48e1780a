// FingerScrollBar: the finger list's own vertical scroll bar: arrows that scroll a row and repeat
// while held, a track that pages toward the press point, and a thumb dragged along the track. It
// sends WM_VSCROLL requests to its parent and WM_SCROLLBAR_RELEASED when the stylus lifts.
#pragma once

#include "ControlBase.h"

class FingerScrollBar : public ControlBase {
  public:
    static constexpr UINT_PTR kRepeatTimer = 110;
    static constexpr UINT kRepeatMs = 100;
    static constexpr COLORREF kPartColor = RGB(206, 223, 239);

    enum class Part { None, UpArrow, DownArrow, TrackAbove, TrackBelow, Thumb };

    // Creates the child window "ScrollBar" at rect in parent. False when it cannot be created.
    bool create(HWND parent, const RECT& rect);

    // The scroll range and the page, in the list's pixels; the position runs from 0 to range - page.
    // Repaints.
    void setRange(int range, int page);
    // Moves the thumb to position (clamped); repaints when it moved.
    void setPosition(int position);
    int position() const { return m_position; }
    int range() const { return m_range; }
    int page() const { return m_page; }
    // The position the thumb was dragged to, sent with the last SB_THUMBTRACK (WM_VSCROLL carries
    // only 16 bits of it).
    int trackPosition() const { return m_trackPosition; }
    // The part held by the stylus, Part::None when the bar is not pressed.
    Part heldPart() const { return m_held; }

    // Geometry in client pixels: the arrow areas at both ends, the track between them and the thumb.
    RECT upArrowRect() const;
    RECT downArrowRect() const;
    int trackTop() const;
    int trackBottom() const;
    RECT thumbRect() const;
    Part partAt(POINT point) const;

    void draw(HDC hdc) override;
    LRESULT windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void stylusDown(POINT point);
    void stylusMove(POINT point);
    void stylusUp();
    // One scroll request of the held part (the repeat timer calls it too); false when the track
    // paging has reached the press point.
    bool scrollOnce();
    void request(int code);
    void drawArrow(HDC hdc, const RECT& area, bool up, bool held);
    void drawThumb(HDC hdc);

    int m_range = 0;
    int m_page = 0;
    int m_position = 0;
    int m_trackPosition = 0;
    Part m_held = Part::None;
    int m_pressY = 0;
    int m_grab = 0;  // where the thumb was taken, from its top
};
