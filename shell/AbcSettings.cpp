// Choosing the alphabet-key type, reading the built-in formats from the module's "ABC" resources and
// the personal one from the registry, and the keypad's letter labels.
#include "AbcSettings.h"

#include <cstdlib>

#include "SettingsStore.h"
#include "Str.h"
#include "platform/resources.h"
#include "platform/winnls.h"

namespace shell {
namespace {

constexpr const WCHAR* kAbcResourceType = u"ABC";
constexpr char16_t kByteOrderMark = 0xFEFF;
constexpr DWORD kTypeFromLocale = 0xFFFFFFFF;

struct TypeInfo {
    UINT resource;  // 0 for the personal type
    UINT name;      // string id
    int language;   // primary language code choosing the type by default; 0 for none
};
constexpr TypeInfo kTypes[kAbcTypeCount] = {
    {0, 119, 0}, {198, 117, 9}, {199, 118, 25}, {215, 122, 25}, {220, 130, 7}};

bool validType(DWORD type) {
    return type < static_cast<DWORD>(kAbcTypeCount);
}

// The user's primary language: the locale's language code read as hexadecimal, low 8 bits; -1 when
// the locale does not answer.
int userLanguage() {
    WCHAR code[16] = {};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_ILANGUAGE, code, 16) <= 0) return -1;
    char digits[16] = {};
    for (int i = 0; i < 15 && code[i] != 0; ++i)
        digits[i] = static_cast<char>(code[i] < 0x80 ? code[i] : '?');
    char* end = nullptr;
    long value = std::strtol(digits, &end, 16);
    if (end == digits) return -1;
    return static_cast<int>(value & 0xFF);
}

std::u16string utf16FromBytes(const BYTE* bytes, size_t size) {
    std::u16string text;
    text.reserve(size / 2);
    for (size_t i = 0; i + 1 < size; i += 2)
        text += static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
    return text;
}

std::optional<std::u16string> formatText(HINSTANCE resources, int type) {
    return type == kAbcPersonal ? customAbcText() : builtInAbcText(resources, type);
}

}  // namespace

int currentAbcType() {
    DWORD stored = readSettingNumber(kSettingAbcType, kTypeFromLocale);
    if (validType(stored)) return static_cast<int>(stored);
    int language = userLanguage();
    for (int type = kAbcEnglish; type < kAbcTypeCount; ++type)
        if (kTypes[type].language == language) return type;
    return kAbcEnglish;
}

std::optional<std::u16string> builtInAbcText(HINSTANCE resources, int type) {
    if (type <= kAbcPersonal || type >= kAbcTypeCount) return std::nullopt;
    HRSRC found = FindResourceW(resources, MAKEINTRESOURCEW(kTypes[type].resource), kAbcResourceType);
    if (found == nullptr) return std::nullopt;
    DWORD size = SizeofResource(resources, found);
    const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(resources, found)));
    if (bytes == nullptr || size < 4) return std::nullopt;
    std::u16string text = utf16FromBytes(bytes, size);
    if (text.empty() || text[0] != kByteOrderMark) return std::nullopt;
    return text.substr(1);
}

std::optional<std::u16string> customAbcText() {
    std::optional<std::vector<BYTE>> bytes = readBytes(kSettingsSubKey, kSettingAbcCustom);
    if (!bytes) return std::nullopt;
    return utf16FromBytes(bytes->data(), bytes->size());
}

bool writeCustomAbcText(const std::u16string& text) {
    std::vector<BYTE> bytes;
    bytes.reserve(text.size() * 2);
    for (char16_t ch : text) {
        bytes.push_back(static_cast<BYTE>(ch & 0xFF));
        bytes.push_back(static_cast<BYTE>(ch >> 8));
    }
    return writeBytes(kSettingsSubKey, kSettingAbcCustom, bytes);
}

std::vector<AbcChoice> abcChoices(HINSTANCE resources) {
    std::vector<AbcChoice> choices;
    for (int type = kAbcPersonal; type < kAbcTypeCount; ++type) {
        std::optional<std::u16string> text = formatText(resources, type);
        bool parses = text && parseAbcFormat(*text).valid();
        if (type != kAbcPersonal && !parses) continue;
        Str name;
        name.load(kTypes[type].name, resources);
        choices.push_back({type, std::u16string(name.c_str()), parses ? *text : std::u16string()});
    }
    return choices;
}

void AbcSettings::load(HINSTANCE resources) {
    m_type = currentAbcType();
    std::optional<std::u16string> text = formatText(resources, m_type);
    m_format = text ? parseAbcFormat(*text) : AbcFormat{};
    if (m_format.valid()) return;
    text = builtInAbcText(resources, kAbcEnglish);
    m_format = text ? parseAbcFormat(*text) : AbcFormat{};
}

KeyLabels AbcSettings::keyLabels() const {
    KeyLabels labels;
    for (int i = 0; i < kAlphabetLabelCount && i < m_format.groupCount(); ++i) {
        const std::u16string& second = m_format.secondLabels[static_cast<size_t>(i)];
        labels[static_cast<size_t>(i)] = m_format.labels[static_cast<size_t>(i)];
        if (m_format.hasSecondLanguage && !second.empty()) labels[static_cast<size_t>(i)] += u"^" + second;
    }
    return labels;
}

std::u16string AbcSettings::keyLetters(int key) const {
    if (key < 0 || key >= m_format.groupCount()) return {};
    return m_format.filters[static_cast<size_t>(key)];
}

}  // namespace shell
