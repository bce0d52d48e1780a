// Serialising record properties into blobs, reading them back into CEPROPVAL buffers, and sort keys.
#include "RecordBlob.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace platform::cedb {
namespace {

size_t padded(size_t bytes) {
    return (bytes + 3u) & ~size_t{3};
}
size_t padded8(size_t bytes) {
    return (bytes + 7u) & ~size_t{7};
}

// Width of a fixed-size value, 0 for strings and blobs, -1 for unknown types.
int fixedWidth(WORD type) {
    switch (type) {
        case CEVT_I2:
        case CEVT_UI2:
            return 2;
        case CEVT_I4:
        case CEVT_UI4:
        case CEVT_BOOL:
            return 4;
        case CEVT_FILETIME:
        case CEVT_R8:
            return 8;
        case CEVT_LPWSTR:
        case CEVT_BLOB:
            return 0;
        default:
            return -1;
    }
}

size_t lengthOf(const WCHAR* text) {
    size_t n = 0;
    while (text[n] != 0)
        ++n;
    return n;
}

void appendProp(Blob& out, CEPROPID id, const void* data, size_t size) {
    uint32_t header[2] = {id, static_cast<uint32_t>(size)};
    out.append(reinterpret_cast<const char*>(header), 8);
    out.append(static_cast<const char*>(data), size);
    out.append(padded(size) - size, '\0');
}

void appendValue(Blob& out, const CEPROPVAL& p) {
    WORD type = TypeFromPropID(p.propid);
    if (type == CEVT_LPWSTR) {
        appendProp(out, p.propid, p.val.lpwstr, lengthOf(p.val.lpwstr) * sizeof(WCHAR));
    } else if (type == CEVT_BLOB) {
        appendProp(out, p.propid, p.val.blob.lpb, p.val.blob.dwCount);
    } else {
        appendProp(out, p.propid, &p.val, static_cast<size_t>(fixedWidth(type)));
    }
}

const CEPROPVAL* findListed(CEPROPID id, WORD count, const CEPROPVAL* props) {
    for (WORD i = 0; i < count; ++i) {
        if (props[i].propid == id) return &props[i];
    }
    return nullptr;
}

bool findProp(std::string_view blob, CEPROPID id, PropView& found) {
    bool hit = false;
    forEachProp(blob, [&](const PropView& p) {
        if (p.id != id) return true;
        found = p;
        hit = true;
        return false;
    });
    return hit;
}

// Orders signed and floating values as unsigned 64-bit numbers.
uint64_t numberKey(WORD type, const char* data) {
    CEVALUNION v{};
    int width = fixedWidth(type);
    if (width <= 0) return 0;
    std::memcpy(&v, data, static_cast<size_t>(width));
    constexpr uint64_t kSign = uint64_t{1} << 63;
    switch (type) {
        case CEVT_I2:
            return static_cast<uint64_t>(static_cast<int64_t>(v.iVal)) ^ kSign;
        case CEVT_UI2:
            return v.uiVal;
        case CEVT_I4:
            return static_cast<uint64_t>(static_cast<int64_t>(v.lVal)) ^ kSign;
        case CEVT_UI4:
        case CEVT_BOOL:
            return v.ulVal;
        case CEVT_FILETIME:
            return (uint64_t{v.filetime.dwHighDateTime} << 32) | v.filetime.dwLowDateTime;
        default: {
            uint64_t bits = 0;
            std::memcpy(&bits, &v.dblVal, 8);
            return (bits & kSign) != 0 ? ~bits : bits | kSign;
        }
    }
}

void packPrefix(SortKey& key) {
    for (size_t i = 0; i < SortKey::kPackedUnits; ++i) {
        uint64_t unit = i < key.chars.size() ? key.chars[i] : 0;
        uint64_t& word = key.words[i / 4];
        word = (word << 16) | unit;
    }
}

}  // namespace

