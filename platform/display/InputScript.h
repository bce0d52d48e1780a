// Input scripts: parsing the one-command-a-line text into commands, and running them on the
// user-interface thread between messages, one step each time the thread's queue has gone idle.
#pragma once

#include <functional>
#include <istream>
#include <string>
#include <vector>

#include "platform/wintypes.h"

namespace platform::display {

enum class ScriptOp {
    Tap,
    Down,
    Move,
    Up,
    Key,
    Char,
    Wait,
    Rotate,
    Answer,
    Shot,
    Quit,
    TapText,
    TapWindow,
    DumpText,
    Drag
};

struct ScriptCommand {
    ScriptOp op = ScriptOp::Quit;
    int line = 0;
    int x = 0;  // Tap, Down, Move, Up, Drag (its start): screen pixel
    int y = 0;
    int toX = 0;  // Drag: where it ends
    int toY = 0;
    UINT key = 0;            // Key: virtual key
    bool shift = false;      // Key: an upper-case letter is typed with shift held
    std::u16string text;     // Char: the characters typed; TapText: the text; TapWindow: the path
    DWORD milliseconds = 0;  // Wait; Drag: how long the stylus takes
    int answer = 0;          // Answer: IDOK, IDCANCEL, IDYES or IDNO
    std::string file;        // Shot: host path of the PNG; DumpText: of the text lines
};

struct ParsedScript {
    // The commands of the lines before the first malformed one (all of them when error is empty).
    std::vector<ScriptCommand> commands;
    // "NAME:LINE: what is wrong" for the first malformed line, else empty.
    std::string error;
};

// Parses a script; name is used in the error message. Blank lines and text from '#' on are
// ignored ("char" keeps a '#' that follows it: everything after "char " is typed).
ParsedScript parseScript(std::istream& in, const std::string& name);
// Reads and parses a file; a file that cannot be read gives an error naming it.
ParsedScript loadScript(const std::string& path);

struct ScriptHooks {
    // Called before each step (the window directory is brought up to date there).
    std::function<void()> beforeStep;
    // Writes the screen as a PNG; false on failure. Empty: the framebuffer as it is.
    std::function<bool(const std::string&)> shot;
    // Post WM_QUIT when the script ends without "quit" (headless runs have no other input).
    bool quitAtEnd = true;
};

// Starts running commands on the calling thread (which must run a message loop). "wait" waits on
// the platform clock: really in a window, by advancing the virtual clock headless. Each step runs
// when the thread's queue is idle (its timer message comes after input and painting): input
// commands are fed one per step; "drag" feeds its stylus down, then a move every 10 ms and the up
// at its end, one step each; "wait MS" makes the next step come MS ms later; "answer", "shot" and
// "dump-text" run at once in the same step; "tap-text" and "tap-window" look for what they name when
// their step comes, and stop the script with an error naming it when it is not showing or showing
// more than once; "quit" posts WM_QUIT(0). A script that ends with an error posts WM_QUIT(2) when
// quitAtEnd is set. Replaces any script already running. False when the thread's timer cannot be
// set.
bool runScript(ParsedScript script, ScriptHooks hooks);
// Stops the running script, if any, without posting anything.
void stopScript();
// True while a script has commands left.
bool scriptRunning();

}  // namespace platform::display
