// The in-memory registry tree: case-insensitive lookup, creation and removal of keys and values.
#include "RegistryTree.h"

#include "platform/text.h"

namespace platform::registry {

std::u16string foldName(const std::u16string& name) {
    std::u16string folded(name);
    for (char16_t& ch : folded)
        ch = towupper(ch);
    return folded;
}

RegistryKey* RegistryKey::child(const std::u16string& name) {
    auto found = m_children.find(foldName(name));
    return found == m_children.end() ? nullptr : found->second.get();
}

RegistryKey& RegistryKey::addChild(const std::u16string& name) {
    auto& slot = m_children[foldName(name)];
    if (!slot) slot = std::make_unique<RegistryKey>(name);
    return *slot;
}

bool RegistryKey::removeChild(const std::u16string& name) {
    return m_children.erase(foldName(name)) > 0;
}

RegistryKey* RegistryKey::find(const std::vector<std::u16string>& path) {
    RegistryKey* key = this;
    for (const std::u16string& part : path) {
        key = key->child(part);
        if (key == nullptr) return nullptr;
    }
    return key;
}

RegistryKey& RegistryKey::create(const std::vector<std::u16string>& path, bool& created) {
    RegistryKey* key = this;
    created = false;
    for (const std::u16string& part : path) {
        RegistryKey* next = key->child(part);
        created = next == nullptr;
        key = next != nullptr ? next : &key->addChild(part);
    }
    return *key;
}

const RegistryValue* RegistryKey::value(const std::u16string& name) const {
    auto found = m_values.find(foldName(name));
    return found == m_values.end() ? nullptr : &found->second;
}

void RegistryKey::setValue(const std::u16string& name, DWORD type, std::vector<BYTE> data) {
    auto [entry, inserted] = m_values.try_emplace(foldName(name));
    if (inserted) entry->second.name = name;
    entry->second.type = type;
    entry->second.data = std::move(data);
}

bool RegistryKey::removeValue(const std::u16string& name) {
    return m_values.erase(foldName(name)) > 0;
}

}  // namespace platform::registry
