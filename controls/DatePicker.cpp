// DatePicker: the locale's field order, the layout of fields and arrow keys, the messages of fields
// and keys, the arrow keys' repeat, and the date in and out.

#include "DatePicker.h"

#include <algorithm>

#include "ControlMessages.h"
#include "ScreenMetrics.h"
#include "Str.h"
#include "platform/winnls.h"

namespace {

// Geometry in 96-dpi units.
constexpr int kFieldHeight = 20;
constexpr int kFieldGap = 38;
constexpr int kArrowDistance = 8;
constexpr int kArrowRowHeight = 24;
constexpr int kFieldWidths[3] = {42, 42, 50};  // by field id: day, month, year
constexpr const WCHAR* kFieldNames[3] = {u"Date", u"Month", u"Year"};
constexpr int kDigitWidths[3] = {2, 2, 4};

// Arrow keys: ids 3 to 8, two a field (up, then down), in field-id order.
constexpr UINT kFirstArrowKey = 3;
constexpr const WCHAR* kArrowNames[6] = {u"DayUp",     u"DayDown", u"MonthUp",
                                         u"MonthDown", u"YearUp",  u"YearDown"};

constexpr UINT_PTR kRepeatTimer = 1;
constexpr UINT kCaptionId = 1;
constexpr WCHAR kFontFace[] = u"Times new roman";

UINT fieldOfKey(UINT keyId) {
    return (keyId - kFirstArrowKey) / 2;
}

bool isUpKey(UINT keyId) {
    return (keyId - kFirstArrowKey) % 2 == 0;
}

bool isArrowKey(UINT keyId) {
    return keyId >= kFirstArrowKey && keyId < kFirstArrowKey + 6;
}

bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// Days in month of year; 0 for a month outside 1..12.
int daysInMonth(int month, int year) {
    constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

SYSTEMTIME today() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return now;
}

SIZE bitmapSize(HBITMAP bitmap) {
    BITMAP bm{};
    if (bitmap == nullptr || GetObjectW(bitmap, sizeof(bm), &bm) == 0) return SIZE{0, 0};
    return SIZE{bm.bmWidth, bm.bmHeight};
}

}  // namespace

DatePicker::DatePicker()
    : m_month(today().wMonth),
      m_day(kDayField, 1, 31, kDigitWidths[kDayField], today().wDay),
      m_year(kYearField, kMinimumYear, kMaximumYear, kDigitWidths[kYearField], today().wYear) {}

DatePicker::~DatePicker() {
    for (auto& arrow : m_arrows)
        arrow.reset();
    m_caption.destroy();
    m_day.destroy();
    m_month.destroy();
    m_year.destroy();
    destroy();
    for (HGDIOBJ object : {static_cast<HGDIOBJ>(m_font), static_cast<HGDIOBJ>(m_captionFont),
                           static_cast<HGDIOBJ>(m_upNormal), static_cast<HGDIOBJ>(m_upPressed),
                           static_cast<HGDIOBJ>(m_downNormal), static_cast<HGDIOBJ>(m_downPressed)})
        if (object != nullptr) DeleteObject(object);
}

bool DatePicker::create(HWND parent, const RECT& rect, HINSTANCE resources) {
    if (rect.bottom - rect.top < scaleY(kFieldHeight + 2 * kArrowRowHeight)) return false;
    if (resources == nullptr) resources = Str::resourceModule();
    if (!loadImages(resources)) return false;
    readOrder();
    ControlBase::setBackgroundColor(kBackground);
    if (!ControlBase::create(parent, rect, u"DatePicker")) return false;
    if (m_font == nullptr)
        m_font = CreateFontW(scaleY(19), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0,
                             kFontFace);
    if (m_captionFont == nullptr)
        m_captionFont = CreateFontW(scaleY(13), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0,
                                    0, 0, 0, kFontFace);
    if (m_font == nullptr || m_captionFont == nullptr) return false;
    RECT client;
    GetClientRect(m_window, &client);
    if (!createFields(client) || !createArrowKeys()) return false;
    if (!m_caption.create(m_window, RECT{scaleX(2), 0, client.right, scaleY(16)}, u"Date", kCaptionId))
        return false;
    m_caption.setBackgroundColor(kBackground);
    m_caption.setFont(m_captionFont);
    m_caption.setTextColor(kCaptionColor);
    updateDayLimit();
    return true;
}

