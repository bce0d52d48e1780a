// Accelerator tables: built from ACCEL entries or loaded from RT_ACCELERATOR resources (8-byte
// entries: flags, key, command, padding; flag 0x80 marks the last), and key-to-command translation.

#include <map>
#include <mutex>
#include <vector>

#include "platform/handles.h"
#include "platform/resources.h"
#include "platform/winuser.h"

namespace {

constexpr WORD kLastEntryFlag = 0x80;

struct Tables {
    std::mutex mutex;
    std::map<HACCEL, std::vector<ACCEL>> tables;
    uintptr_t next = 0x5A000000;
};

Tables& tables() {
    static auto* all = new Tables();
    return *all;
}

HACCEL store(std::vector<ACCEL> entries) {
    auto& t = tables();
    std::lock_guard lock(t.mutex);
    t.next += 4;
    auto handle = reinterpret_cast<HACCEL>(t.next);
    t.tables[handle] = std::move(entries);
    return handle;
}

bool modifiersMatch(BYTE flags) {
    auto down = [](int vk) { return (GetKeyState(vk) & 0x8000) != 0; };
    return down(VK_SHIFT) == ((flags & FSHIFT) != 0) && down(VK_CONTROL) == ((flags & FCONTROL) != 0) &&
           down(VK_MENU) == ((flags & FALT) != 0);
}

}  // namespace

HACCEL CreateAcceleratorTableW(LPACCEL entries, int count) {
    if (!entries || count <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return store(std::vector<ACCEL>(entries, entries + count));
}

BOOL DestroyAcceleratorTable(HACCEL table) {
    auto& t = tables();
    std::lock_guard lock(t.mutex);
    return t.tables.erase(table) ? TRUE : FALSE;
}

HACCEL LoadAcceleratorsW(HINSTANCE module, LPCWSTR name) {
    HRSRC resource = FindResourceW(module, name, RT_ACCELERATOR);
    if (!resource) return nullptr;
    DWORD size = SizeofResource(module, resource);
    auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(module, resource)));
    if (!bytes || size < 8) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    auto word = [bytes](size_t at) { return static_cast<WORD>(bytes[at] | (bytes[at + 1] << 8)); };
    std::vector<ACCEL> entries;
    for (size_t at = 0; at + 8 <= size; at += 8) {
        WORD flags = word(at);
        entries.push_back(ACCEL{static_cast<BYTE>(flags & 0x7F), word(at + 2), word(at + 4)});
        if (flags & kLastEntryFlag) break;
    }
    return store(std::move(entries));
}

int TranslateAcceleratorW(HWND window, HACCEL table, LPMSG msg) {
    if (!window || !msg) return 0;
    bool keyDown = msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN;
    bool character = msg->message == WM_CHAR || msg->message == WM_SYSCHAR;
    if (!keyDown && !character) return 0;
    WORD command = 0;
    bool found = false;
    {
        auto& t = tables();
        std::lock_guard lock(t.mutex);
        auto it = t.tables.find(table);
        if (it == t.tables.end()) {
            SetLastError(ERROR_INVALID_ACCEL_HANDLE);
            return 0;
        }
        for (const ACCEL& entry : it->second) {
            bool virtualKey = entry.fVirt & FVIRTKEY;
            if (entry.key != msg->wParam || virtualKey != keyDown) continue;
            if (virtualKey && !modifiersMatch(entry.fVirt)) continue;
            command = entry.cmd;
            found = true;
            break;
        }
    }
    if (!found) return 0;
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(command, 1), 0);
    return 1;
}
