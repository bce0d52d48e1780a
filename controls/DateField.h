// DateField: one large field of the date picker (day, month or year) as a control window: typed
// digits and backspace, the focus look, the device's arrow keys reported to the picker, and the
// value drawn padded with zeros. MonthField draws the month's abbreviated name instead.
#pragma once

#include <string>

#include "ControlBase.h"
#include "DateFieldState.h"

// Posted by a field to its parent, the picker; wParam is the field id (WM_USER is 0x0400).
inline constexpr UINT WM_DATEFIELD_CHANGED = WM_USER + 3;  // the value changed
inline constexpr UINT WM_DATEFIELD_UP = WM_USER + 4;       // VK_UP released while focused
inline constexpr UINT WM_DATEFIELD_DOWN = WM_USER + 5;     // VK_DOWN released
inline constexpr UINT WM_DATEFIELD_LEFT = WM_USER + 6;     // VK_LEFT released
inline constexpr UINT WM_DATEFIELD_RIGHT = WM_USER + 7;    // VK_RIGHT released

// Field ids, reported in every notification.
enum DateFieldId : UINT { kDayField = 0, kMonthField = 1, kYearField = 2 };

class DateField : public ControlBase {
  public:
    static constexpr COLORREF kFocusBackground = RGB(74, 73, 74);
    static constexpr COLORREF kFocusText = RGB(255, 255, 255);
    static constexpr COLORREF kNormalText = RGB(0, 0, 0);

    DateField(UINT fieldId, int minimum, int maximum, int digitWidth, int value);

    // Creates the field's window named windowName at rect in parent, drawing with font (owned by the
    // picker, which keeps it alive while the field exists) on background in the normal state. False
    // when the window cannot be created.
    bool create(HWND parent, const RECT& rect, LPCWSTR windowName, HFONT font, COLORREF background);

    UINT fieldId() const { return m_fieldId; }
    const DateFieldState& state() const { return m_state; }
    int value() const { return m_state.value(); }
    bool hasFocus() const { return m_window != nullptr && GetFocus() == m_window; }

    // Each of these repaints the field and notifies the picker (WM_DATEFIELD_CHANGED) when the value
    // changed, or, for setValue, increment and decrement, always.
    void setValue(int value);
    void setMaximum(int maximum);
    void setMinimum(int minimum);
    // Stores the value clamped into the limits and returns it.
    int clampValue();
    // One step up or down with wrap-around; the field takes the focus first.
    void increment();
    void decrement();

    // The normal-state background (also restored when the focus leaves).
    void setNormalBackground(COLORREF color);

    void draw(HDC hdc) override;
    LRESULT windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

  protected:
    // The text drawn for the current value: the value in decimal, padded on the left with "0" to
    // the digit width.
    virtual std::u16string displayText();

  private:
    void changed();
    void onKeyDown(WPARAM key);
    void onKeyUp(WPARAM key);
    void onFocus(bool gained);

    UINT m_fieldId;
    DateFieldState m_state;
    HFONT m_font = nullptr;
    COLORREF m_normalBackground = RGB(255, 255, 255);
    COLORREF m_savedBackground = RGB(255, 255, 255);
    COLORREF m_textColor = kNormalText;
};

class MonthField : public DateField {
  public:
    explicit MonthField(int value);

  protected:
    // The user locale's abbreviated name of the month held, or of the last month drawn while the
    // value is 0 (on the way to a typed month).
    std::u16string displayText() override;

  private:
    int m_lastDrawnMonth = 1;
};