bool DatePicker::loadImages(HINSTANCE resources) {
    bool high = screenMetrics().highResolution;
    auto load = [&](UINT normal, UINT large) {
        return LoadBitmapW(resources, MAKEINTRESOURCEW(high ? large : normal));
    };
    if (m_upNormal == nullptr) m_upNormal = load(kUpImage, kUpImageHigh);
    if (m_upPressed == nullptr) m_upPressed = load(kUpPressedImage, kUpPressedImageHigh);
    if (m_downNormal == nullptr) m_downNormal = load(kDownImage, kDownImageHigh);
    if (m_downPressed == nullptr) m_downPressed = load(kDownPressedImage, kDownPressedImageHigh);
    if (!m_upNormal || !m_upPressed || !m_downNormal || !m_downPressed) return false;
    // The three arrows must fit side by side over the fields, and within an arrow row.
    int fieldsWidth = scaleX(kFieldWidths[0] + kFieldWidths[1] + kFieldWidths[2]);
    for (HBITMAP image : {m_upNormal, m_upPressed, m_downNormal, m_downPressed}) {
        SIZE size = bitmapSize(image);
        if (3 * size.cx > fieldsWidth || size.cy > scaleY(kArrowRowHeight)) return false;
    }
    return true;
}

void DatePicker::readOrder() {
    WCHAR text[8] = {};
    int order = 0;
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_IDATE, text, 8) > 0) {
        // Read as a number whether it comes as a digit character or as a value.
        order = text[0];
        if (order > 2) order -= '0';
        if (order < 0 || order > 2) order = 0;
    }
    switch (order) {
        case 1:
            m_order = {kDayField, kMonthField, kYearField};
            break;
        case 2:
            m_order = {kYearField, kMonthField, kDayField};
            break;
        default:
            m_order = {kMonthField, kDayField, kYearField};
            break;
    }
}

bool DatePicker::createFields(const RECT& client) {
    int total = scaleX(kFieldWidths[0] + kFieldWidths[1] + kFieldWidths[2] + 2 * kFieldGap);
    int left = (client.right - total) / 2;
    int top = (client.bottom - scaleY(kFieldHeight)) / 2;
    for (UINT id : m_order) {
        int width = scaleX(kFieldWidths[id]);
        RECT place{left, top, left + width, top + scaleY(kFieldHeight)};
        if (!field(id).create(m_window, place, kFieldNames[id], m_font, kBackground)) return false;
        left += width + scaleX(kFieldGap);
    }
    return true;
}

bool DatePicker::createArrowKeys() {
    for (UINT i = 0; i < m_arrows.size(); ++i) {
        UINT keyId = kFirstArrowKey + i;
        bool up = isUpKey(keyId);
        HBITMAP normal = up ? m_upNormal : m_downNormal;
        HBITMAP pressed = up ? m_upPressed : m_downPressed;
        SIZE size = bitmapSize(normal);
        RECT fieldRect;
        HWND fieldWindow = field(fieldOfKey(keyId)).window();
        GetWindowRect(fieldWindow, &fieldRect);
        MapWindowPoints(nullptr, m_window, reinterpret_cast<POINT*>(&fieldRect), 2);
        int left = fieldRect.left + (fieldRect.right - fieldRect.left - size.cx) / 2;
        int top =
            up ? fieldRect.top - scaleY(kArrowDistance) - size.cy : fieldRect.bottom + scaleY(kArrowDistance);
        m_arrows[i] = std::make_unique<ImageKey>();
        if (!m_arrows[i]->create(m_window, RECT{left, top, left + size.cx, top + size.cy}, kArrowNames[i],
                                 keyId))
            return false;
        m_arrows[i]->setImages(normal, pressed, RECT{0, 0, size.cx, size.cy});
        m_arrows[i]->setBackgroundColor(kBackground);
        m_arrows[i]->setTransparentColor(RGB(255, 255, 255));
    }
    return true;
}

DateField& DatePicker::field(UINT fieldId) {
    if (fieldId == kMonthField) return m_month;
    if (fieldId == kYearField) return m_year;
    return m_day;
}

ImageKey* DatePicker::arrowKey(UINT keyId) {
    return isArrowKey(keyId) ? m_arrows[keyId - kFirstArrowKey].get() : nullptr;
}

void DatePicker::updateDayLimit() {
    int days = daysInMonth(m_month.value(), m_year.value());
    if (days > 0) m_day.setMaximum(days);
}

FILETIME DatePicker::getDate() {
    SYSTEMTIME date{};
    date.wYear = static_cast<WORD>(year());
    date.wMonth = static_cast<WORD>(month());
    date.wDay = static_cast<WORD>(day());
    FILETIME result{};
    SystemTimeToFileTime(&date, &result);
    return result;
}

FILETIME DatePicker::setDate(const FILETIME& date) {
    FILETIME previous = getDate();
    SYSTEMTIME shown{};
    if (!FileTimeToSystemTime(&date, &shown)) return previous;
    m_day.setValue(shown.wDay);
    m_month.setValue(shown.wMonth);
    m_year.setValue(shown.wYear);
    // The fields' notifications arrive later; the day's limit must follow the new month and year now,
    // before anyone reads the date.
    m_day.setMaximum(std::max(daysInMonth(shown.wMonth, shown.wYear), 1));
    return previous;
}

