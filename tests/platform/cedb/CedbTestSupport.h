// Helpers for the object-store tests: property values, reading the current record, walking an order.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "TempRoot.h"
#include "platform/cedb.h"
#include "platform/heap.h"

namespace cedbtest {

constexpr CEPROPID kName = PropIdFromType(110, CEVT_LPWSTR);
constexpr CEPROPID kKey = PropIdFromType(135, CEVT_LPWSTR);
constexpr CEPROPID kNumber = PropIdFromType(104, CEVT_I4);
constexpr CEPROPID kDate = PropIdFromType(108, CEVT_FILETIME);
constexpr CEPROPID kBlob = PropIdFromType(900, CEVT_BLOB);

inline CEPROPVAL text(CEPROPID id, const char16_t* value) {
    CEPROPVAL v{};
    v.propid = id;
    v.val.lpwstr = const_cast<LPWSTR>(value);
    return v;
}

inline CEPROPVAL i4(CEPROPID id, LONG value) {
    CEPROPVAL v{};
    v.propid = id;
    v.val.lVal = value;
    return v;
}

inline CEPROPVAL date(CEPROPID id, uint64_t value) {
    CEPROPVAL v{};
    v.propid = id;
    v.val.filetime = FILETIME{static_cast<DWORD>(value), static_cast<DWORD>(value >> 32)};
    return v;
}

inline CEPROPVAL removal(CEPROPID id) {
    CEPROPVAL v{};
    v.propid = id;
    v.wFlags = CEDB_PROPDELETE;
    return v;
}

// The current record's properties as text (strings as they are, numbers in decimal).
struct Record {
    CEOID oid = 0;
    std::map<CEPROPID, std::u16string> props;
    std::u16string get(CEPROPID id) const {
        auto it = props.find(id);
        return it != props.end() ? it->second : u"<none>";
    }
};

inline std::u16string numberText(uint64_t n) {
    std::string s = std::to_string(n);
    return std::u16string(s.begin(), s.end());
}

inline Record readCurrent(HANDLE db) {
    Record r;
    LPBYTE buffer = nullptr;
    DWORD size = 0;
    WORD count = 0;
    r.oid = CeReadRecordPropsEx(db, CEDB_ALLOWREALLOC, &count, nullptr, &buffer, &size, nullptr);
    if (r.oid == 0) return r;
    auto* props = reinterpret_cast<CEPROPVAL*>(buffer);
    for (WORD i = 0; i < count; ++i) {
        const CEPROPVAL& p = props[i];
        switch (TypeFromPropID(p.propid)) {
            case CEVT_LPWSTR:
                r.props[p.propid] = p.val.lpwstr;
                break;
            case CEVT_I4:
                r.props[p.propid] = p.val.lVal < 0
                                        ? u"-" + numberText(static_cast<uint64_t>(-int64_t{p.val.lVal}))
                                        : numberText(static_cast<uint64_t>(p.val.lVal));
                break;
            case CEVT_FILETIME:
                r.props[p.propid] = numberText((uint64_t{p.val.filetime.dwHighDateTime} << 32) |
                                               p.val.filetime.dwLowDateTime);
                break;
            case CEVT_BLOB:
                r.props[p.propid] = std::u16string(p.val.blob.lpb, p.val.blob.lpb + p.val.blob.dwCount);
                break;
            default:
                r.props[p.propid] = u"?";
        }
    }
    LocalFree(buffer);
    return r;
}

// The values of prop in the handle's order, read by seeking to every index from the beginning.
inline std::vector<std::u16string> walk(HANDLE db, CEPROPID prop) {
    std::vector<std::u16string> values;
    DWORD index = 0;
    for (DWORD i = 0; CeSeekDatabase(db, CEDB_SEEK_BEGINNING, i, &index) != 0; ++i) {
        EXPECT_EQ(index, i);
        values.push_back(readCurrent(db).get(prop));
    }
    return values;
}

inline CEOID createDb(const char16_t* name, std::vector<SORTORDERSPEC> sorts) {
    return CeCreateDatabase(const_cast<LPWSTR>(name), 0, static_cast<WORD>(sorts.size()), sorts.data());
}

inline HANDLE openDb(const char16_t* name, CEPROPID sortProp, DWORD flags = 0) {
    CEOID oid = 0;
    return CeOpenDatabase(&oid, const_cast<LPWSTR>(name), sortProp, flags, nullptr);
}

template <size_t N>
CEOID add(HANDLE db, CEPROPVAL (&&props)[N]) {
    return CeWriteRecordProps(db, 0, static_cast<WORD>(N), props);
}

// Each test gets its own device root, so its own store file.
class CedbTest : public ::testing::Test {
  protected:
    void TearDown() override { platform::cedbCloseStore(); }
    platform::testing::TempRoot m_root;
};

}  // namespace cedbtest
