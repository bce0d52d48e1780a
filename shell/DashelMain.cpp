// Dashel's program entry: starts the display, registers the program's resources under its module
// and runs the entry. Exit status: the entry's result, or 1 when the display cannot start.
#include <cstdio>

#include "DashelEntry.h"
#include "platform/display.h"
#include "platform/resources.h"
#include "platform/windows.h"
#include "resources/DashelResources.h"

int main() {
    HINSTANCE self = GetModuleHandleW(nullptr);
    if (!platform::startDisplay()) return 1;
    if (!platform::registerModuleResources(self, dashelResourceTable())) {
        std::fprintf(stderr, "dashel: the resource table cannot be registered\n");
        return 1;
    }
    WCHAR commandLine[1] = {0};
    int result = shell::dashelEntry(self, commandLine, SW_SHOW);
    // While the thread and its message queue still exist, rather than from the exit handlers.
    platform::stopDisplay();
    return result;
}
