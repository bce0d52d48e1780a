// The device screen: one framebuffer of width x height pixels at a resolution (dpi), the task bar and
// input-panel areas that belong to it, rotation by 90 degrees, and the hooks presenters attach to.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/detail/Surface.h"
#include "platform/wingdi.h"

namespace platform {

struct ScreenProfile {
    int width = 240;
    int height = 320;
    int dpi = 96;
};

// Parses "WIDTHxHEIGHT@DPI" (e.g. "480x640@192"). False for malformed text, a side outside
// 16..4096 or a dpi the drawing layer refuses (outside 48..480); profile is then untouched.
bool parseScreenProfile(const std::string& text, ScreenProfile& profile);

class Screen {
  public:
    // The process's screen, created on first use from VARKEL_SCREEN (default 240x320@96; a malformed
    // value is reported on stderr and the default used).
    static Screen& instance();

    // Replaces the framebuffer with a black one of the profile's size, sets the drawing layer's
    // dpi and shows the task bar and input panel again. Listeners are told as after a rotation.
    void configure(const ScreenProfile& profile);
    // Turns the screen by 90 degrees: width and height swap, the framebuffer is replaced by a black
    // one and the geometry listeners run (the window manager repaints and notifies its windows).
    void rotate();

    std::shared_ptr<Surface> surface() const;
    int width() const;
    int height() const;
    int dpi() const;
    // Pixels for a length given in 96-dpi units, rounded to nearest.
    int scale(int units) const;
    RECT bounds() const;
    // The screen minus the task bar at the top and the input panel's bar at the bottom while they
    // are shown.
    RECT workArea() const;
    int taskBarHeight() const;
    void setTaskBarShown(bool shown);
    void setInputPanelShown(bool shown);
    bool taskBarShown() const;
    bool inputPanelShown() const;

    // Called after each size change (configure, rotate) with the new size. Returns an id for removal.
    int addGeometryListener(std::function<void()> listener);
    // Called whenever painting finished and a frame is ready to show.
    int addFrameListener(std::function<void()> listener);
    void removeListener(int id);
    // Tells the frame listeners that the framebuffer holds a finished frame; counts frames.
    void presentFrame();
    unsigned framesPresented() const;

  private:
    Screen();
    void notify(bool geometry);

    struct Listener {
        int id;
        bool geometry;
        std::function<void()> fn;
    };
    mutable std::mutex m_mutex;
    std::shared_ptr<Surface> m_surface;
    ScreenProfile m_profile;
    bool m_taskBarShown = true;
    bool m_inputPanelShown = true;
    std::vector<Listener> m_listeners;
    int m_nextListener = 1;
    unsigned m_frames = 0;
};

}  // namespace platform