int DatePicker::day() {
    // The day's limit comes from the month and year as they are handed out, so that a year typed
    // half-way (20, read as 1970) can never pair with 29 February.
    m_day.setMaximum(daysInMonth(m_month.state().clampedValue(), m_year.state().clampedValue()));
    return m_day.clampValue();
}

int DatePicker::month() {
    return m_month.clampValue();
}

int DatePicker::year() {
    return m_year.clampValue();
}

void DatePicker::setBackground(COLORREF color) {
    ControlBase::setBackgroundColor(color);
    m_caption.setBackgroundColor(color);
    for (UINT id : {kDayField, kMonthField, kYearField})
        field(id).setNormalBackground(color);
    for (auto& arrow : m_arrows)
        if (arrow) arrow->setBackgroundColor(color);
}

LRESULT DatePicker::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    UINT id = static_cast<UINT>(wParam);
    switch (message) {
        case WM_DATEFIELD_UP:
            field(id).increment();
            return 0;
        case WM_DATEFIELD_DOWN:
            field(id).decrement();
            return 0;
        case WM_DATEFIELD_LEFT:
        case WM_DATEFIELD_RIGHT:
            focusNeighbour(id, message == WM_DATEFIELD_LEFT ? -1 : 1);
            return 0;
        case WM_DATEFIELD_CHANGED:
            if (id == kMonthField || id == kYearField) updateDayLimit();
            return 0;
        case WM_KEY_CLICKED:
            if (m_repeated && id == m_repeatKey) {
                m_repeated = false;
                m_repeatKey = 0;
            } else {
                stepByKey(id);
            }
            return 0;
        case WM_KEY_PRESSED:
            keyPressed(id);
            return 0;
        case WM_KEY_RELEASED:
            keyReleased(id);
            return 0;
        case WM_TIMER:
            if (wParam == kRepeatTimer) repeatTick();
            return 0;
        case WM_CHAR:
            forwardCharacter(wParam);
            return 0;
        case WM_SETFOCUS:
            SetFocus(m_day.window());
            return 0;
        case WM_DATEPICKER_REPAINT:
        case WM_DATEPICKER_REPAINT_ALL:
            repaintAll();
            return 0;
        default:
            return ControlBase::windowProc(window, message, wParam, lParam);
    }
}

void DatePicker::focusNeighbour(UINT fieldId, int direction) {
    auto at = std::find(m_order.begin(), m_order.end(), fieldId);
    if (at == m_order.end()) return;
    int index = static_cast<int>(at - m_order.begin());
    int next = (index + direction + 3) % 3;
    SetFocus(field(m_order[static_cast<size_t>(next)]).window());
}

void DatePicker::stepByKey(UINT keyId) {
    if (!isArrowKey(keyId)) return;
    DateField& target = field(fieldOfKey(keyId));
    if (isUpKey(keyId))
        target.increment();
    else
        target.decrement();
}

void DatePicker::keyPressed(UINT keyId) {
    if (!isArrowKey(keyId)) return;
    SetFocus(field(fieldOfKey(keyId)).window());
    m_repeatKey = keyId;
    m_repeated = false;
    m_repeating = false;
    SetTimer(m_window, kRepeatTimer, kRepeatDelayMs, nullptr);
}

void DatePicker::keyReleased(UINT keyId) {
    if (keyId != m_repeatKey) return;
    KillTimer(m_window, kRepeatTimer);
    // The click that may follow this release is swallowed when the key has already stepped by
    // itself; a release outside the key sends no click, so the next press starts afresh.
    if (!m_repeated) m_repeatKey = 0;
}

void DatePicker::repeatTick() {
    ImageKey* key = arrowKey(m_repeatKey);
    if (key == nullptr) {
        KillTimer(m_window, kRepeatTimer);
        return;
    }
    // The key steps while the stylus holds it down inside it; outside it waits for the stylus to
    // come back.
    bool first = !m_repeating;
    m_repeating = true;
    if (key->isHeld()) {
        stepByKey(m_repeatKey);
        m_repeated = true;
    }
    // The first tick ends the delay; from then on the timer runs at the repeat interval.
    if (first) SetTimer(m_window, kRepeatTimer, kRepeatIntervalMs, nullptr);
}

void DatePicker::forwardCharacter(WPARAM character) {
    HWND focus = GetFocus();
    for (UINT id : {kDayField, kMonthField, kYearField}) {
        if (field(id).window() == focus) {
            SendMessageW(focus, WM_KEYDOWN, character, 0);
            return;
        }
    }
}

void DatePicker::repaintAll() {
    repaint(false);
    for (UINT id : {kDayField, kMonthField, kYearField})
        InvalidateRect(field(id).window(), nullptr, FALSE);
}
