// Property values: construction, typed access and conversion to and from the store's form.
#include "PropertyValue.h"

namespace dove {

WORD storeTypeOf(SortKind kind) {
    switch (kind) {
        case SortKind::I4:
            return CEVT_I4;
        case SortKind::String:
            return CEVT_LPWSTR;
        case SortKind::Date:
        case SortKind::Date64:
            return CEVT_FILETIME;
        case SortKind::None:
            break;
    }
    return 0;
}

PropertyValue PropertyValue::i4(PropertyNumber number, int32_t value) {
    PropertyValue v;
    v.m_id = propertyId(number, CEVT_I4);
    v.m_number = value;
    return v;
}

PropertyValue PropertyValue::date(PropertyNumber number, uint64_t value) {
    PropertyValue v;
    v.m_id = propertyId(number, CEVT_FILETIME);
    v.m_date = value;
    return v;
}

PropertyValue PropertyValue::string(PropertyNumber number, std::u16string value) {
    PropertyValue v;
    v.m_id = propertyId(number, CEVT_LPWSTR);
    v.m_ownedText = std::move(value);
    v.m_ownsData = true;
    return v;
}

PropertyValue PropertyValue::fromStore(const CEPROPVAL& stored) {
    PropertyValue v;
    v.m_id = stored.propid;
    switch (TypeFromPropID(stored.propid)) {
        case CEVT_I4:
            v.m_number = stored.val.lVal;
            break;
        case CEVT_FILETIME:
            v.m_date = (static_cast<uint64_t>(stored.val.filetime.dwHighDateTime) << 32) |
                       stored.val.filetime.dwLowDateTime;
            break;
        case CEVT_LPWSTR:
            v.m_storeText = stored.val.lpwstr;
            break;
        default:
            break;  // types the finance tables never use are kept by id only
    }
    return v;
}

const char16_t* PropertyValue::text() const {
    if (type() != CEVT_LPWSTR) return u"";
    if (m_ownsData) return m_ownedText.c_str();
    return m_storeText != nullptr ? m_storeText : u"";
}

void PropertyValue::setI4(int32_t value) {
    m_ownedText.clear();
    m_ownsData = false;
    m_storeText = nullptr;
    m_id = propertyId(number(), CEVT_I4);
    m_number = value;
}

void PropertyValue::setDate(uint64_t value) {
    m_ownedText.clear();
    m_ownsData = false;
    m_storeText = nullptr;
    m_id = propertyId(number(), CEVT_FILETIME);
    m_date = value;
}

void PropertyValue::setString(std::u16string value) {
    m_storeText = nullptr;
    m_id = propertyId(number(), CEVT_LPWSTR);
    m_ownedText = std::move(value);
    m_ownsData = true;
}

CEPROPVAL PropertyValue::toStore() const {
    CEPROPVAL out{};
    out.propid = m_id;
    switch (type()) {
        case CEVT_I4:
            out.val.lVal = m_number;
            break;
        case CEVT_FILETIME:
            out.val.filetime.dwLowDateTime = static_cast<DWORD>(m_date);
            out.val.filetime.dwHighDateTime = static_cast<DWORD>(m_date >> 32);
            break;
        case CEVT_LPWSTR:
            out.val.lpwstr = const_cast<LPWSTR>(text());
            break;
        default:
            break;
    }
    return out;
}

}  // namespace dove
