// The device screen: framebuffer, profile from VARKEL_SCREEN, work area, rotation and frame hooks.

#include "Screen.h"

#include <cstdio>
#include <cstdlib>

#include "platform/detail/Gdi.h"

namespace platform {

namespace {

// Heights in 96-dpi units of the task bar (top) and the input panel's bar (bottom) of the device.
constexpr int kTaskBarUnits = 26;
constexpr int kInputPanelBarUnits = 26;

bool parseNumber(const std::string& text, size_t& pos, char stop, int& value) {
    size_t start = pos;
    value = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        if (value > 100000) return false;
        value = value * 10 + (text[pos] - '0');
        ++pos;
    }
    if (pos == start) return false;
    if (stop == '\0') return pos == text.size();
    if (pos >= text.size() || text[pos] != stop) return false;
    ++pos;
    return true;
}

}  // namespace

bool parseScreenProfile(const std::string& text, ScreenProfile& profile) {
    ScreenProfile parsed;
    size_t pos = 0;
    if (!parseNumber(text, pos, 'x', parsed.width) || !parseNumber(text, pos, '@', parsed.height) ||
        !parseNumber(text, pos, '\0', parsed.dpi))
        return false;
    auto sideOk = [](int side) { return side >= 16 && side <= 4096; };
    if (!sideOk(parsed.width) || !sideOk(parsed.height) || parsed.dpi < 48 || parsed.dpi > 480) return false;
    profile = parsed;
    return true;
}

Screen& Screen::instance() {
    static Screen screen;
    return screen;
}

Screen::Screen() {
    ScreenProfile profile;
    if (const char* text = std::getenv("VARKEL_SCREEN"); text && *text) {
        if (!parseScreenProfile(text, profile))
            std::fprintf(stderr, "VARKEL_SCREEN=\"%s\" is not WIDTHxHEIGHT@DPI; using 240x320@96\n", text);
    }
    m_profile = profile;
    m_surface = std::make_shared<Surface>(profile.width, profile.height);
    setScreenDpi(profile.dpi);
}

void Screen::configure(const ScreenProfile& profile) {
    {
        std::lock_guard lock(m_mutex);
        m_profile = profile;
        m_surface = std::make_shared<Surface>(profile.width, profile.height);
        m_taskBarShown = true;
        m_inputPanelShown = true;
    }
    setScreenDpi(profile.dpi);
    notify(true);
}

void Screen::rotate() {
    {
        std::lock_guard lock(m_mutex);
        std::swap(m_profile.width, m_profile.height);
        m_surface = std::make_shared<Surface>(m_profile.width, m_profile.height);
    }
    notify(true);
}

std::shared_ptr<Surface> Screen::surface() const {
    std::lock_guard lock(m_mutex);
    return m_surface;
}

int Screen::width() const {
    std::lock_guard lock(m_mutex);
    return m_profile.width;
}

int Screen::height() const {
    std::lock_guard lock(m_mutex);
    return m_profile.height;
}

int Screen::dpi() const {
    std::lock_guard lock(m_mutex);
    return m_profile.dpi;
}

int Screen::scale(int units) const {
    return (dpi() * units + 48) / 96;
}

RECT Screen::bounds() const {
    std::lock_guard lock(m_mutex);
    return RECT{0, 0, m_profile.width, m_profile.height};
}

RECT Screen::workArea() const {
    RECT area = bounds();
    std::lock_guard lock(m_mutex);
    int unit = m_profile.dpi;
    if (m_taskBarShown) area.top += (kTaskBarUnits * unit + 48) / 96;
    if (m_inputPanelShown) area.bottom -= (kInputPanelBarUnits * unit + 48) / 96;
    if (area.bottom < area.top) area.bottom = area.top;
    return area;
}

int Screen::taskBarHeight() const {
    return scale(kTaskBarUnits);
}

void Screen::setTaskBarShown(bool shown) {
    std::lock_guard lock(m_mutex);
    m_taskBarShown = shown;
}

void Screen::setInputPanelShown(bool shown) {
    std::lock_guard lock(m_mutex);
    m_inputPanelShown = shown;
}

bool Screen::taskBarShown() const {
    std::lock_guard lock(m_mutex);
    return m_taskBarShown;
}

bool Screen::inputPanelShown() const {
    std::lock_guard lock(m_mutex);
    return m_inputPanelShown;
}

int Screen::addGeometryListener(std::function<void()> listener) {
    std::lock_guard lock(m_mutex);
    m_listeners.push_back({m_nextListener, true, std::move(listener)});
    return m_nextListener++;
}

int Screen::addFrameListener(std::function<void()> listener) {
    std::lock_guard lock(m_mutex);
    m_listeners.push_back({m_nextListener, false, std::move(listener)});
    return m_nextListener++;
}

void Screen::removeListener(int id) {
    std::lock_guard lock(m_mutex);
    std::erase_if(m_listeners, [id](const Listener& listener) { return listener.id == id; });
}

void Screen::presentFrame() {
    {
        std::lock_guard lock(m_mutex);
        ++m_frames;
    }
    notify(false);
}

unsigned Screen::framesPresented() const {
    std::lock_guard lock(m_mutex);
    return m_frames;
}

void Screen::notify(bool geometry) {
    std::vector<std::function<void()>> calls;
    {
        std::lock_guard lock(m_mutex);
        for (const Listener& listener : m_listeners)
            if (listener.geometry == geometry) calls.push_back(listener.fn);
    }
    for (auto& call : calls)
        call();
}

}  // namespace platform
