// Starting a program's display: the presenter chosen from VARKEL_DISPLAY, the window directory kept
// in step with the program's top-level windows, and the input script from VARKEL_SCRIPT.

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <thread>

#include "InputScript.h"
#include "Presenter.h"
#include "Screen.h"
#include "ShellBars.h"
#include "WindowDirectory.h"
#include "platform/clock.h"
#include "platform/display.h"
#include "platform/winuser.h"

namespace platform::display {

namespace {

// How often a program in a window refreshes its directory entries besides at each frame.
constexpr UINT kDirectoryPeriod = 500;

class HeadlessPresenter : public Presenter {
  public:
    bool realTime() const override { return false; }
    void showFrame() override {}
    const char* name() const override { return "headless"; }
};

struct Session {
    std::unique_ptr<Presenter> presenter;
    std::unique_ptr<WindowDirectory> directory;
    std::thread::id uiThread;
    int frameListener = 0;
    UINT_PTR directoryTimer = 0;
    int shownMinute = -1;  // the task bar clock's minute last shown
};

Session* g_session = nullptr;

void syncOnUiThread() {
    if (g_session && g_session->directory && std::this_thread::get_id() == g_session->uiThread)
        g_session->directory->sync();
}

// In a window: keeps the directory in step and the task bar's clock current between frames.
void CALLBACK directoryTimer(HWND, UINT, UINT_PTR, DWORD) {
    syncOnUiThread();
    if (!g_session || !Screen::instance().taskBarShown()) return;
    SYSTEMTIME now;
    GetLocalTime(&now);
    if (now.wMinute == g_session->shownMinute) return;
    g_session->shownMinute = now.wMinute;
    drawShellBars();
    g_session->presenter->showFrame();
}

bool displayAvailable() {
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

// The presenter VARKEL_DISPLAY asks for; null (with a message) when it cannot be had.
std::unique_ptr<Presenter> choosePresenter() {
    const char* wanted = std::getenv("VARKEL_DISPLAY");
    std::string choice = wanted ? wanted : "";
    if (choice == "headless") return makeHeadlessPresenter();
    if (!choice.empty() && choice != "sdl") {
        std::fprintf(stderr, "VARKEL_DISPLAY=\"%s\" is neither headless nor sdl\n", choice.c_str());
        return nullptr;
    }
    std::string error;
    if (choice.empty() && !displayAvailable()) {
        std::fprintf(stderr, "No display (DISPLAY and WAYLAND_DISPLAY are unset): running headless\n");
        return makeHeadlessPresenter();
    }
    if (auto sdl = makeSdlPresenter(error)) return sdl;
    if (!choice.empty()) {
        std::fprintf(stderr, "Cannot open the SDL window: %s\n", error.c_str());
        return nullptr;
    }
    std::fprintf(stderr, "Cannot open a window (%s): running headless\n", error.c_str());
    return makeHeadlessPresenter();
}

// Headless scripted runs use the virtual clock, started at the real local time, so that they are
// repeatable and never wait.
void useScriptClock() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    useVirtualClock(now, static_cast<LONG>(local.tm_gmtoff / 60), GetTickCount());
}

bool startScript(const char* path, bool realTime) {
    ParsedScript script = loadScript(path);
    if (!script.error.empty()) std::fprintf(stderr, "input script: %s\n", script.error.c_str());
    if (!realTime) useScriptClock();
    ScriptHooks hooks;
    hooks.beforeStep = syncOnUiThread;
    hooks.shot = [](const std::string& file) { return writeScreenPng(file); };
    hooks.quitAtEnd = !realTime;
    return runScript(std::move(script), std::move(hooks));
}

}  // namespace

std::unique_ptr<Presenter> makeHeadlessPresenter() {
    return std::make_unique<HeadlessPresenter>();
}

}  // namespace platform::display

namespace platform {

bool startDisplay() {
    using namespace display;
    if (g_session) return true;
    auto presenter = choosePresenter();
    if (!presenter) return false;
    g_session = new Session();
    g_session->presenter = std::move(presenter);
    g_session->uiThread = std::this_thread::get_id();
    g_session->directory = std::make_unique<WindowDirectory>();
    if (!g_session->directory->ok()) std::fprintf(stderr, "The window directory cannot receive messages\n");
    setForeignWindows(g_session->directory.get());
    // VARKEL_EXIT_AFTER_FIRST_FRAME=1: at its first shown frame the program prints "first frame" on
    // stdout and is asked to quit (WM_QUIT 0), so that it ends in its usual order. The start-up
    // benchmark measures from process start to that line.
    const char* exitAfterFirst = std::getenv("VARKEL_EXIT_AFTER_FIRST_FRAME");
    static bool s_exitAfterFirstFrame = false;
    s_exitAfterFirstFrame = exitAfterFirst != nullptr && std::string(exitAfterFirst) == "1";
    g_session->frameListener = Screen::instance().addFrameListener([] {
        syncOnUiThread();
        drawShellBars();
        if (g_session) g_session->presenter->showFrame();
        if (s_exitAfterFirstFrame) {
            s_exitAfterFirstFrame = false;
            std::fputs("first frame\n", stdout);
            std::fflush(stdout);
            PostQuitMessage(0);
        }
    });
    if (g_session->presenter->realTime())
        g_session->directoryTimer = SetTimer(nullptr, 0, kDirectoryPeriod, directoryTimer);
    std::atexit(stopDisplay);
    const char* script = std::getenv("VARKEL_SCRIPT");
    if (script && *script && !startScript(script, g_session->presenter->realTime()))
        std::fprintf(stderr, "The input script cannot be started\n");
    return true;
}

void stopDisplay() {
    using namespace display;
    Session* session = g_session;
    if (!session) return;
    stopScript();
    Screen::instance().removeListener(session->frameListener);
    if (session->directoryTimer) KillTimer(nullptr, session->directoryTimer);
    setForeignWindows(nullptr);
    g_session = nullptr;
    delete session;
}

void syncWindowDirectory() {
    using namespace display;
    if (g_session && g_session->directory) g_session->directory->sync();
}

}  // namespace platform
