// Account records (read only here): field access by account number, and whether an account may be the
// other side of a transfer.
#pragma once

#include <cstdint>
#include <string>

#include "Amount.h"
#include "PropertyValue.h"

namespace dove {

// Account property numbers used by the data code.
namespace account {
inline constexpr PropertyNumber kNumber = 104;
inline constexpr PropertyNumber kPosition = 160;
inline constexpr PropertyNumber kName = 110;
inline constexpr PropertyNumber kCurrency = 301;
inline constexpr PropertyNumber kBalance = 113;
inline constexpr PropertyNumber kText = 114;
inline constexpr PropertyNumber kStartAmount = 161;
inline constexpr PropertyNumber kOpeningBalance = 164;
inline constexpr PropertyNumber kType = 173;
inline constexpr PropertyNumber kSecurities = 174;
inline constexpr PropertyNumber kKey = 135;
inline constexpr int32_t kInvestmentType = 5;
}  // namespace account

// Each getter puts Accounts in order 104 and seeks the number; a missing account yields empty or 0.
bool accountExists(int32_t number);
std::u16string accountName(int32_t number);
std::u16string accountCurrency(int32_t number);
Amount accountBalance(int32_t number);
int32_t accountNumberProperty(int32_t number, PropertyNumber property);
Amount accountAmountProperty(int32_t number, PropertyNumber property);
std::u16string accountTextProperty(int32_t number, PropertyNumber property);

// False for a missing account and for one with any of the flags 259, 165, 168 set.
bool isTransferTarget(int32_t number);

}  // namespace dove
