// The finance manager's option key, which this system reads but does not own, and the application
// profile's desktop-synchronisation partners.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace dove {

inline constexpr const char16_t* kOptionKey = u"Software\\Varkel\\Brimwell\\Options";
inline constexpr const char16_t* kOptionDefaultCurrency = u"Default Currency";
inline constexpr const char16_t* kOptionFutureListDateLow = u"Future List Date Low";
inline constexpr const char16_t* kOptionFutureListDateHigh = u"Future List Date High";
inline constexpr const char16_t* kOptionTodayFailed = u"TodayFailed";
inline constexpr const char16_t* kOptionScheduledTodayShow = u"Scheduled Today Show";

// A string or number value of the option key; nullopt when the key or value is missing or of another type.
// createKey creates the key when it is missing (the reader of "Default Currency" does so).
std::optional<std::u16string> readOptionString(const char16_t* name, bool createKey = false);
std::optional<uint32_t> readOptionNumber(const char16_t* name);
// Writes a number value (the Today item's start-up guard). False when the registry refuses.
bool writeOptionNumber(const char16_t* name, uint32_t value);

// The application profile's "Options" section. The program gives the profile no location, so every
// read yields its default and there is never a synchronisation partner; tests give the profile values
// to reach the other branch.
struct ApplicationProfile {
    std::u16string parent1;
    std::u16string parent2;
};
void setApplicationProfileForTesting(const std::optional<ApplicationProfile>& profile);

// True when "Parent1" is a non-empty string, otherwise true when "Parent2" is.
bool isSyncPartnerSet();

}  // namespace dove
