// The error log: the device's "\error.log", to which the data code appends one line per internal failure.
#pragma once

namespace dove {

// Appends "yyyy.MM.dd HH:mm:ss - message" and, when a source name is given, "\t\tsource:  (line)", then
// "\r\n", each piece converted to the locale's code set. The file is opened, appended to and closed in
// each call, shared for reading and writing with other processes. A line that cannot be written is lost;
// the log never reports its own failures.
void writeErrorLog(const char16_t* message, const char16_t* sourceName = nullptr, int lineNumber = 0);

}  // namespace dove
