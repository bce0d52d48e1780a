// Menus as data: creating, filling, changing and destroying menus, and loading them from RT_MENU
// resources (the template a resource compiler writes: a header, then items whose last one at each
// level carries MF_END, pop-ups followed by their own items).

#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "MenuModel.h"
#include "platform/handles.h"
#include "platform/resources.h"

using namespace platform::user;

namespace {

constexpr UINT kStateFlags = MF_CHECKED | MF_GRAYED | MF_DISABLED;
constexpr size_t kMaxDepth = 16;

struct Menu {
    bool popup = false;
    std::vector<MenuEntry> items;
};

struct Menus {
    std::recursive_mutex mutex;
    std::map<HMENU, Menu> menus;
    uintptr_t next = 0x4D000000;
};

Menus& menus() {
    static auto* all = new Menus();
    return *all;
}

Menu* findMenu(HMENU menu) {
    auto it = menus().menus.find(menu);
    if (it != menus().menus.end()) return &it->second;
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return nullptr;
}

HMENU makeMenu(bool popup) {
    std::lock_guard lock(menus().mutex);
    menus().next += 4;
    auto handle = reinterpret_cast<HMENU>(menus().next);
    menus().menus[handle].popup = popup;
    return handle;
}

// The item a position or command id names (searching pop-ups for ids), or null.
MenuEntry* findItem(HMENU menu, UINT item, UINT flags, size_t depth = 0) {
    Menu* m = findMenu(menu);
    if (!m) return nullptr;
    if (flags & MF_BYPOSITION) return item < m->items.size() ? &m->items[item] : nullptr;
    for (MenuEntry& entry : m->items) {
        if (!(entry.flags & MF_POPUP) && entry.id == item) return &entry;
        if ((entry.flags & MF_POPUP) && depth < kMaxDepth)
            if (MenuEntry* inner = findItem(entry.sub, item, flags, depth + 1)) return inner;
    }
    return nullptr;
}

bool makeEntry(UINT flags, UINT_PTR id, LPCWSTR text, MenuEntry& entry) {
    entry.flags = flags & (kStateFlags | MF_POPUP | MF_SEPARATOR);
    if (flags & MF_POPUP) {
        entry.sub = reinterpret_cast<HMENU>(id);
        if (!findMenu(entry.sub)) return false;
    } else {
        entry.id = static_cast<UINT>(id);
    }
    if (!(flags & MF_SEPARATOR) && text) entry.text = text;
    return true;
}

// Reads items from data[pos] on until the one marked last, appending them to menu.
bool readItems(const WORD* data, size_t words, size_t& pos, HMENU menu, size_t depth) {
    for (;;) {
        if (pos >= words || depth > kMaxDepth) return false;
        WORD flags = data[pos++];
        UINT id = 0;
        if (!(flags & MF_POPUP)) {
            if (pos >= words) return false;
            id = data[pos++];
        }
        std::u16string text;
        while (pos < words && data[pos] != 0)
            text += static_cast<char16_t>(data[pos++]);
        if (pos++ >= words) return false;
        UINT state = flags & kStateFlags;
        if (flags & MF_POPUP) {
            HMENU sub = CreatePopupMenu();
            if (!readItems(data, words, pos, sub, depth + 1)) return DestroyMenu(sub), false;
            AppendMenuW(menu, MF_POPUP | state, reinterpret_cast<UINT_PTR>(sub), text.c_str());
        } else if (id == 0 && text.empty()) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        } else {
            AppendMenuW(menu, MF_STRING | state, id, text.c_str());
        }
        if (flags & MF_END) return true;
    }
}

}  // namespace

namespace platform::user {

bool menuEntries(HMENU menu, std::vector<MenuEntry>* out) {
    std::lock_guard lock(menus().mutex);
    Menu* m = findMenu(menu);
    if (!m) return false;
    *out = m->items;
    return true;
}

}  // namespace platform::user

HMENU CreateMenu() {
    return makeMenu(false);
}

HMENU CreatePopupMenu() {
    return makeMenu(true);
}

BOOL DestroyMenu(HMENU menu) {
    std::vector<HMENU> subs;
    {
        std::lock_guard lock(menus().mutex);
        Menu* m = findMenu(menu);
        if (!m) return FALSE;
        for (const MenuEntry& entry : m->items)
            if (entry.flags & MF_POPUP) subs.push_back(entry.sub);
        menus().menus.erase(menu);
    }
    for (HMENU sub : subs)
        DestroyMenu(sub);
    return TRUE;
}

BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR id, LPCWSTR text) {
    return InsertMenuW(menu, static_cast<UINT>(-1), flags | MF_BYPOSITION, id, text);
}

BOOL InsertMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR id, LPCWSTR text) {
    std::lock_guard lock(menus().mutex);
    Menu* m = findMenu(menu);
    MenuEntry entry;
    if (!m || !makeEntry(flags, id, text, entry)) return FALSE;
    size_t at = m->items.size();
    if (flags & MF_BYPOSITION) {
        if (position < m->items.size()) at = position;
    } else {
        MenuEntry* before = findItem(menu, position, MF_BYCOMMAND);
        for (size_t i = 0; before && i < m->items.size(); ++i)
            if (&m->items[i] == before) at = i;
    }
    m->items.insert(m->items.begin() + static_cast<long>(at), std::move(entry));
    return TRUE;
}

BOOL DeleteMenu(HMENU menu, UINT position, UINT flags) {
    HMENU sub = nullptr;
    {
        std::lock_guard lock(menus().mutex);
        Menu* m = findMenu(menu);
        MenuEntry* item = m ? findItem(menu, position, flags) : nullptr;
        if (!item) return FALSE;
        for (size_t i = 0; i < m->items.size(); ++i) {
            if (&m->items[i] != item) continue;
            if (item->flags & MF_POPUP) sub = item->sub;
            m->items.erase(m->items.begin() + static_cast<long>(i));
            break;
        }
    }
    if (sub) DestroyMenu(sub);
    return TRUE;
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT flags) {
    std::lock_guard lock(menus().mutex);
    MenuEntry* entry = findItem(menu, item, flags);
    if (!entry) return static_cast<DWORD>(-1);
    DWORD previous = entry->flags & MF_CHECKED;
    entry->flags = (entry->flags & ~MF_CHECKED) | (flags & MF_CHECKED);
    return previous;
}

BOOL EnableMenuItem(HMENU menu, UINT item, UINT flags) {
    std::lock_guard lock(menus().mutex);
    MenuEntry* entry = findItem(menu, item, flags);
    if (!entry) return -1;
    BOOL previous = static_cast<BOOL>(entry->flags & (MF_GRAYED | MF_DISABLED));
    entry->flags = (entry->flags & ~(MF_GRAYED | MF_DISABLED)) | (flags & (MF_GRAYED | MF_DISABLED));
    return previous;
}

HMENU GetSubMenu(HMENU menu, int position) {
    std::lock_guard lock(menus().mutex);
    MenuEntry* entry = position >= 0 ? findItem(menu, static_cast<UINT>(position), MF_BYPOSITION) : nullptr;
    return entry && (entry->flags & MF_POPUP) ? entry->sub : nullptr;
}

int GetMenuItemCount(HMENU menu) {
    std::lock_guard lock(menus().mutex);
    Menu* m = findMenu(menu);
    return m ? static_cast<int>(m->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int position) {
    std::lock_guard lock(menus().mutex);
    MenuEntry* entry = position >= 0 ? findItem(menu, static_cast<UINT>(position), MF_BYPOSITION) : nullptr;
    if (!entry || (entry->flags & MF_POPUP)) return static_cast<UINT>(-1);
    return entry->id;
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags) {
    std::lock_guard lock(menus().mutex);
    MenuEntry* entry = findItem(menu, item, flags);
    return entry ? entry->flags : static_cast<UINT>(-1);
}

HMENU LoadMenuW(HINSTANCE module, LPCWSTR name) {
    HRSRC found = FindResourceW(module, name, RT_MENU);
    if (!found) return nullptr;
    const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
    // The words are copied out, as a resource's bytes need not lie on a word boundary.
    std::vector<WORD> data(bytes ? SizeofResource(module, found) / sizeof(WORD) : 0);
    if (!data.empty()) std::memcpy(data.data(), bytes, data.size() * sizeof(WORD));
    size_t words = data.size();
    if (words < 2 || data[0] != 0 || data[1] % 2 != 0) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    size_t pos = 2 + data[1] / 2;
    HMENU menu = CreateMenu();
    if (!readItems(data.data(), words, pos, menu, 0)) {
        DestroyMenu(menu);
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    return menu;
}
