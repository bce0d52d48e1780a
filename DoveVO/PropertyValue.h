// One typed property of a record as the finance store keeps it: the record property id (number in the
// high word, store type in the low word), the flags word and the value. Strings read from the store point
// into the cursor's read buffer; strings set by the program are owned copies.
#pragma once

#include <cstdint>
#include <string>

#include "platform/cedb.h"

namespace dove {

using PropertyNumber = uint16_t;

// How a table is sorted: none, by a signed 32-bit number, by a string, or by an 8-byte date.
enum class SortKind : int { None = 0, I4 = 1, String = 2, Date = 3, Date64 = 4 };

constexpr CEPROPID propertyId(PropertyNumber number, WORD type) {
    return (static_cast<CEPROPID>(number) << 16) | type;
}
constexpr PropertyNumber propertyNumber(CEPROPID id) {
    return static_cast<PropertyNumber>(id >> 16);
}
WORD storeTypeOf(SortKind kind);

class PropertyValue {
  public:
    PropertyValue() = default;
    static PropertyValue i4(PropertyNumber number, int32_t value);
    static PropertyValue date(PropertyNumber number, uint64_t value);
    static PropertyValue string(PropertyNumber number, std::u16string value);
    // A value read from the store; a string keeps pointing into the store's buffer.
    static PropertyValue fromStore(const CEPROPVAL& stored);

    PropertyNumber number() const { return propertyNumber(m_id); }
    WORD type() const { return static_cast<WORD>(m_id & 0xFFFF); }
    bool ownsData() const { return m_ownsData; }

    // Each getter yields the value when the property has that type, else the empty value.
    const char16_t* text() const;
    int32_t i4Value() const { return type() == CEVT_I4 ? m_number : 0; }
    uint64_t dateValue() const { return type() == CEVT_FILETIME ? m_date : 0; }

    // Replaces the value; setting a value of another type first drops owned data.
    void setI4(int32_t value);
    void setDate(uint64_t value);
    void setString(std::u16string value);

    // The value as the store's write call takes it; valid while this object lives unchanged.
    CEPROPVAL toStore() const;

  private:
    CEPROPID m_id = 0;
    int32_t m_number = 0;
    uint64_t m_date = 0;
    const char16_t* m_storeText = nullptr;
    std::u16string m_ownedText;
    bool m_ownsData = false;
};

}  // namespace dove
