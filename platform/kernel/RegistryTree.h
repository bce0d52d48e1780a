// The in-memory form of one registry hive: keys holding typed values and subkeys, found by names
// compared without regard to case and kept with the case they were first given.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/wintypes.h"

namespace platform::registry {

// The comparison form of a key or value name (upper case over Latin, Greek and Cyrillic letters).
std::u16string foldName(const std::u16string& name);

struct RegistryValue {
    std::u16string name;  // as first given; empty for the key's default value
    DWORD type = 0;
    std::vector<BYTE> data;
};

class RegistryKey {
  public:
    explicit RegistryKey(std::u16string name = {}) : m_name(std::move(name)) {}

    const std::u16string& name() const { return m_name; }

    // The descendant at path (names of successive subkeys); nullptr when any part is missing.
    RegistryKey* find(const std::vector<std::u16string>& path);
    // The descendant at path, creating missing keys; created tells whether the last one was new.
    RegistryKey& create(const std::vector<std::u16string>& path, bool& created);
    RegistryKey* child(const std::u16string& name);
    RegistryKey& addChild(const std::u16string& name);
    // Removes a direct subkey with everything below it; false when there is none.
    bool removeChild(const std::u16string& name);

    const RegistryValue* value(const std::u16string& name) const;
    // Sets a value; a value that exists keeps the case of its name.
    void setValue(const std::u16string& name, DWORD type, std::vector<BYTE> data);
    bool removeValue(const std::u16string& name);

    // Values and subkeys in the order of their folded names.
    const std::map<std::u16string, RegistryValue>& values() const { return m_values; }
    const std::map<std::u16string, std::unique_ptr<RegistryKey>>& children() const { return m_children; }

  private:
    std::u16string m_name;
    std::map<std::u16string, RegistryValue> m_values;
    std::map<std::u16string, std::unique_ptr<RegistryKey>> m_children;
};

// The text form of a hive file. parseHive returns false with a description of the first fault (the
// line number and what was wrong) when the text is not a hive.
std::string serializeHive(const RegistryKey& root);
bool parseHive(const std::string& text, RegistryKey& root, std::string& error);

}  // namespace platform::registry
