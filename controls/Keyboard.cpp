// Keyboard: the two arrangements of the twelve keys at both resolutions, the letter labels with
// their shared shrinking fonts, and the key reports with the backspace long press.

#include "Keyboard.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "ControlMessages.h"
#include "ScreenMetrics.h"

namespace {

constexpr UINT kBackspaceId = 10;
constexpr int kLabelFontUnits = 16;
constexpr int kInitialWidthUnits = 240;
constexpr int kInitialHeightUnits = 106;

// Set from a backspace press until its long press fires or its click arrives; one value for the
// program, as only one finger presses backspace at a time.
bool g_backspacePending = false;

// The key images of each arrangement, for screens without and with the 400/800 flag.
struct LayoutImages {
    int mode;
    bool screen400or800;
    UINT normal;
    UINT pressed;
    UINT normalHigh;
    UINT pressedHigh;
};
constexpr LayoutImages kLayoutImages[] = {
    {Keyboard::kPortrait, false, 157, 159, 188, 189},
    {Keyboard::kPortrait, true, 198, 219, 199, 220},
    {Keyboard::kLandscape, false, 160, 158, 190, 191},
    {Keyboard::kLandscape, true, 221, 223, 222, 224},
};

// Where the keys lie, in 96-dpi units of the key images: rows of key ids from the top, the column
// widths, the row height, the first key's corner (one unit between neighbouring keys) and the
// label area inside a key.
struct Grid {
    std::vector<std::vector<UINT>> rows;
    std::vector<int> columns;
    int rowHeight;
    POINT origin;
    RECT labelArea;
};

Grid gridFor(int mode, bool screen400or800) {
    if (mode == Keyboard::kPortrait) {
        return Grid{{{1, 2, 3, 10}, {4, 5, 6, 12}, {7, 8, 9, 0}},
                    {64, 64, 64, 43},
                    screen400or800 ? 52 : 34,
                    POINT{1, 1},
                    screen400or800 ? RECT{18, 14, 62, 37} : RECT{18, 7, 62, 30}};
    }
    return Grid{{{1, 2}, {3, 4}, {5, 6}, {7, 8}, {9, 0}, {10, 12}},
                screen400or800 ? std::vector<int>{78, 79} : std::vector<int>{38, 39},
                34,
                POINT{1, 0},
                screen400or800 ? RECT{8, 7, 67, 27} : RECT{3, 12, 35, 32}};
}

const WCHAR* keyName(UINT id) {
    static const WCHAR* const kDigits[] = {u"0", u"1", u"2", u"3", u"4", u"5", u"6", u"7", u"8", u"9"};
    if (id < 10) return kDigits[id];
    return id == kBackspaceId ? u"Backspace" : u"Dot";
}

HFONT labelFont() {
    return CreateFontW(scaleY(kLabelFontUnits), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0,
                       0, 0, 0, u"Tahoma");
}

SIZE bitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    if (bitmap == nullptr || GetObjectW(bitmap, sizeof(info), &info) == 0) return SIZE{0, 0};
    return SIZE{info.bmWidth, info.bmHeight};
}

}  // namespace

Keyboard::~Keyboard() {
    destroy();
    for (HBITMAP bitmap : {m_normal, m_pressed})
        if (bitmap != nullptr) DeleteObject(bitmap);
    for (HFONT font : {m_normalFont, m_pressedFont})
        if (font != nullptr) DeleteObject(font);
}

bool Keyboard::create(HWND parent, int x, int y, int mode, HINSTANCE resources) {
    m_resources = resources;
    setBackgroundColor(kBackground);
    RECT rect{x, y, x + scaleX(kInitialWidthUnits), y + scaleY(kInitialHeightUnits)};
    if (!ControlBase::create(parent, rect, u"Keyboard")) return false;
    if (m_normalFont == nullptr) m_normalFont = labelFont();
    if (m_pressedFont == nullptr) m_pressedFont = labelFont();
    for (int i = 0; i < kKeyCount; ++i) {
        UINT id = kKeyIds[static_cast<size_t>(i)];
        TextKey& key = m_keys[static_cast<size_t>(i)];
        key.setBackgroundColor(kBackground);
        if (!key.create(m_window, RECT{0, 0, 1, 1}, keyName(id), u"", id, &m_normalFont, &m_pressedFont))
            return false;
    }
    m_mode = kNoLayout;
    return setLayout(mode);
}

