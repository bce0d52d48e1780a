// String tables and menus loaded from resources: any bytes of a string block and of a menu resource
// are read within their bounds by LoadStringW and LoadMenuW, and any text names a resource or not.
#include "FuzzSupport.h"
#include "platform/resources.h"
#include "platform/winuser.h"

namespace {

constexpr WORD kStringType = 6;
constexpr WORD kMenuType = 4;

// Walks the menu as a program would, then destroys it.
void walkMenu(HMENU menu) {
    int count = GetMenuItemCount(menu);
    fuzz::check(count >= 0, "a loaded menu counts its items");
    for (int i = 0; i < count; ++i) {
        GetMenuItemID(menu, i);
        if (HMENU sub = GetSubMenu(menu, i)) walkMenu(sub);
    }
}

}  // namespace

// The input's first two bytes split the rest: the string block, then the menu and a resource name.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    size_t split = std::min<size_t>(size - 2, data[0] | (data[1] << 8));
    const uint8_t* block = data + 2;
    const uint8_t* menu = block + split;
    size_t menuSize = size - 2 - split;
    platform::ResourceEntry entries[] = {
        {{kStringType, nullptr}, {1, nullptr}, block, static_cast<DWORD>(split)},
        {{kMenuType, nullptr}, {1, nullptr}, menu, static_cast<DWORD>(menuSize)},
    };
    auto module = reinterpret_cast<HINSTANCE>(uintptr_t{0x52000});
    fuzz::check(platform::registerModuleResources(module, {entries, 2}), "the table is valid");

    WCHAR buffer[64];
    for (UINT id = 0; id < 17; ++id) {
        int length = LoadStringW(module, id, buffer, 64);
        fuzz::check(length >= 0 && length < 64 && buffer[length] == 0, "a loaded string fits the buffer");
        const WCHAR* text = nullptr;
        length = LoadStringW(module, id, reinterpret_cast<LPWSTR>(&text), 0);
        fuzz::check(
            length == 0 || (text != nullptr && reinterpret_cast<const uint8_t*>(text + length) <= menu),
            "a string read in place lies within its block");
    }
    if (HMENU loaded = LoadMenuW(module, MAKEINTRESOURCEW(1))) {
        walkMenu(loaded);
        DestroyMenu(loaded);
    }
    std::u16string name = fuzz::unitsOf(menu, menuSize);
    FindResourceW(module, name.c_str(), RT_MENU);
    platform::unregisterModuleResources(module);
    return 0;
}
