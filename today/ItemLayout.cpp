// The item window's geometry.
#include "ItemLayout.h"

namespace today {

namespace {

constexpr int kSetupColumnUnits = 30;
constexpr int kLaunchButtonUnits = 32;
constexpr int kLines = 2;

bool inside(const RECT& r, POINT p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

}  // namespace

ItemLayout::ItemLayout(int dpiX, int dpiY, int lineHeight)
    : m_dpiX(dpiX), m_dpiY(dpiY), m_lineHeight(lineHeight) {}

int ItemLayout::itemHeight() const {
    if (highResolution()) return ((m_lineHeight + 4) * m_dpiY + 48) / 96;
    return ((kLines * m_lineHeight + 8) * m_dpiY + 48) / 96;
}

int ItemLayout::fontHeight() const {
    return -static_cast<int>(m_dpiY / 9.0 + 0.5);
}

RECT ItemLayout::setupArea(const RECT& client) const {
    return RECT{client.left, client.top, client.left + scaleX(kSetupColumnUnits), client.bottom};
}

RECT ItemLayout::launchButton(const RECT& client) const {
    const int width = scaleX(kLaunchButtonUnits), height = scaleY(kLaunchButtonUnits);
    const int top = client.top + (client.bottom - client.top - height) / 2;
    return RECT{client.right - width, top, client.right, top + height};
}

RECT ItemLayout::textArea(const RECT& client) const {
    return RECT{setupArea(client).right, client.top, launchButton(client).left, client.bottom};
}

int ItemLayout::firstLineTop(const RECT& client) const {
    return client.top + (client.bottom - client.top - kLines * m_lineHeight) / 2;
}

Area ItemLayout::areaAt(const RECT& client, POINT point) const {
    if (!inside(client, point)) return Area::None;
    if (inside(launchButton(client), point)) return Area::Launch;
    if (inside(setupArea(client), point)) return Area::Setup;
    return Area::Text;
}

}  // namespace today
