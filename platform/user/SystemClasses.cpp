// Registration of the system classes in the window manager's class table at its start.

#include "SystemClasses.h"

#include "ControlSupport.h"

namespace platform::user {

namespace {

struct SystemClass {
    const char16_t* name;
    WNDPROC proc;
    UINT style;
};

const SystemClass kSystemClasses[] = {
    {WC_STATIC, staticProc, CS_DBLCLKS},
    {WC_EDIT, editProc, CS_DBLCLKS},
    {WC_BUTTON, buttonProc, CS_DBLCLKS},
};

}  // namespace

void addSystemClasses(State& state) {
    for (const SystemClass& entry : kSystemClasses) {
        auto cls = std::make_shared<WindowClass>();
        cls->name = entry.name;
        cls->style = entry.style | CS_GLOBALCLASS;
        cls->proc = entry.proc;
        cls->cursor = LoadCursorW(nullptr, entry.proc == editProc ? IDC_IBEAM : IDC_ARROW);
        cls->atom = state.nextAtom++;
        state.classes[lowerCase(cls->name)] = cls;
    }
}

}  // namespace platform::user
