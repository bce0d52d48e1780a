// The stored form of one record: its properties serialised into one byte string, and what is read from
// it (sort keys, the CEPROPVAL buffer handed to callers).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/cedb.h"

namespace platform::cedb {

// Layout: per property a header {u32 propid, u32 size} and size bytes of value padded to 4 bytes.
// Numbers are stored in the width of their type (2, 4 or 8 bytes), strings as UTF-16 code units without
// a terminator, blobs as their bytes. Strings therefore start 2-byte aligned in a 4-aligned buffer.
using Blob = std::string;

// One property of a blob.
struct PropView {
    CEPROPID id;
    const char* data;
    uint32_t size;
};

// Calls f(PropView) for every property of a well-formed blob, stopping when f returns false.
template <class F>
void forEachProp(std::string_view blob, F&& f) {
    size_t at = 0;
    while (at + 8 <= blob.size()) {
        uint32_t header[2];
        blob.copy(reinterpret_cast<char*>(header), 8, at);
        if (at + 8 + header[1] > blob.size()) return;
        if (!f(PropView{header[0], blob.data() + at + 8, header[1]})) return;
        at += 8 + ((header[1] + 3u) & ~3u);
    }
}

// True when every property has a known type, a string or blob pointer where one is needed and no two
// properties share an id; otherwise false with ERROR_INVALID_PARAMETER.
bool validProps(WORD count, const CEPROPVAL* props);

// The blob after writing props over old: listed properties replace or join old ones (in place, new ones
// at the end), those flagged CEDB_PROPDELETE are removed.
Blob mergeProps(std::string_view old, WORD count, const CEPROPVAL* props);

// The bytes [begin, end) that property id takes in the blob, its header included; false when the blob
// lacks it.
bool propertyRange(std::string_view blob, CEPROPID id, size_t& begin, size_t& end);

// True when the blob is a sequence of complete properties (a damaged row is rejected at load).
bool wellFormed(std::string_view blob);

// Bytes needed to read the record: the CEPROPVAL array plus its strings and blobs. propIds NULL: all.
size_t readSize(std::string_view blob, WORD count, const CEPROPID* propIds, WORD* propsOut);

// Fills buffer (readSize bytes, suitably aligned) with the CEPROPVAL array and the data it points to.
void fillRead(std::string_view blob, WORD count, const CEPROPID* propIds, BYTE* buffer);

// A value that records are ordered by: a number mapped so that unsigned order is the type's order, or a
// UTF-16 string compared by code unit. A string's first kPackedUnits code units are also packed into the
// words, four to a word, first unit highest (zero-padded; strings hold no NUL), so that most comparisons
// never touch the characters, which lie scattered in the records' blobs.
struct SortKey {
    static constexpr size_t kWords = 4;
    static constexpr size_t kPackedUnits = 4 * kWords;
    bool present = false;
    bool text = false;
    uint64_t words[kWords] = {};  // a number's key is words[0]
    std::u16string_view chars;
};

// <0, 0, >0 as a orders before, with, after b, by code unit; a shorter string before its extensions.
int compareUnits(std::u16string_view a, std::u16string_view b);

// The key of property sortProp in blob (absent when the record lacks it).
SortKey keyOf(std::string_view blob, CEPROPID sortProp);
// The key of a search value; false when its type cannot be a key or a string pointer is NULL.
bool keyOfValue(const CEPROPVAL& value, SortKey& key);
// True when a property type can be a sort order.
bool sortableType(WORD type);

}  // namespace platform::cedb
