// Loading the data code's string resources.
#include "ResourceText.h"

#include "platform/resources.h"

namespace dove {
namespace {

HINSTANCE g_module = nullptr;
bool g_moduleSet = false;

}  // namespace

HINSTANCE resourceModule() {
    if (!g_moduleSet) return platform::moduleOf(reinterpret_cast<const void*>(&resourceModule));
    return g_module;
}

void setResourceModule(HINSTANCE module) {
    g_module = module;
    g_moduleSet = true;
}

std::u16string resourceString(unsigned id) {
    const WCHAR* text = nullptr;
    int length = LoadStringW(resourceModule(), id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || text == nullptr) return {};
    return std::u16string(text, static_cast<size_t>(length));
}

}  // namespace dove
