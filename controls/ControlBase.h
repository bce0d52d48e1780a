// ControlBase: the child window every finger-friendly control is built on. It has a background
// colour and paints itself only through draw(); the background is never erased separately.
#pragma once

#include "WindowObject.h"

class ControlBase : public WindowObject {
  public:
    ControlBase() = default;
    // Deletes the background brush; the window goes with the window object.
    ~ControlBase() override;

    // Creates a visible child window of the default window-object class named windowName (names
    // identify controls and are never shown) at rect in parent's client area. False when the window
    // cannot be created; true also when it already exists.
    bool create(HWND parent, const RECT& rect, LPCWSTR windowName);

    // Sets the background colour; a change repaints the control.
    void setBackgroundColor(COLORREF color);
    COLORREF backgroundColor() const { return m_backgroundColor; }
    // A solid brush of the background colour, created when first needed and owned by the control.
    HBRUSH backgroundBrush();

    // Paints the control into hdc (client coordinates). The default fills the client rectangle with
    // the background colour.
    virtual void draw(HDC hdc);

    // WM_PAINT calls draw with the DC in wParam or, without one, between BeginPaint and EndPaint;
    // WM_ERASEBKGND is answered as done without erasing.
    LRESULT windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

  protected:
    // Invalidates the client area and, when now is set, paints it before returning.
    void repaint(bool now);
    // Posts message (wParam id, lParam 0) to the parent window.
    void notifyParent(UINT message, UINT id) const;

  private:
    using WindowObject::create;

    COLORREF m_backgroundColor = RGB(255, 255, 255);
    HBRUSH m_backgroundBrush = nullptr;
};
