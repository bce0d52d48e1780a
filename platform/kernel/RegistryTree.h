// The in-memory form of one registry hive: keys holding typed values and subkeys, found by names
// compared without regard to case and kept with the case they were first given.
#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/wintypes.h"

namespace platform::registry {

// The limits of a hive. The reader refuses a file beyond them (it is set aside like a damaged one), so
// that no file can make a program use unbounded memory or stack; the API refuses a change beyond them,
// so that no program can write a hive that the reader would refuse.
constexpr size_t kMaxKeyDepth = 512;                    // levels of keys below the hive's root
constexpr size_t kMaxKeyNameLength = 255;               // characters of one key's name
constexpr size_t kMaxValueNameLength = 16383;           // characters of a value's name
constexpr size_t kMaxValueBytes = size_t{1} << 20;      // bytes of one value's data
constexpr size_t kMaxHiveEntries = 100000;              // keys and values of one hive
constexpr size_t kMaxHiveFileBytes = size_t{16} << 20;  // the hive file
// One line of the file: the longest value written in hex (three characters a byte) with the longest
// name fits, and so does the deepest key path of the longest names.
constexpr size_t kMaxHiveLineBytes = size_t{4} << 20;

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

// The text form of a hive file; nothing when the tree is beyond the limits above (more entries, or a
// longer text, than the reader accepts).
std::optional<std::string> serializeHive(const RegistryKey& root);
// Reads a hive file's text into root. Returns false with a description of the first fault (the line
// number and what was wrong, or the limit the text goes beyond) when the text is not a hive within the
// limits; root then holds part of the text and should be dropped.
bool parseHive(const std::string& text, RegistryKey& root, std::string& error);

}  // namespace platform::registry
