// Reading DLGTEMPLATE bytes with bounds checks.

#include "DialogTemplate.h"

namespace platform::user {

namespace {

constexpr WORD kOrdinal = 0xFFFF;
// Styles, position and size, id, the shortest class (an atom) and text (empty), no creation data.
constexpr size_t kMinItemBytes = 4 + 4 + 8 + 2 + 4 + 2 + 2;

// Little-endian reads that fail instead of running past the end.
class Reader {
  public:
    Reader(const BYTE* bytes, size_t size) : m_bytes(bytes), m_size(size) {}

    bool word(WORD& out) {
        if (m_at + 2 > m_size) return false;
        out = static_cast<WORD>(m_bytes[m_at] | (m_bytes[m_at + 1] << 8));
        m_at += 2;
        return true;
    }
    bool dword(DWORD& out) {
        WORD low, high;
        if (!word(low) || !word(high)) return false;
        out = low | (static_cast<DWORD>(high) << 16);
        return true;
    }
    bool shortValue(short& out) {
        WORD value;
        if (!word(value)) return false;
        out = static_cast<short>(value);
        return true;
    }
    bool text(std::u16string& out) {
        out.clear();
        for (WORD c;;) {
            if (!word(c)) return false;
            if (c == 0) return true;
            out.push_back(static_cast<char16_t>(c));
        }
    }
    // A 0xFFFF ordinal (ordinal set, text empty) or a text.
    bool ordinalOrText(WORD& ordinal, std::u16string& text) {
        ordinal = 0;
        size_t start = m_at;
        WORD first;
        if (!word(first)) return false;
        if (first == kOrdinal) return word(ordinal);
        m_at = start;
        return this->text(text);
    }
    bool bytes(size_t count, std::vector<BYTE>& out) {
        if (m_at + count > m_size) return false;
        out.assign(m_bytes + m_at, m_bytes + m_at + count);
        m_at += count;
        return true;
    }
    void align(size_t alignment) { m_at = (m_at + alignment - 1) / alignment * alignment; }

  private:
    const BYTE* m_bytes;
    size_t m_size;
    size_t m_at = 0;
};

bool predefinedClass(WORD atom, std::u16string& name) {
    static const std::pair<WORD, const char16_t*> kAtoms[] = {
        {0x0080, u"Button"},  {0x0081, u"Edit"},      {0x0082, u"Static"},
        {0x0083, u"ListBox"}, {0x0084, u"ScrollBar"}, {0x0085, u"ComboBox"},
    };
    for (const auto& [value, text] : kAtoms) {
        if (value == atom) {
            name = text;
            return true;
        }
    }
    return false;
}

bool readItem(Reader& in, DialogItem& item) {
    in.align(4);
    if (!in.dword(item.style) || !in.dword(item.exStyle)) return false;
    if (!in.shortValue(item.x) || !in.shortValue(item.y) || !in.shortValue(item.cx) ||
        !in.shortValue(item.cy))
        return false;
    WORD ordinal = 0;
    if (!in.word(item.id) || !in.ordinalOrText(ordinal, item.className)) return false;
    if (ordinal && !predefinedClass(ordinal, item.className)) return false;
    if (item.className.empty()) return false;
    // A text given as a resource ordinal (an icon or bitmap of a static) leaves the text empty.
    if (!in.ordinalOrText(ordinal, item.text)) return false;
    WORD extra = 0;
    if (!in.word(extra)) return false;
    return extra == 0 || in.bytes(extra, item.creationData);
}

}  // namespace

bool parseDialogTemplate(const BYTE* bytes, size_t size, DialogTemplate* out) {
    if (!bytes || !out) return false;
    Reader in(bytes, size);
    WORD count = 0;
    if (!in.dword(out->style) || !in.dword(out->exStyle) || !in.word(count)) return false;
    if (!in.shortValue(out->x) || !in.shortValue(out->y) || !in.shortValue(out->cx) ||
        !in.shortValue(out->cy))
        return false;
    std::u16string menuName;
    WORD classOrdinal = 0;
    if (!in.ordinalOrText(out->menuId, menuName) || !in.ordinalOrText(classOrdinal, out->className))
        return false;
    if (classOrdinal) return false;  // dialog classes are named
    if (!in.text(out->title)) return false;
    if ((out->style & DS_SETFONT) && (!in.word(out->pointSize) || !in.text(out->face))) return false;
    // Each item takes at least kMinItemBytes, so a count the bytes cannot hold is refused before a
    // damaged template makes room for 65,535 items.
    if (count > size / kMinItemBytes) return false;
    out->items.resize(count);
    for (DialogItem& item : out->items)
        if (!readItem(in, item)) return false;
    return true;
}

}  // namespace platform::user
