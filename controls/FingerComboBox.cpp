// FingerComboBox: its label and drop key, opening and closing the drop list, and taking the row the
// user picked.

#include "FingerComboBox.h"

#include "ControlMessages.h"
#include "ScreenMetrics.h"

namespace {

// The drop key's images (normal look, pressed look; high-resolution variants), white transparent.
constexpr UINT kDropKeyNormal = 164;
constexpr UINT kDropKeyPressed = 165;
constexpr UINT kDropKeyNormalHigh = 184;
constexpr UINT kDropKeyPressedHigh = 185;
constexpr COLORREF kDropKeyTransparent = RGB(255, 255, 255);

constexpr RECT kLabelUnits{0, 0, 34, 14};
constexpr RECT kDropKeyUnits{34, 2, 49, 13};
constexpr int kFontUnits = 14;

RECT scaled(const RECT& units) {
    return RECT{scaleX(units.left), scaleY(units.top), scaleX(units.right), scaleY(units.bottom)};
}

SIZE bitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    if (bitmap == nullptr || GetObjectW(bitmap, sizeof(info), &info) == 0) return SIZE{0, 0};
    return SIZE{info.bmWidth, info.bmHeight};
}

}  // namespace

FingerComboBox::~FingerComboBox() {
    m_dropList.destroy();
    destroy();
    for (HBITMAP bitmap : {m_keyNormal, m_keyPressed})
        if (bitmap != nullptr) DeleteObject(bitmap);
    if (m_font != nullptr) DeleteObject(m_font);
}

bool FingerComboBox::create(HWND parent, int x, int y, HINSTANCE resources) {
    bool high = screenMetrics().highResolution;
    m_keyNormal = LoadBitmapW(resources, MAKEINTRESOURCEW(high ? kDropKeyNormalHigh : kDropKeyNormal));
    m_keyPressed = LoadBitmapW(resources, MAKEINTRESOURCEW(high ? kDropKeyPressedHigh : kDropKeyPressed));
    SIZE image = bitmapSize(m_keyNormal);
    if (image.cx == 0 || m_keyPressed == nullptr) return false;
    RECT rect{x, y, x + scaleX(kWidthUnits), y + scaleY(kHeightUnits)};
    if (!ControlBase::create(parent, rect, u"FingerComboBox")) return false;
    m_font = CreateFontW(scaleY(kFontUnits), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0,
                         0, u"Times new roman");
    m_label.setBackgroundColor(backgroundColor());
    if (!m_label.create(m_window, scaled(kLabelUnits), u"XXX", 0)) return false;
    m_label.setFont(m_font);
    m_label.setAlignment(kAlignRight);
    m_dropKey.setBackgroundColor(backgroundColor());
    if (!m_dropKey.create(m_window, scaled(kDropKeyUnits), u"Drop", kDropKeyId)) return false;
    m_dropKey.setImages(m_keyNormal, m_keyPressed, RECT{0, 0, image.cx, image.cy});
    m_dropKey.setTransparentColor(kDropKeyTransparent);
    return m_dropList.create(m_window, resources);
}

void FingerComboBox::setBackgroundColor(COLORREF color) {
    ControlBase::setBackgroundColor(color);
    m_label.setBackgroundColor(color);
    m_dropKey.setBackgroundColor(color);
}

void FingerComboBox::setItems(std::vector<ListItem> items) {
    m_dropList.view().setItems(std::move(items));
    m_current = -2;  // so that selecting row 0 (or none) always updates the label
    select(0);
}

void FingerComboBox::select(int index) {
    FingerListView& view = m_dropList.view();
    if (index < 0 || index >= view.count()) index = -1;
    view.select(index);
    if (index == m_current) return;
    m_current = index;
    const ListItem* item = currentItem();
    m_label.setText(item != nullptr ? item->text.c_str() : u"", false);
}

const ListItem* FingerComboBox::currentItem() const {
    const std::vector<ListItem>& items = m_dropList.view().items();
    return m_current >= 0 && m_current < static_cast<int>(items.size())
               ? &items[static_cast<size_t>(m_current)]
               : nullptr;
}

void FingerComboBox::open() {
    if (m_window == nullptr || isOpen()) return;
    m_dropList.view().select(m_current);
    RECT screen{};
    GetWindowRect(m_window, &screen);
    m_dropList.show(screen);
}

void FingerComboBox::close() {
    m_dropList.hide();
}

LRESULT FingerComboBox::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_KEY_CLICKED:
            if (wParam == kDropKeyId) open();
            return 0;
        case WM_LABEL_CLICKED:
            open();
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_UP || wParam == VK_DOWN) {
                open();
                return 0;
            }
            break;
        case WM_LIST_CONFIRMED:
            select(static_cast<int>(wParam));
            m_changed = true;
            close();
            return 0;
        case WM_DROPLIST_CLOSE:
            // A tap outside keeps the current row: a selection moved in the list is discarded.
            m_dropList.view().select(m_current);
            close();
            return 0;
        default:
            break;
    }
    return ControlBase::windowProc(window, message, wParam, lParam);
}
