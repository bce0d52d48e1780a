// A test build of dashel whose first write to the finance store fails, writing nothing, as a full or
// broken store would fail it; every later write succeeds. The end-to-end tests drive it to see what a
// user sees of a failed save. Never installed: the shipped dashel has no such switch.
#include <cstdio>

#include "DashelEntry.h"
#include "platform/cedb.h"
#include "platform/display.h"
#include "platform/resources.h"
#include "platform/windows.h"
#include "resources/DashelResources.h"

int main() {
    HINSTANCE self = GetModuleHandleW(nullptr);
    if (!platform::startDisplay()) return 1;
    if (!platform::registerModuleResources(self, dashelResourceTable())) {
        std::fprintf(stderr, "dashel_failing_write: the resource table cannot be registered\n");
        return 1;
    }
    // Opening the demo store and filling the lists only read; the first write is the first save's.
    platform::cedbFailNthOperation(1);
    WCHAR commandLine[1] = {0};
    int result = shell::dashelEntry(self, commandLine, SW_SHOW);
    platform::stopDisplay();
    return result;
}
