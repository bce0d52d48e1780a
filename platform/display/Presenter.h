// Presenters show the framebuffer somewhere: headless shows nothing (tests, snapshots, CI); the SDL
// presenter shows it in a desktop window and turns the mouse and keyboard into device input.
#pragma once

#include <memory>
#include <string>

namespace platform::display {

class Presenter {
  public:
    virtual ~Presenter() = default;
    // True when the presenter shows a live window: scripts then wait on the real clock.
    virtual bool realTime() const = 0;
    // The framebuffer holds a finished frame. Called on the thread that painted it.
    virtual void showFrame() = 0;
    virtual const char* name() const = 0;
};

// Shows nothing; frames are only counted by the screen and snapshots are taken from it.
std::unique_ptr<Presenter> makeHeadlessPresenter();

// Opens a window on the desktop for the screen, on the calling thread, which must be the program's
// user-interface thread (SDL's events are read there, from a thread timer between messages).
// Returns null and sets error when SDL's video system or the window cannot be opened.
std::unique_ptr<Presenter> makeSdlPresenter(std::string& error);

}  // namespace platform::display
