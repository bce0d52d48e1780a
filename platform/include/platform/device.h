// The device root: the Linux folder that stands for the device's file system, and the mapping of
// device paths ("\error.log", "\windows\BrimwellTodayItem.dll") into it.
#pragma once

#include <string>

#include "platform/wintypes.h"

namespace platform {

// The device root: VARKEL_ROOT, else ~/.local/share/varkel. Created on first use.
// setDeviceRoot overrides it for this process (tests); an empty path returns to the default.
std::string deviceRoot();
void setDeviceRoot(const std::string& hostPath);

// The folder of live objects of running processes (window directory, mutexes, mappings) in the root.
std::string runFolder();

// Host path of a device path: backslashes become slashes and the path is placed under the root.
// A relative device path is taken from the root as well, since the device has no current folder.
std::string hostPath(LPCWSTR devicePath);

// UTF-16 <-> UTF-8 at the edges (files, terminals, FreeType). Unpaired surrogates become U+FFFD.
std::string toUtf8(const char16_t* text, size_t length);
std::string toUtf8(const std::u16string& text);
std::string toUtf8(const char16_t* text);
std::u16string fromUtf8(const std::string& text);
// Appends the UTF-8 bytes of one code point.
void appendUtf8(std::string& out, char32_t codePoint);

}  // namespace platform
