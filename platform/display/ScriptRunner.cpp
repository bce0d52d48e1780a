// Running an input script on the user-interface thread. A thread timer carries the script: its
// WM_TIMER comes only after posted input and painting, so each step starts on an idle queue and
// "shot" sees finished painting. Input commands take one step (one millisecond) each.

#include <cstdio>
#include <deque>
#include <mutex>

#include "InputScript.h"
#include "Screen.h"
#include "platform/display.h"
#include "platform/winuser.h"

namespace platform::display {

namespace {

constexpr UINT kStepDelay = 1;
constexpr int kErrorExitCode = 2;

struct Runner {
    ParsedScript script;
    ScriptHooks hooks;
    size_t next = 0;
    UINT_PTR timer = 0;
    bool shiftHeld = false;  // released at the next step, after the shifted key's messages were read
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
        const ScriptCommand& command = runner.script.commands[runner.next++];
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