bool Keyboard::setLayout(int mode) {
    if (m_window == nullptr || mode == m_mode) return m_window != nullptr;
    const ScreenMetrics& metrics = screenMetrics();
    const LayoutImages* images = nullptr;
    for (const LayoutImages& candidate : kLayoutImages)
        if (candidate.mode == mode && candidate.screen400or800 == metrics.screen400or800) images = &candidate;
    if (images == nullptr) return false;
    bool high = metrics.highResolution;
    HBITMAP normal = LoadBitmapW(m_resources, MAKEINTRESOURCEW(high ? images->normalHigh : images->normal));
    HBITMAP pressed =
        LoadBitmapW(m_resources, MAKEINTRESOURCEW(high ? images->pressedHigh : images->pressed));
    SIZE size = bitmapSize(normal);
    if (size.cx == 0 || pressed == nullptr) {
        for (HBITMAP bitmap : {normal, pressed})
            if (bitmap != nullptr) DeleteObject(bitmap);
        return false;
    }
    placeKeys(mode, normal, pressed);
    for (HBITMAP bitmap : {m_normal, m_pressed})
        if (bitmap != nullptr) DeleteObject(bitmap);
    m_normal = normal;
    m_pressed = pressed;
    m_mode = mode;
    m_keysSize = size;
    SetWindowPos(m_window, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    repaint(false);
    return true;
}

void Keyboard::placeKeys(int mode, HBITMAP normal, HBITMAP pressed) {
    Grid grid = gridFor(mode, screenMetrics().screen400or800);
    // Keys are placed in the images' own pixels, so that each shows exactly its own symbol.
    int factor = screenMetrics().highResolution ? 2 : 1;
    int top = grid.origin.y;
    for (const std::vector<UINT>& row : grid.rows) {
        int left = grid.origin.x;
        for (size_t column = 0; column < row.size(); ++column) {
            int width = grid.columns[column];
            RECT rect{left * factor, top * factor, (left + width) * factor, (top + grid.rowHeight) * factor};
            TextKey& key = m_keys[static_cast<size_t>(indexOf(row[column]))];
            MoveWindow(key.window(), rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                       FALSE);
            key.setImages(normal, pressed, rect);
            // A key narrower than the label area keeps its label inside itself.
            RECT area = grid.labelArea;
            area.right = std::min<LONG>(area.right, width - 1);
            key.setTextRect(
                RECT{area.left * factor, area.top * factor, area.right * factor, area.bottom * factor});
            left += width + 1;
        }
        top += grid.rowHeight + 1;
    }
}

void Keyboard::setLabels(int count, const std::u16string* texts) {
    recreateLabelFont();
    int used = std::clamp(count, 0, kKeyCount);
    for (int i = 0; i < used; ++i)
        m_keys[static_cast<size_t>(i)].setText(texts[i].c_str());
    // Every label is fitted again to the font that started over; they shrink to the widest one.
    for (TextKey& key : m_keys)
        key.fitFonts();
    for (TextKey& key : m_keys)
        if (key.window() != nullptr) InvalidateRect(key.window(), nullptr, FALSE);
}

void Keyboard::recreateLabelFont() {
    if (m_normalFont != nullptr) DeleteObject(m_normalFont);
    m_normalFont = labelFont();
}

std::u16string Keyboard::label(UINT keyId) const {
    int index = indexOf(keyId);
    if (index < 0) return {};
    const Str& text = m_keys[static_cast<size_t>(index)].text();
    return std::u16string(text.c_str(), static_cast<size_t>(text.length()));
}

TextKey* Keyboard::key(UINT keyId) {
    int index = indexOf(keyId);
    return index < 0 ? nullptr : &m_keys[static_cast<size_t>(index)];
}

int Keyboard::labelFontHeight() const {
    LOGFONTW description{};
    if (m_normalFont == nullptr || GetObjectW(m_normalFont, sizeof(description), &description) == 0) return 0;
    return std::abs(static_cast<int>(description.lfHeight));
}

int Keyboard::indexOf(UINT keyId) const {
    for (int i = 0; i < kKeyCount; ++i)
        if (kKeyIds[static_cast<size_t>(i)] == keyId) return i;
    return -1;
}

LRESULT Keyboard::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_KEY_PRESSED:
            onKeyPressed(static_cast<UINT>(wParam));
            return 0;
        case WM_KEY_RELEASED:
            onKeyReleased(static_cast<UINT>(wParam));
            return 0;
        case WM_KEY_CLICKED:
            onKeyClicked(static_cast<UINT>(wParam));
            return 0;
        case WM_TIMER:
            if (wParam == kLongPressTimer) onLongPress();
            return 0;
        default:
            return ControlBase::windowProc(window, message, wParam, lParam);
    }
}

void Keyboard::onKeyPressed(UINT keyId) {
    if (keyId != kBackspaceId) return;
    g_backspacePending = true;
    SetTimer(m_window, kLongPressTimer, kLongPressMs, nullptr);
}

void Keyboard::onKeyReleased(UINT keyId) {
    // The finger left backspace before the long press: no clear may follow once it is gone. The
    // click, when the finger lifted on the key, still reports the backspace.
    if (keyId == kBackspaceId) KillTimer(m_window, kLongPressTimer);
}

void Keyboard::onKeyClicked(UINT keyId) {
    if (keyId != kBackspaceId) {
        report(keyId);
        return;
    }
    // After a long press the click is swallowed.
    if (!g_backspacePending) return;
    g_backspacePending = false;
    KillTimer(m_window, kLongPressTimer);
    report(kKeypadBackspace);
}

void Keyboard::onLongPress() {
    g_backspacePending = false;
    report(kKeypadClear);
    if (TextKey* backspace = key(kBackspaceId)) backspace->release();
    KillTimer(m_window, kLongPressTimer);
}

void Keyboard::report(WPARAM code) {
    if (m_feedback) m_feedback();
    HWND parent = GetParent(m_window);
    if (parent != nullptr) PostMessageW(parent, WM_KEYPAD_KEY, code, 0);
}
