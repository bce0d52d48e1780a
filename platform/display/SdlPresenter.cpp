// The SDL2 presenter: a desktop window showing the framebuffer scaled to fit, the mouse as the
// stylus, the keyboard as the device keys (arrows, Enter; Escape is the device's back key and
// Backspace deletes), text input as typed characters, F5 to rotate. Everything SDL runs on the
// program's user-interface thread: frames arrive there from painting, and a 10 ms thread timer reads
// SDL's events between messages and feeds them through the platform's input path.

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "Presenter.h"
#include "Screen.h"
#include "platform/device.h"
#include "platform/winuser.h"

namespace platform::display {

namespace {

constexpr UINT kPumpPeriod = 10;
constexpr double kDesktopShare = 0.9;

struct KeyMap {
    SDL_Keycode sdl;
    UINT key;
};

constexpr KeyMap kKeys[] = {
    {SDLK_UP, VK_UP},         {SDLK_DOWN, VK_DOWN},       {SDLK_LEFT, VK_LEFT},     {SDLK_RIGHT, VK_RIGHT},
    {SDLK_RETURN, VK_RETURN}, {SDLK_KP_ENTER, VK_RETURN}, {SDLK_ESCAPE, VK_ESCAPE}, {SDLK_BACKSPACE, VK_BACK},
};

class SdlPresenter;
SdlPresenter* g_presenter = nullptr;
void CALLBACK pumpTimer(HWND, UINT, UINT_PTR, DWORD);

class SdlPresenter : public Presenter {
  public:
    bool open(std::string& error) {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            error = SDL_GetError();
            return false;
        }
        m_videoStarted = true;
        SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "1");
        Screen& screen = Screen::instance();
        int scale = fitScale(screen.width(), screen.height());
        m_window = SDL_CreateWindow("Varkel device", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                    screen.width() * scale, screen.height() * scale, SDL_WINDOW_RESIZABLE);
        if (m_window) m_renderer = SDL_CreateRenderer(m_window, -1, 0);
        if (!m_window || !m_renderer) {
            error = SDL_GetError();
            return false;
        }
        // The logical size maps mouse positions to screen pixels, so it is set before any event is read.
        resize(*screen.surface());
        SDL_StartTextInput();
        m_pump = SetTimer(nullptr, 0, kPumpPeriod, pumpTimer);
        g_presenter = this;
        return true;
    }

    ~SdlPresenter() override {
        if (g_presenter == this) g_presenter = nullptr;
        if (m_pump) KillTimer(nullptr, m_pump);
        if (m_texture) SDL_DestroyTexture(m_texture);
        if (m_renderer) SDL_DestroyRenderer(m_renderer);
        if (m_window) SDL_DestroyWindow(m_window);
        if (m_videoStarted) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }

    bool realTime() const override { return true; }
    const char* name() const override { return "sdl"; }

    // Frames painted by another thread are shown at the next pump on this one: SDL is single-threaded.
    void showFrame() override {
        if (std::this_thread::get_id() != m_thread) {
            m_dirty = true;
            return;
        }
        m_dirty = false;
        auto surface = Screen::instance().surface();
        if (!surface || surface->width() <= 0) return;
        if (!m_texture || surface->width() != m_width || surface->height() != m_height) resize(*surface);
        if (!m_texture) return;
        SDL_UpdateTexture(m_texture, nullptr, surface->row(0), static_cast<int>(surface->stride() * 4));
        render();
    }

    void pump() {
        if (m_dirty) showFrame();
        SDL_Event event;
        while (SDL_PollEvent(&event))
            handle(event);
    }

  private:
    // The largest whole scale that fits the desktop, at least 1 (a larger screen is shrunk smoothly
    // by the renderer's logical size).
    static int fitScale(int width, int height) {
        SDL_Rect usable;
        if (SDL_GetDisplayUsableBounds(0, &usable) != 0) return 1;
        int byWidth = static_cast<int>(usable.w * kDesktopShare) / std::max(width, 1);
        int byHeight = static_cast<int>(usable.h * kDesktopShare) / std::max(height, 1);
        return std::max(1, std::min(byWidth, byHeight));
    }

    void resize(const Surface& surface) {
        bool turned = m_texture && surface.width() == m_height && surface.height() == m_width;
        if (m_texture) SDL_DestroyTexture(m_texture);
        m_width = surface.width();
        m_height = surface.height();
        m_texture = SDL_CreateTexture(m_renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                      m_width, m_height);
        SDL_RenderSetLogicalSize(m_renderer, m_width, m_height);
        if (turned) {
            int w = 0;
            int h = 0;
            SDL_GetWindowSize(m_window, &w, &h);
            SDL_SetWindowSize(m_window, h, w);
        }
    }

    void render() {
        SDL_SetRenderDrawColor(m_renderer, 0, 0, 0, 255);
        SDL_RenderClear(m_renderer);
        SDL_RenderCopy(m_renderer, m_texture, nullptr, nullptr);
        SDL_RenderPresent(m_renderer);
    }

    void stylus(StylusAction action, int x, int y) {
        x = std::clamp(x, 0, std::max(m_width - 1, 0));
        y = std::clamp(y, 0, std::max(m_height - 1, 0));
        injectStylus(action, x, y);
    }

    void key(const SDL_KeyboardEvent& event, bool down) {
        if (event.keysym.sym == SDLK_F5) {
            if (down && !event.repeat) Screen::instance().rotate();
            return;
        }
        for (const KeyMap& known : kKeys)
            if (known.sdl == event.keysym.sym) injectKey(known.key, down);
    }

    void text(const char* utf8) {
        for (char16_t c : fromUtf8(utf8))
            injectChar(c);
    }

    static void closeAll() {
        bool any = false;
        forEachTopLevelWindow([&](HWND top) {
            any = true;
            PostMessageW(top, WM_CLOSE, 0, 0);
        });
        if (!any) PostQuitMessage(0);
    }

    void handle(const SDL_Event& event) {
        switch (event.type) {
            case SDL_QUIT:
                return closeAll();
            case SDL_MOUSEBUTTONDOWN:
                if (event.button.button == SDL_BUTTON_LEFT)
                    stylus(StylusAction::Down, event.button.x, event.button.y);
                return;
            case SDL_MOUSEBUTTONUP:
                if (event.button.button == SDL_BUTTON_LEFT)
                    stylus(StylusAction::Up, event.button.x, event.button.y);
                return;
            case SDL_MOUSEMOTION:
                if (event.motion.state & SDL_BUTTON_LMASK)
                    stylus(StylusAction::Move, event.motion.x, event.motion.y);
                return;
            case SDL_KEYDOWN:
            case SDL_KEYUP:
                return key(event.key, event.type == SDL_KEYDOWN);
            case SDL_TEXTINPUT:
                return text(event.text.text);
            case SDL_WINDOWEVENT:
                if (m_texture) render();
                return;
            default:
                return;
        }
    }

    SDL_Window* m_window = nullptr;
    SDL_Renderer* m_renderer = nullptr;
    SDL_Texture* m_texture = nullptr;
    int m_width = 0;
    int m_height = 0;
    UINT_PTR m_pump = 0;
    bool m_videoStarted = false;
    std::thread::id m_thread = std::this_thread::get_id();
    std::atomic<bool> m_dirty{false};
};

void CALLBACK pumpTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (g_presenter) g_presenter->pump();
}

}  // namespace

std::unique_ptr<Presenter> makeSdlPresenter(std::string& error) {
    auto presenter = std::make_unique<SdlPresenter>();
    if (!presenter->open(error)) return nullptr;
    return presenter;
}

}  // namespace platform::display
