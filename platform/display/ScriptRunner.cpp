// Running an input script on the user-interface thread. A thread timer carries the script: its
// WM_TIMER comes only after posted input and painting, so each step starts on an idle queue and
// "shot" sees finished painting. Input commands take one step (one millisecond) each; a drag takes
// one step for its press and one every 10 ms of its moves.

#include <algorithm>
#include <cstdio>
#include <deque>
#include <mutex>

#include "InputScript.h"
#include "Screen.h"
#include "ScreenText.h"
#include "platform/device.h"
#include "platform/display.h"
#include "platform/winuser.h"

namespace platform::display {

namespace {

constexpr UINT kStepDelay = 1;
constexpr int kErrorExitCode = 2;
constexpr DWORD kDragStepMs = 10;

struct Runner {
    ParsedScript script;
    ScriptHooks hooks;
    size_t next = 0;
    UINT_PTR timer = 0;
    bool shiftHeld = false;  // released at the next step, after the shifted key's messages were read
    int dragStep = 0;        // the moves of the running drag fed so far; 0 before its press
};

// Only the thread that started the script touches the runner (from its timer procedure).
Runner* g_runner = nullptr;

struct Answers {
    std::mutex mutex;
    std::deque<int> queue;
};

Answers& answers() {
    static auto* all = new Answers();
    return *all;
}

void CALLBACK scriptTimer(HWND, UINT, UINT_PTR, DWORD);
void releaseShift(Runner& runner);

void schedule(Runner& runner, UINT delay) {
    if (runner.timer) KillTimer(nullptr, runner.timer);
    runner.timer = SetTimer(nullptr, 0, delay, scriptTimer);
}

void finish(bool quit, int exitCode) {
    Runner* runner = g_runner;
    g_runner = nullptr;
    releaseShift(*runner);
    if (runner->timer) KillTimer(nullptr, runner->timer);
    if (quit) PostQuitMessage(exitCode);
    delete runner;
}

// The key state is read when the key's messages are handled, so shift stays down until then.
void typeKey(Runner& runner, const ScriptCommand& command) {
    if (command.shift) injectKey(VK_SHIFT, true);
    injectKey(command.key, true);
    injectKey(command.key, false);
    runner.shiftHeld = command.shift;
}

void releaseShift(Runner& runner) {
    if (!runner.shiftHeld) return;
    injectKey(VK_SHIFT, false);
    runner.shiftHeld = false;
}

// Feeds one input command; false for commands that are not input.
bool feedInput(Runner& runner, const ScriptCommand& command) {
    switch (command.op) {
        case ScriptOp::Tap:
            injectStylus(StylusAction::Down, command.x, command.y);
            injectStylus(StylusAction::Up, command.x, command.y);
            return true;
        case ScriptOp::Down:
            injectStylus(StylusAction::Down, command.x, command.y);
            return true;
        case ScriptOp::Move:
            injectStylus(StylusAction::Move, command.x, command.y);
            return true;
        case ScriptOp::Up:
            injectStylus(StylusAction::Up, command.x, command.y);
            return true;
        case ScriptOp::Key:
            typeKey(runner, command);
            return true;
        case ScriptOp::Char:
            for (char16_t c : command.text)
                injectChar(c);
            return true;
        case ScriptOp::Rotate:
            Screen::instance().rotate();
            return true;
        default:
            return false;
    }
}

// Feeds the next part of a drag: the press, then one move every 10 ms along the line, the last
// at its end followed by the release. Returns the delay before the next step; the drag's command
// is done (runner.next moves on) after the release.
UINT feedDrag(Runner& runner, const ScriptCommand& command) {
    int steps = static_cast<int>(std::max<DWORD>(1, command.milliseconds / kDragStepMs));
    auto timeOf = [&](int k) {
        return static_cast<UINT>(static_cast<long long>(command.milliseconds) * k / steps);
    };
    if (runner.dragStep == 0) {
        injectStylus(StylusAction::Down, command.x, command.y);
        runner.dragStep = 1;
        return std::max<UINT>(1, timeOf(1));
    }
    int k = runner.dragStep;
    int x = command.x + (command.toX - command.x) * k / steps;
    int y = command.y + (command.toY - command.y) * k / steps;
    injectStylus(StylusAction::Move, x, y);
    if (k < steps) {
        runner.dragStep = k + 1;
        return std::max<UINT>(1, timeOf(k + 1) - timeOf(k));
    }
    injectStylus(StylusAction::Up, command.toX, command.toY);
    runner.dragStep = 0;
    ++runner.next;
    return kStepDelay;
}

// Taps the centre of what a tap-text or tap-window command names; the error text when it is not
// showing exactly once.
std::string tapShown(const ScriptCommand& command) {
    std::string name = "\"" + toUtf8(command.text) + "\"";
    std::vector<RECT> found;
    if (command.op == ScriptOp::TapText) {
        for (const ShownText& shown : shownTexts())
            if (shown.text == command.text) found.push_back(shown.rect);
    } else {
        for (HWND window : windowsAtPath(command.text)) {
            RECT rect{};
            GetWindowRect(window, &rect);
            found.push_back(rect);
        }
    }
    const char* what = command.op == ScriptOp::TapText ? "text" : "window";
    if (found.empty()) return std::string("no visible ") + what + " " + name;
    if (found.size() > 1) return std::to_string(found.size()) + " visible " + what + "s " + name;
    const RECT& rect = found.front();
    int x = (rect.left + rect.right) / 2;
    int y = (rect.top + rect.bottom) / 2;
    injectStylus(StylusAction::Down, x, y);
    injectStylus(StylusAction::Up, x, y);
    return {};
}

void takeShot(Runner& runner, const ScriptCommand& command) {
    bool written = runner.hooks.shot ? runner.hooks.shot(command.file)
                                     : writePng(*Screen::instance().surface(), command.file);
    if (!written)
        std::fprintf(stderr, "input script line %d: cannot write the snapshot \"%s\"\n", command.line,
                     command.file.c_str());
}

// Runs commands until one needs the queue to drain or the clock to move.
void step() {
    Runner& runner = *g_runner;
    if (runner.hooks.beforeStep) runner.hooks.beforeStep();
    releaseShift(runner);
    while (runner.next < runner.script.commands.size()) {
        const ScriptCommand& command = runner.script.commands[runner.next];
        if (command.op == ScriptOp::Drag) return schedule(runner, feedDrag(runner, command));
        ++runner.next;
        if (feedInput(runner, command)) return schedule(runner, kStepDelay);
        switch (command.op) {
            case ScriptOp::Wait:
                return schedule(runner, command.milliseconds);
            case ScriptOp::Answer:
                queueScriptedAnswer(command.answer);
                break;
            case ScriptOp::Shot:
                takeShot(runner, command);
                break;
            case ScriptOp::DumpText:
                if (!writeShownTexts(command.file))
                    std::fprintf(stderr, "input script line %d: cannot write the text dump \"%s\"\n",
                                 command.line, command.file.c_str());
                break;
            case ScriptOp::TapText:
            case ScriptOp::TapWindow: {
                std::string error = tapShown(command);
                if (error.empty()) return schedule(runner, kStepDelay);
                std::fprintf(stderr, "input script line %d: %s\n", command.line, error.c_str());
                return finish(runner.hooks.quitAtEnd, kErrorExitCode);
            }
            default:
                return finish(true, 0);
        }
    }
    bool failed = !runner.script.error.empty();
    if (failed) std::fprintf(stderr, "input script stopped: %s\n", runner.script.error.c_str());
    finish(runner.hooks.quitAtEnd, failed ? kErrorExitCode : 0);
}

void CALLBACK scriptTimer(HWND, UINT, UINT_PTR id, DWORD) {
    if (!g_runner || g_runner->timer != id) return;
    KillTimer(nullptr, id);
    g_runner->timer = 0;
    step();
}

}  // namespace

bool runScript(ParsedScript script, ScriptHooks hooks) {
    stopScript();
    g_runner = new Runner{std::move(script), std::move(hooks), 0, 0};
    schedule(*g_runner, kStepDelay);
    if (g_runner->timer) return true;
    finish(false, 0);
    return false;
}

void stopScript() {
    if (g_runner) finish(false, 0);
}

bool scriptRunning() {
    return g_runner != nullptr;
}

}  // namespace platform::display

namespace platform {

int takeScriptedAnswer() {
    auto& a = display::answers();
    std::lock_guard lock(a.mutex);
    if (a.queue.empty()) return 0;
    int answer = a.queue.front();
    a.queue.pop_front();
    return answer;
}

void queueScriptedAnswer(int answer) {
    auto& a = display::answers();
    std::lock_guard lock(a.mutex);
    a.queue.push_back(answer);
}

}  // namespace platform