int compareUnits(std::u16string_view a, std::u16string_view b) {
    const size_t n = std::min(a.size(), b.size());
    size_t i = 0;
    // Four units at a time: the lowest differing bit of two equal-width loads is in the first unit that
    // differs (the units lie in memory order, lowest address in the lowest bits).
    for (; i + 4 <= n; i += 4) {
        uint64_t x = 0, y = 0;
        std::memcpy(&x, a.data() + i, 8);
        std::memcpy(&y, b.data() + i, 8);
        if (x != y) {
            const size_t at = i + static_cast<size_t>(__builtin_ctzll(x ^ y)) / 16;
            return a[at] < b[at] ? -1 : 1;
        }
    }
    for (; i < n; ++i) {
        if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

bool sortableType(WORD type) {
    return fixedWidth(type) > 0 || type == CEVT_LPWSTR;
}

bool validProps(WORD count, const CEPROPVAL* props) {
    if (count == 0 || props == nullptr) return SetLastError(ERROR_INVALID_PARAMETER), false;
    for (WORD i = 0; i < count; ++i) {
        const CEPROPVAL& p = props[i];
        WORD type = TypeFromPropID(p.propid);
        bool deleting = (p.wFlags & CEDB_PROPDELETE) != 0;
        bool bad = fixedWidth(type) < 0 || findListed(p.propid, i, props) != nullptr;
        if (!deleting && type == CEVT_LPWSTR && p.val.lpwstr == nullptr) bad = true;
        if (!deleting && type == CEVT_BLOB && p.val.blob.lpb == nullptr && p.val.blob.dwCount != 0)
            bad = true;
        if (bad) return SetLastError(ERROR_INVALID_PARAMETER), false;
    }
    return true;
}

Blob mergeProps(std::string_view old, WORD count, const CEPROPVAL* props) {
    Blob out;
    out.reserve(old.size() + 64);
    std::vector<bool> used(count, false);
    forEachProp(old, [&](const PropView& p) {
        const CEPROPVAL* listed = findListed(p.id, count, props);
        if (listed == nullptr) {
            appendProp(out, p.id, p.data, p.size);
            return true;
        }
        used[static_cast<size_t>(listed - props)] = true;
        if ((listed->wFlags & CEDB_PROPDELETE) == 0) appendValue(out, *listed);
        return true;
    });
    for (WORD i = 0; i < count; ++i) {
        if (!used[i] && (props[i].wFlags & CEDB_PROPDELETE) == 0) appendValue(out, props[i]);
    }
    return out;
}

bool propertyRange(std::string_view blob, CEPROPID id, size_t& begin, size_t& end) {
    PropView p{};
    if (!findProp(blob, id, p)) return false;
    const size_t value = static_cast<size_t>(p.data - blob.data());
    begin = value - 8;
    end = value + p.size;
    return true;
}

bool wellFormed(std::string_view blob) {
    size_t consumed = 0;
    bool typesKnown = true;
    forEachProp(blob, [&](const PropView& p) {
        int width = fixedWidth(TypeFromPropID(p.id));
        if (width < 0 || (width > 0 && p.size != static_cast<uint32_t>(width))) typesKnown = false;
        consumed += 8 + padded(p.size);
        return typesKnown;
    });
    return typesKnown && consumed == blob.size();
}

size_t readSize(std::string_view blob, WORD count, const CEPROPID* propIds, WORD* propsOut) {
    size_t props = 0;
    size_t data = 0;
    auto addData = [&](const PropView& p) {
        WORD type = TypeFromPropID(p.id);
        if (type == CEVT_LPWSTR) data += padded8(p.size + sizeof(WCHAR));
        if (type == CEVT_BLOB) data += padded8(p.size);
    };
    if (propIds == nullptr) {
        forEachProp(blob, [&](const PropView& p) {
            ++props;
            addData(p);
            return true;
        });
    } else {
        props = count;
        for (WORD i = 0; i < count; ++i) {
            PropView p{};
            if (findProp(blob, propIds[i], p)) addData(p);
        }
    }
    if (propsOut != nullptr) *propsOut = static_cast<WORD>(props);
    return props * sizeof(CEPROPVAL) + data;
}

void fillRead(std::string_view blob, WORD count, const CEPROPID* propIds, BYTE* buffer) {
    WORD props = 0;
    readSize(blob, count, propIds, &props);
    size_t arrayBytes = props * sizeof(CEPROPVAL);
    auto* out = reinterpret_cast<CEPROPVAL*>(buffer);
    BYTE* data = buffer + arrayBytes;
    auto fill = [&](CEPROPVAL& v, const PropView& p) {
        v = CEPROPVAL{};
        v.propid = p.id;
        WORD type = TypeFromPropID(p.id);
        if (type == CEVT_LPWSTR) {
            std::memcpy(data, p.data, p.size);
            std::memset(data + p.size, 0, sizeof(WCHAR));
            v.val.lpwstr = reinterpret_cast<LPWSTR>(data);
            data += padded8(p.size + sizeof(WCHAR));
        } else if (type == CEVT_BLOB) {
            if (p.size != 0) std::memcpy(data, p.data, p.size);
            v.val.blob = CEBLOB{p.size, data};
            data += padded8(p.size);
        } else {
            std::memcpy(&v.val, p.data, p.size);
        }
    };
    if (propIds == nullptr) {
        size_t i = 0;
        forEachProp(blob, [&](const PropView& p) {
            fill(out[i++], p);
            return true;
        });
        return;
    }
    for (WORD i = 0; i < count; ++i) {
        PropView p{};
        if (findProp(blob, propIds[i], p)) {
            fill(out[i], p);
        } else {
            out[i] = CEPROPVAL{};
            out[i].propid = propIds[i];
            out[i].wFlags = CEDB_PROPNOTFOUND;
        }
    }
}

SortKey keyOf(std::string_view blob, CEPROPID sortProp) {
    SortKey key;
    PropView p{};
    if (sortProp == 0 || !findProp(blob, sortProp, p)) return key;
    key.present = true;
    if (TypeFromPropID(sortProp) == CEVT_LPWSTR) {
        key.text = true;
        key.chars = std::u16string_view(reinterpret_cast<const char16_t*>(p.data), p.size / sizeof(WCHAR));
        packPrefix(key);
    } else {
        key.words[0] = numberKey(TypeFromPropID(sortProp), p.data);
    }
    return key;
}

bool keyOfValue(const CEPROPVAL& value, SortKey& key) {
    WORD type = TypeFromPropID(value.propid);
    if (!sortableType(type)) return false;
    key = SortKey{};
    key.present = true;
    if (type == CEVT_LPWSTR) {
        if (value.val.lpwstr == nullptr) return false;
        key.text = true;
        key.chars = std::u16string_view(value.val.lpwstr, lengthOf(value.val.lpwstr));
        packPrefix(key);
        return true;
    }
    key.words[0] = numberKey(type, reinterpret_cast<const char*>(&value.val));
    return true;
}

}  // namespace platform::cedb
