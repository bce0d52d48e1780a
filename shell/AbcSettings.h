// AbcSettings: the alphabet-key format in use (chosen by "AbcType" or the user's language, built in
// as an "ABC" resource or typed by the user as "AbcCustom"), the labels it puts on the keypad's digit
// keys, and the list of formats the settings page offers.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "AbcFormat.h"
#include "platform/windows.h"

namespace shell {

// Alphabet-key format types, as "AbcType" stores them.
enum AbcType : int {
    kAbcPersonal = 0,
    kAbcEnglish = 1,
    kAbcRussian = 2,
    kAbcEnglishRussian = 3,
    kAbcGerman = 4
};
inline constexpr int kAbcTypeCount = 5;
// The labels the shell gives the keypad's digit keys 0 to 9.
inline constexpr int kAlphabetLabelCount = 10;
using KeyLabels = std::array<std::u16string, kAlphabetLabelCount>;

// The type in use: "AbcType" when it is 0 to 4; otherwise the first built-in type whose language is
// the user's (the locale's language code, read as hexadecimal, low 8 bits: 9 English, 25 Russian,
// 7 German); English when none is, or the locale does not answer.
int currentAbcType();
// The text of a built-in type's "ABC" resource in resources (after its byte-order mark); nullopt for
// the personal type, a missing resource, one shorter than 4 bytes or one without the mark.
std::optional<std::u16string> builtInAbcText(HINSTANCE resources, int type);
// "AbcCustom" as text; nullopt when it is missing or not a raw byte value.
std::optional<std::u16string> customAbcText();
// Stores text as "AbcCustom" (UTF-16, no terminator). False when the registry refuses.
bool writeCustomAbcText(const std::u16string& text);

// One format the settings page offers.
struct AbcChoice {
    int type;
    std::u16string name;  // string 119, 117, 118, 122 or 130
    std::u16string text;
};
// Every type in type order: the personal one with "AbcCustom" when it parses (else an empty text),
// then each built-in type whose resource parses.
std::vector<AbcChoice> abcChoices(HINSTANCE resources);

class AbcSettings {
  public:
    // Takes the current type's format: "AbcCustom" for the personal type, the type's resource
    // otherwise; the English resource when that is missing or invalid. Without any valid format the
    // settings hold no groups.
    void load(HINSTANCE resources);

    int type() const { return m_type; }
    const AbcFormat& format() const { return m_format; }
    // Label i of the ten digit keys: group i's first-language text, followed by "^" and its
    // second-language text when the format has a second language and that text is not empty;
    // empty for keys past the last group.
    KeyLabels keyLabels() const;
    // The letters key k adds to a typed filter; empty when the key has no group or the group none.
    std::u16string keyLetters(int key) const;

  private:
    int m_type = kAbcEnglish;
    AbcFormat m_format;
};

}  // namespace shell
