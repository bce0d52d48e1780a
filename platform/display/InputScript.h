// Input scripts: parsing the one-command-a-line text into commands, and running them on the
// user-interface thread between messages, one step each time the thread's queue has gone idle.
#pragma once

#include <functional>
#include <istream>
#include <string>
#include <vector>

#include "platform/wintypes.h"

namespace platform::display {

enum class ScriptOp { Tap, Down, Move, Up, Key, Char, Wait, Rotate, Answer, Shot, Quit };

struct ScriptCommand {
    ScriptOp op = ScriptOp::Quit;
    int line = 0;
    int x = 0;  // Tap, Down, Move, Up: screen pixel
    int y = 0;
    UINT key = 0;            // Key: virtual key
    bool shift = false;      // Key: an upper-case letter is typed with shift held
    std::u16string text;     // Char: the characters typed
    DWORD milliseconds = 0;  // Wait
    int answer = 0;          // Answer: IDOK, IDCANCEL, IDYES or IDNO
    std::string file;        // Shot: host path of the PNG
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
// commands are fed one per step; "wait MS" makes the next step come MS ms later; "answer" and
// "shot" run at once in the same step; "quit" posts WM_QUIT(0). A script that ends with an error
// posts WM_QUIT(2) when quitAtEnd is set. Replaces any script already running. False when the
// thread's timer cannot be set.
bool runScript(ParsedScript script, ScriptHooks hooks);
// Stops the running script, if any, without posting anything.
void stopScript();
// True while a script has commands left.
bool scriptRunning();

}  // namespace platform::display
