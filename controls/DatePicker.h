// DatePicker: the entry form's date chooser: three large fields (day, month, year) in the order of
// the user's locale, an up-arrow key above and a down-arrow key below each, and the caption "Date".
// Fields are typed into, stepped with the arrow keys (which repeat while held) and moved between
// with the device's left and right keys; the date handed out is always a real calendar date.
#pragma once

#include <array>
#include <memory>

#include "ControlBase.h"
#include "DateField.h"
#include "ImageKey.h"
#include "TextLabel.h"

// Posted to the picker to repaint it and its fields (WM_USER is 0x0400).
inline constexpr UINT WM_DATEPICKER_REPAINT = WM_USER + 1;
inline constexpr UINT WM_DATEPICKER_REPAINT_ALL = WM_USER + 2;

class DatePicker : public ControlBase {
  public:
    static constexpr COLORREF kBackground = RGB(170, 188, 223);
    static constexpr COLORREF kCaptionColor = RGB(101, 129, 183);
    static constexpr int kMinimumYear = 1970;
    static constexpr int kMaximumYear = 2050;
    // While an arrow key is held it steps once after kRepeatDelayMs and then every kRepeatIntervalMs.
    static constexpr UINT kRepeatDelayMs = 500;
    static constexpr UINT kRepeatIntervalMs = 150;
    // The arrow keys' images (normal, pressed; high resolution normal, pressed).
    static constexpr UINT kUpImage = 151, kUpPressedImage = 147, kUpImageHigh = 175,
                          kUpPressedImageHigh = 176;
    static constexpr UINT kDownImage = 148, kDownPressedImage = 149, kDownImageHigh = 173,
                          kDownPressedImageHigh = 174;

    // The fields hold today's local date.
    DatePicker();
    // Destroys the windows, then releases the font and the arrow images.
    ~DatePicker() override;

    // Creates the picker "DatePicker" at rect in parent with its fields, arrow keys (images from
    // resources; null: the program's resource module) and caption. False when rect is lower than
    // 68 units (the fields and two arrow rows), when the arrow images do not fit the fields or
    // cannot be loaded, or when any window cannot be created.
    bool create(HWND parent, const RECT& rect, HINSTANCE resources = nullptr);

    // The date held, at 00:00:00.000, as a file time. Each field is first brought into its limits
    // (and keeps the clamped value), the day within the length of the month and year it ends with.
    FILETIME getDate();
    // Shows the day, month and year of date; returns the date held before (as getDate() gives it).
    FILETIME setDate(const FILETIME& date);
    // The single values, each clamped as by getDate().
    int day();
    int month();
    int year();

    // The background of the picker, the caption, the fields' normal state and the arrow keys.
    void setBackground(COLORREF color);

    // The field with id kDayField, kMonthField or kYearField.
    DateField& field(UINT fieldId);
    // The display order from left to right, as field ids.
    const std::array<UINT, 3>& order() const { return m_order; }
    const TextLabel& caption() const { return m_caption; }
    // The arrow key with the given key id (3 day up ... 8 year down); null for another id.
    ImageKey* arrowKey(UINT keyId);

    LRESULT windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    bool loadImages(HINSTANCE resources);
    bool createFields(const RECT& client);
    bool createArrowKeys();
    void readOrder();
    // The day's limit follows the month and year held.
    void updateDayLimit();
    void focusNeighbour(UINT fieldId, int direction);
    void stepByKey(UINT keyId);
    void keyPressed(UINT keyId);
    void keyReleased(UINT keyId);
    void repeatTick();
    void forwardCharacter(WPARAM character);
    void repaintAll();

    MonthField m_month;
    DateField m_day;
    DateField m_year;
    std::array<UINT, 3> m_order{kDayField, kMonthField, kYearField};
    std::array<std::unique_ptr<ImageKey>, 6> m_arrows;
    TextLabel m_caption;
    HFONT m_font = nullptr;
    HFONT m_captionFont = nullptr;
    HBITMAP m_upNormal = nullptr, m_upPressed = nullptr, m_downNormal = nullptr, m_downPressed = nullptr;
    UINT m_repeatKey = 0;      // the arrow key held, 0 for none
    bool m_repeated = false;   // the held key has stepped by itself; its click adds no step
    bool m_repeating = false;  // the repeat delay is over; the timer runs at the interval
};
