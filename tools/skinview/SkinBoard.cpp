// The skin board's layout, painting (plain copies of the skin bitmaps' slices, texts in the program's
// fonts) and stylus handling.
#include "SkinBoard.h"

#include <algorithm>

namespace skinview {
namespace {

constexpr WCHAR kClassName[] = u"VarkelSkinBoard";

// A Tahoma font of the given points at the vertical resolution, as the program sizes its fonts.
HFONT tahoma(const SkinMetrics& metrics, int points, int weight, bool underline) {
    int height = -static_cast<int>(metrics.dpiY * points / 72.0 + 0.5);
    return CreateFontW(height, 0, 0, 0, weight, 0, underline ? 1 : 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH, u"Tahoma");
}

}  // namespace

SIZE bitmapSize(HBITMAP bitmap) {
    BITMAP bm{};
    if (bitmap == nullptr || GetObjectW(bitmap, sizeof(bm), &bm) == 0) return SIZE{0, 0};
    return SIZE{bm.bmWidth, bm.bmHeight};
}

SkinMetrics SkinMetrics::ofScreen() {
    SkinMetrics metrics;
    HDC screen = GetDC(nullptr);
    metrics.dpiX = GetDeviceCaps(screen, LOGPIXELSX);
    metrics.dpiY = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    metrics.highResolution = metrics.dpiX >= 132 || metrics.dpiY > 131;
    return metrics;
}

const std::vector<StripSkin>& stripSkins() {
    static const std::vector<StripSkin> kStrips = {
        {143,
         144,
         183,
         182,
         {{118, u"Зап. & Новый", 101, RGB(0, 0, 0)},
          {119, u"Записать", 94, RGB(0, 0, 0)},
          {120, u"Выход", 45, RGB(0, 0, 0)}}},
        {145, 146, 181, 180, {{122, u"OK", 130, RGB(0, 0, 0)}, {121, u"Закрыть", 110, RGB(0, 0, 0)}}},
        {196,
         194,
         197,
         195,
         {{122, u"OK", 91, RGB(0, 0, 0)},
          {126, u"Нов.", 59, RGB(72, 113, 168)},
          {121, u"Закрыть", 90, RGB(0, 0, 0)}}},
    };
    return kStrips;
}

SkinBoard::~SkinBoard() {
    if (m_window != nullptr && IsWindow(m_window)) {
        SetWindowLongPtrW(m_window, GWLP_USERDATA, 0);
        DestroyWindow(m_window);
    }
    for (HGDIOBJ object :
         {static_cast<HGDIOBJ>(m_header), static_cast<HGDIOBJ>(m_field), static_cast<HGDIOBJ>(m_toggleOff),
          static_cast<HGDIOBJ>(m_toggleOn), static_cast<HGDIOBJ>(m_titleFont),
          static_cast<HGDIOBJ>(m_labelFont), static_cast<HGDIOBJ>(m_buttonFont)})
        if (object != nullptr) DeleteObject(object);
    for (HBITMAP bitmap : m_stripNormal)
        DeleteObject(bitmap);
    for (HBITMAP bitmap : m_stripPressed)
        DeleteObject(bitmap);
}

bool SkinBoard::loadSkins(HINSTANCE resources) {
    bool high = m_metrics.highResolution;
    auto load = [&](UINT normal, UINT highId) {
        return LoadBitmapW(resources, MAKEINTRESOURCEW(high ? highId : normal));
    };
    m_header = load(kHeaderBar, kHeaderBarHigh);
    m_field = load(kField, kFieldHigh);
    m_toggleOff = load(kToggleOff, kToggleOffHigh);
    m_toggleOn = load(kToggleOn, kToggleOnHigh);
    bool ok = m_header && m_field && m_toggleOff && m_toggleOn;
    for (const StripSkin& strip : stripSkins()) {
        m_stripNormal.push_back(load(strip.normal, strip.highNormal));
        m_stripPressed.push_back(load(strip.pressed, strip.highPressed));
        ok = ok && m_stripNormal.back() && m_stripPressed.back();
    }
    m_titleFont = tahoma(m_metrics, 8, FW_NORMAL, true);
    m_labelFont = tahoma(m_metrics, 8, FW_NORMAL, false);
    m_buttonFont = tahoma(m_metrics, 10, FW_BOLD, false);
    return ok && m_titleFont && m_labelFont && m_buttonFont;
}

bool SkinBoard::create(HINSTANCE resources) {
    m_metrics = SkinMetrics::ofScreen();
    m_resources = resources;
    if (!loadSkins(resources)) return false;
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kClassName;
    RegisterClassW(&windowClass);  // fails harmlessly when a board was created before
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    m_window = CreateWindowExW(0, kClassName, u"Skins", WS_POPUP, 0, 0, width, height, nullptr, nullptr,
                               windowClass.hInstance, nullptr);
    if (m_window == nullptr) return false;
    SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SHFullScreen(m_window, SHFS_HIDETASKBAR | SHFS_HIDESIPBUTTON | SHFS_HIDESTARTICON);
    ShowWindow(m_window, SW_SHOW);
    UpdateWindow(m_window);
    return true;
}

void SkinBoard::showStrip(int strip) {
    if (strip < 0 || strip >= static_cast<int>(stripSkins().size()) || strip == m_strip) return;
    if (m_heldButton >= 0 && GetCapture() == m_window) ReleaseCapture();
    m_heldButton = -1;
    invalidate(stripRect());
    m_strip = strip;
    invalidate(stripRect());
}

RECT SkinBoard::headerRect() const {
    RECT client{};
    GetClientRect(m_window, &client);
    return RECT{0, 0, client.right, bitmapSize(m_header).cy};
}

RECT SkinBoard::titleRect() const {
    WCHAR title[64] = {};
    LoadStringW(m_resources, kTitleString, title, 64);
    HDC hdc = GetDC(m_window);
    HGDIOBJ previous = SelectObject(hdc, m_titleFont);
    SIZE extent{};
    GetTextExtentPoint32W(hdc, title, static_cast<int>(std::char_traits<char16_t>::length(title)), &extent);
    SelectObject(hdc, previous);
    ReleaseDC(m_window, hdc);
    RECT header = headerRect();
    return RECT{header.right - extent.cx - m_metrics.scaleX(4), 0, header.right, header.bottom};
}

RECT SkinBoard::rowRect(int row) const {
    SIZE field = bitmapSize(m_field);
    int top = headerRect().bottom + row * (field.cy + m_metrics.scaleY(1));
    return RECT{0, top, field.cx, top + field.cy};
}

RECT SkinBoard::panelRect() const {
    return RECT{0, rowRect(0).top, rowRect(3).right, rowRect(3).bottom};
}

RECT SkinBoard::toggleRect() const {
    SIZE toggle = bitmapSize(m_toggleOff);
    RECT panel = panelRect();
    return RECT{panel.right - toggle.cx, panel.top, panel.right, panel.top + toggle.cy};
}

RECT SkinBoard::stripRect() const {
    SIZE strip = bitmapSize(m_stripNormal[static_cast<size_t>(m_strip)]);
    int top = panelRect().bottom;
    return RECT{0, top, strip.cx, top + strip.cy};
}

RECT SkinBoard::buttonRect(int button) const {
    const auto& buttons = stripSkins()[static_cast<size_t>(m_strip)].buttons;
    RECT strip = stripRect();
    int left = 0;
    for (int i = 0; i < button; ++i)
        left += m_metrics.scaleX(buttons[static_cast<size_t>(i)].width);
    int width = m_metrics.scaleX(buttons[static_cast<size_t>(button)].width);
    return RECT{left, strip.top, left + width, strip.bottom};
}

int SkinBoard::buttonAt(POINT point) const {
    int count = static_cast<int>(stripSkins()[static_cast<size_t>(m_strip)].buttons.size());
    for (int i = 0; i < count; ++i) {
        RECT r = buttonRect(i);
        if (PtInRect(&r, point)) return i;
    }
    return -1;
}

void SkinBoard::invalidate(const RECT& rect) {
    InvalidateRect(m_window, &rect, FALSE);
}

}  // namespace skinview
