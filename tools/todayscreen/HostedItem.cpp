// Loading, initialising and unloading one item library.
#include "HostedItem.h"

#include <algorithm>

#include "platform/windows.h"

namespace todayscreen {

namespace {

// Copies text into a fixed field, cut to fit and terminated.
template <size_t N>
void copyInto(WCHAR (&field)[N], const std::u16string& text) {
    const size_t count = std::min(text.size(), N - 1);
    std::copy_n(text.data(), count, field);
    field[count] = 0;
}

}  // namespace

bool HostedItem::load(const RegisteredItem& item, HWND parent) {
    unload();
    m_failure.clear();
    m_record = TODAYLISTITEM{};
    copyInto(m_record.szName, item.name);
    copyInto(m_record.szDLLPath, item.library);
    m_record.tlit = tlitCustom;
    m_record.dwOrder = item.order;
    m_record.fEnabled = item.enabled ? TRUE : FALSE;
    m_record.fOptions = item.options ? TRUE : FALSE;
    m_record.grfFlags = item.selectability;
    m_module = LoadLibraryW(item.library.c_str());
    if (m_module == nullptr)
        return fail("its library cannot be loaded (error " + std::to_string(GetLastError()) + ")");
    m_record.hinstDLL = m_module;
    auto initialize = reinterpret_cast<PFNCUSTOMINITIALIZEITEM>(
        GetProcAddressW(m_module, MAKEINTRESOURCEW(ORDINAL_INITIALIZEITEM)));
    if (initialize == nullptr) return fail("its library has no initialisation entry (ordinal 240)");
    m_record.hwndCustom = initialize(&m_record, parent);
    if (m_record.hwndCustom == nullptr) return fail("it gave no window");
    return true;
}

void HostedItem::unload() {
    if (m_module == nullptr) return;
    if (m_record.hwndCustom != nullptr && IsWindow(m_record.hwndCustom)) {
        SendMessageW(m_record.hwndCustom, WM_TODAYCUSTOM_CLEARCACHE, 0, reinterpret_cast<LPARAM>(&m_record));
        DestroyWindow(m_record.hwndCustom);
    }
    m_record.hwndCustom = nullptr;
    m_record.hinstDLL = nullptr;
    FreeLibrary(m_module);
    m_module = nullptr;
}

bool HostedItem::fail(const std::string& why) {
    m_failure = why;
    if (m_module != nullptr) FreeLibrary(m_module);
    m_module = nullptr;
    m_record.hinstDLL = nullptr;
    m_record.hwndCustom = nullptr;
    return false;
}

}  // namespace todayscreen
