// One Today item the home screen hosts: its library, loaded with LoadLibraryW from the item's device
// path and initialised through ordinal 240, the item record the home screen keeps for it, and its
// window.
#pragma once

#include <string>

#include "ItemRegistry.h"
#include "platform/todaycmn.h"

namespace todayscreen {

class HostedItem {
  public:
    HostedItem() = default;
    // Unloads the item when it is loaded.
    ~HostedItem() { unload(); }
    HostedItem(const HostedItem&) = delete;
    HostedItem& operator=(const HostedItem&) = delete;

    // Loads the item's library and calls its initialisation entry with a fresh record (height 0) and
    // the parent window. True when the item gave a window; otherwise the library is freed again,
    // nothing stays loaded and failure() says why.
    bool load(const RegisteredItem& item, HWND parent);
    // Tells the item it is being unloaded (WM_TODAYCUSTOM_CLEARCACHE), destroys its window and frees
    // its library. Nothing happens when no item is loaded.
    void unload();

    bool loaded() const { return m_module != nullptr; }
    TODAYLISTITEM& record() { return m_record; }
    const TODAYLISTITEM& record() const { return m_record; }
    HWND window() const { return m_record.hwndCustom; }
    bool selectable() const { return m_record.grfFlags != TODAY_SELECTABILITY_NOTSELECTABLE; }
    const std::string& failure() const { return m_failure; }

  private:
    bool fail(const std::string& why);

    TODAYLISTITEM m_record{};
    HMODULE m_module = nullptr;
    std::string m_failure;
};

}  // namespace todayscreen
