// TypedFilter: the letters typed to narrow a selection list, one entry per key press (a key's letter
// group or one typed letter, in lower case), and the rule that decides which names they match.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace shell {

// The text with every character in lower case (the platform's case mapping, locale-independent).
std::u16string lowerText(std::u16string_view text);

// Whether a name (already in lower case) matches the entries: with no entries every name does;
// otherwise an empty name never does, and a name does when one of its words (separated by the
// alphabet-key separators) begins with one letter of each entry, in order.
bool matchesTypedFilter(std::u16string_view loweredName, const std::vector<std::u16string>& entries);

class TypedFilter {
  public:
    bool empty() const { return m_entries.empty(); }
    int size() const { return static_cast<int>(m_entries.size()); }
    const std::vector<std::u16string>& entries() const { return m_entries; }

    // Appends letters (a key's group or one letter) as one entry, in lower case.
    void append(std::u16string_view letters);
    // Removes the last entry; false when there was none.
    bool removeLast();
    // Removes every entry; false when there was none.
    bool clear();

    bool matches(std::u16string_view loweredName) const { return matchesTypedFilter(loweredName, m_entries); }

  private:
    std::vector<std::u16string> m_entries;
};

}  // namespace shell
