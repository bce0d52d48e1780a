// The program's side of the screen: choosing the presenter, the input script and the window
// directory that lets other processes find this one's windows.
#pragma once

#include "platform/wintypes.h"

namespace platform {

// Called once by a program's entry on its user-interface thread, before its first window.
// Chooses the presenter from VARKEL_DISPLAY: "headless" or "sdl"; unset means sdl when DISPLAY or
// WAYLAND_DISPLAY is set and SDL can open its video system, otherwise headless with a one-line note
// on stderr. Attaches the window directory in the device root's run/windows/ folder, so that
// FindWindowW, PostMessageW, SetForegroundWindow and IsWindow of other processes reach this one's
// top-level windows. When VARKEL_SCRIPT names a file, loads it and runs it between messages of this
// thread (headless: on the virtual clock, starting at the real local time). A malformed line is
// reported on stderr as "FILE:LINE: what is wrong" and stops the script there; headless, the end of
// the script asks the program to quit (WM_QUIT with 0, or 2 after an error). Returns false, with a
// message on stderr, when VARKEL_DISPLAY names an unknown presenter or sdl is asked for and
// cannot start; the program should then end. Later calls do nothing and return true.
bool startDisplay();

// Detaches the window directory (removing this process's entries) and closes the presenter. Runs
// by itself at exit; a program may call it earlier.
void stopDisplay();

// Writes this process's current top-level windows into the window directory at once. The directory
// also follows them by itself at every presented frame, every script step and, in a window, twice a
// second.
void syncWindowDirectory();

// The answer an input script queued for the next message box ("answer OK" gives IDOK, CANCEL
// IDCANCEL, YES IDYES, NO IDNO), removed from the queue; 0 when none is queued. Message boxes
// call this before they wait for the user.
int takeScriptedAnswer();
// Queues an answer as the script's "answer" command does (IDOK, IDCANCEL, IDYES or IDNO).
void queueScriptedAnswer(int answer);

}  // namespace platform
