// The strips' skins and labels, their painting and the stylus handling of their buttons.
#include "ButtonStrip.h"

#include <algorithm>

#include "ScreenMetrics.h"
#include "ShellCommands.h"
#include "Str.h"

namespace shell {
namespace {

// Rows at the top and bottom of a strip's bitmap that hold the keys' rounded corners (the keys'
// radius with their margin and rim), in 96-dpi units.
constexpr int kCornerUnits = 8;

}  // namespace

const StripSkin& formStripSkin() {
    static const StripSkin kSkin{143,
                                 144,
                                 183,
                                 182,
                                 {{kCmdSaveAndNew, kStringSaveAndNew, 101, RGB(0, 0, 0)},
                                  {kCmdSave, kStringSave, 94, RGB(0, 0, 0)},
                                  {kCmdExit, kStringExit, 45, RGB(0, 0, 0)}}};
    return kSkin;
}

const StripSkin& confirmStripSkin() {
    static const StripSkin kSkin{
        145,
        146,
        181,
        180,
        {{kCmdOk, kStringOk, 130, RGB(0, 0, 0)}, {kCmdClose, kStringClose, 110, RGB(0, 0, 0)}}};
    return kSkin;
}

const StripSkin& confirmOrCreateStripSkin() {
    static const StripSkin kSkin{196,
                                 194,
                                 197,
                                 195,
                                 {{kCmdOk, kStringOk, 91, RGB(0, 0, 0)},
                                  {kCmdCreate, kStringNew, 59, RGB(72, 113, 168)},
                                  {kCmdClose, kStringClose, 90, RGB(0, 0, 0)}}};
    return kSkin;
}

ButtonStrip::~ButtonStrip() {
    destroy();
    if (m_normal != nullptr) DeleteObject(m_normal);
    if (m_pressed != nullptr) DeleteObject(m_pressed);
}

bool ButtonStrip::create(HWND parent, HINSTANCE resources, const StripSkin& skin) {
    m_skin = skin;
    m_labels.clear();
    for (const StripButton& button : skin.buttons) {
        Str label;
        label.load(button.label, resources);
        m_labels.emplace_back(label.c_str());
    }
    bool high = screenMetrics().highResolution;
    m_normal = LoadBitmapW(resources, MAKEINTRESOURCEW(high ? skin.normalHigh : skin.normal));
    m_pressed = LoadBitmapW(resources, MAKEINTRESOURCEW(high ? skin.pressedHigh : skin.pressed));
    BITMAP info{};
    if (m_normal == nullptr || m_pressed == nullptr || GetObjectW(m_normal, sizeof(info), &info) == 0)
        return false;
    m_bitmapSize = SIZE{info.bmWidth, info.bmHeight};
    RECT rect{0, 0, info.bmWidth, info.bmHeight};
    return WindowObject::create(0, u"ButtonStrip", WS_CHILD, rect, parent, 0) != nullptr;
}

RECT ButtonStrip::buttonRect(int index) const {
    if (index < 0 || index >= buttonCount()) return RECT{};
    RECT client{};
    GetClientRect(m_window, &client);
    int left = 0;
    for (int i = 0; i < index; ++i)
        left += scaleX(m_skin.buttons[static_cast<size_t>(i)].width);
    int width = scaleX(m_skin.buttons[static_cast<size_t>(index)].width);
    return RECT{left, 0, left + width, client.bottom};
}

void ButtonStrip::paint(HDC hdc) {
    RECT client{};
    GetClientRect(m_window, &client);
    FillRect(hdc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    HDC source = CreateCompatibleDC(hdc);
    HGDIOBJ previousFont = SelectObject(hdc, sharedFont(2));
    SetBkMode(hdc, TRANSPARENT);
    for (int i = 0; i < buttonCount(); ++i) {
        const StripButton& button = m_skin.buttons[static_cast<size_t>(i)];
        RECT rect = buttonRect(i);
        bool pressed = i == heldItem() && heldLooksPressed();
        HGDIOBJ previous = SelectObject(source, pressed ? m_pressed : m_normal);
        drawSlice(hdc, source, rect.left, rect.right - rect.left, client.bottom);
        SelectObject(source, previous);
        SetTextColor(hdc, button.textColour);
        const std::u16string& label = m_labels[static_cast<size_t>(i)];
        DrawTextW(hdc, label.c_str(), static_cast<int>(label.size()), &rect,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    SelectObject(hdc, previousFont);
    DeleteDC(source);
}

void ButtonStrip::drawSlice(HDC hdc, HDC source, int left, int width, int height) const {
    // The layout may make the strip taller or shorter than its bitmap. Only the middle rows stretch:
    // the rows of the keys' rounded corners at the top and bottom are copied as they are.
    int bitmapHeight = m_bitmapSize.cy;
    int corner = std::min(scaleY(kCornerUnits), bitmapHeight / 2);
    if (height < 2 * corner || bitmapHeight <= 2 * corner) {
        StretchBlt(hdc, left, 0, width, height, source, left, 0, width, bitmapHeight, SRCCOPY);
        return;
    }
    BitBlt(hdc, left, 0, width, corner, source, left, 0, SRCCOPY);
    StretchBlt(hdc, left, corner, width, height - 2 * corner, source, left, corner, width,
               bitmapHeight - 2 * corner, SRCCOPY);
    BitBlt(hdc, left, height - corner, width, corner, source, left, bitmapHeight - corner, SRCCOPY);
}

std::u16string ButtonStrip::label(int index) const {
    if (index < 0 || index >= static_cast<int>(m_labels.size())) return {};
    return m_labels[static_cast<size_t>(index)];
}

UINT ButtonStrip::itemCommand(int index) const {
    return m_skin.buttons[static_cast<size_t>(index)].command;
}

}  // namespace shell
