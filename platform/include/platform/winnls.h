// Locale services of the device platform: locale identifiers, GetLocaleInfoW and the date and time
// formatting, answered from the process's POSIX locale (glibc's data).
#pragma once

#include <string>

#include "platform/wintypes.h"

#ifndef ERROR_INVALID_FLAGS
#define ERROR_INVALID_FLAGS 1004L
#endif

#define LANG_NEUTRAL 0x00
#define LANG_GERMAN 0x07
#define LANG_GREEK 0x08
#define LANG_ENGLISH 0x09
#define LANG_SPANISH 0x0a
#define LANG_FRENCH 0x0c
#define LANG_ITALIAN 0x10
#define LANG_DUTCH 0x13
#define LANG_POLISH 0x15
#define LANG_PORTUGUESE 0x16
#define LANG_RUSSIAN 0x19
#define LANG_UKRAINIAN 0x22
#define LANG_BELARUSIAN 0x23
#define SUBLANG_NEUTRAL 0x00
#define SUBLANG_DEFAULT 0x01
#define SUBLANG_SYS_DEFAULT 0x02
#define SUBLANG_ENGLISH_US 0x01
#define SUBLANG_ENGLISH_UK 0x02
#define SUBLANG_GERMAN 0x01
#define SORT_DEFAULT 0x0

#define MAKELANGID(p, s) (static_cast<WORD>((static_cast<WORD>(s) << 10) | static_cast<WORD>(p)))
#define PRIMARYLANGID(lgid) (static_cast<WORD>(static_cast<WORD>(lgid) & 0x3ff))
#define SUBLANGID(lgid) (static_cast<WORD>(static_cast<WORD>(lgid) >> 10))
#define MAKELCID(lgid, srtid)                                                  \
    (static_cast<DWORD>((static_cast<DWORD>(static_cast<WORD>(srtid)) << 16) | \
                        static_cast<DWORD>(static_cast<WORD>(lgid))))
#define LANGIDFROMLCID(lcid) (static_cast<WORD>(lcid))
#define SORTIDFROMLCID(lcid) (static_cast<WORD>((static_cast<DWORD>(lcid) >> 16) & 0xf))

#define LOCALE_NEUTRAL 0x0000
#define LOCALE_USER_DEFAULT 0x0400
#define LOCALE_SYSTEM_DEFAULT 0x0800

// LCTYPE modifiers.
#define LOCALE_NOUSEROVERRIDE 0x80000000u
#define LOCALE_RETURN_NUMBER 0x20000000u

// LCTYPE items.
#define LOCALE_ILANGUAGE 0x0001
#define LOCALE_SLANGUAGE 0x0002
#define LOCALE_SABBREVLANGNAME 0x0003
#define LOCALE_SNATIVELANGNAME 0x0004
#define LOCALE_SLIST 0x000C
#define LOCALE_SDECIMAL 0x000E
#define LOCALE_STHOUSAND 0x000F
#define LOCALE_IDIGITS 0x0011
#define LOCALE_ILZERO 0x0012
#define LOCALE_SCURRENCY 0x0014
#define LOCALE_SINTLSYMBOL 0x0015
#define LOCALE_SMONDECIMALSEP 0x0016
#define LOCALE_SMONTHOUSANDSEP 0x0017
#define LOCALE_ICURRDIGITS 0x0019
#define LOCALE_ICURRENCY 0x001B
#define LOCALE_INEGCURR 0x001C
#define LOCALE_SDATE 0x001D
#define LOCALE_STIME 0x001E
#define LOCALE_SSHORTDATE 0x001F
#define LOCALE_SLONGDATE 0x0020
#define LOCALE_IDATE 0x0021
#define LOCALE_ILDATE 0x0022
#define LOCALE_ITIME 0x0023
#define LOCALE_S1159 0x0028
#define LOCALE_S2359 0x0029
#define LOCALE_SDAYNAME1 0x002A
#define LOCALE_SDAYNAME2 0x002B
#define LOCALE_SDAYNAME3 0x002C
#define LOCALE_SDAYNAME4 0x002D
#define LOCALE_SDAYNAME5 0x002E
#define LOCALE_SDAYNAME6 0x002F
#define LOCALE_SDAYNAME7 0x0030
#define LOCALE_SABBREVDAYNAME1 0x0031
#define LOCALE_SABBREVDAYNAME2 0x0032
#define LOCALE_SABBREVDAYNAME3 0x0033
#define LOCALE_SABBREVDAYNAME4 0x0034
#define LOCALE_SABBREVDAYNAME5 0x0035
#define LOCALE_SABBREVDAYNAME6 0x0036
#define LOCALE_SABBREVDAYNAME7 0x0037
#define LOCALE_SMONTHNAME1 0x0038
#define LOCALE_SMONTHNAME2 0x0039
#define LOCALE_SMONTHNAME3 0x003A
#define LOCALE_SMONTHNAME4 0x003B
#define LOCALE_SMONTHNAME5 0x003C
#define LOCALE_SMONTHNAME6 0x003D
#define LOCALE_SMONTHNAME7 0x003E
#define LOCALE_SMONTHNAME8 0x003F
#define LOCALE_SMONTHNAME9 0x0040
#define LOCALE_SMONTHNAME10 0x0041
#define LOCALE_SMONTHNAME11 0x0042
#define LOCALE_SMONTHNAME12 0x0043
#define LOCALE_SMONTHNAME13 0x100E
#define LOCALE_SABBREVMONTHNAME1 0x0044
#define LOCALE_SABBREVMONTHNAME2 0x0045
#define LOCALE_SABBREVMONTHNAME3 0x0046
#define LOCALE_SABBREVMONTHNAME4 0x0047
#define LOCALE_SABBREVMONTHNAME5 0x0048
#define LOCALE_SABBREVMONTHNAME6 0x0049
#define LOCALE_SABBREVMONTHNAME7 0x004A
#define LOCALE_SABBREVMONTHNAME8 0x004B
#define LOCALE_SABBREVMONTHNAME9 0x004C
#define LOCALE_SABBREVMONTHNAME10 0x004D
#define LOCALE_SABBREVMONTHNAME11 0x004E
#define LOCALE_SABBREVMONTHNAME12 0x004F
#define LOCALE_SABBREVMONTHNAME13 0x100F
#define LOCALE_SPOSITIVESIGN 0x0050
#define LOCALE_SNEGATIVESIGN 0x0051
#define LOCALE_STIMEFORMAT 0x1003
#define LOCALE_IFIRSTDAYOFWEEK 0x100C
#define LOCALE_IFIRSTWEEKOFYEAR 0x100D

// Flags of GetDateFormatW and GetTimeFormatW.
#define DATE_SHORTDATE 0x1
#define DATE_LONGDATE 0x2
#define TIME_NOMINUTESORSECONDS 0x1
#define TIME_NOSECONDS 0x2
#define TIME_NOTIMEMARKER 0x4
#define TIME_FORCE24HOURFORMAT 0x8

// The user's locale (see platform::setUserLocale) as an identifier: MAKELCID(language, SORT_DEFAULT),
// with the language from the locale's name: en 0x09, ru 0x19, de 0x07 and a few others; unknown
// languages and the C/POSIX locale are English (United States), 0x0409. The system's locale is the same.
LCID GetUserDefaultLCID();
LCID GetSystemDefaultLCID();
LANGID GetUserDefaultLangID();
LANGID GetSystemDefaultLangID();

// Writes the locale item type (optionally | LOCALE_RETURN_NUMBER, which writes a DWORD into the first
// two characters of a numeric item) into buffer and returns the characters written, the NUL included.
// size 0 returns the characters needed. Fails with 0 and ERROR_INSUFFICIENT_BUFFER when buffer is too
// small, ERROR_INVALID_PARAMETER for an unknown LCID or a null buffer with size > 0, ERROR_INVALID_FLAGS
// for an unknown item. locale: LOCALE_USER_DEFAULT, LOCALE_SYSTEM_DEFAULT, LOCALE_NEUTRAL or the LCID of
// a language whose POSIX locale is installed.
int GetLocaleInfoW(LCID locale, LCTYPE type, LPWSTR buffer, int size);

// Formats a date (null: now, local time) with picture (d, dd, ddd, dddd, M, MM, MMM, MMMM, y, yy, yyyy,
// 'quoted text'; other characters are copied), or, when picture is null, with the locale's short or long
// date picture chosen by DATE_SHORTDATE / DATE_LONGDATE. A full month name stands in the genitive when the
// picture also shows the day as a number (as in Russian), otherwise in the nominative. Returns
// characters written with the NUL, or needed when size is 0; 0 with ERROR_INSUFFICIENT_BUFFER,
// ERROR_INVALID_PARAMETER (invalid date, bad LCID) or ERROR_INVALID_FLAGS (flags with a picture).
int GetDateFormatW(LCID locale, DWORD flags, const SYSTEMTIME* date, LPCWSTR picture, LPWSTR buffer,
                   int size);
// The same for times: h, hh (12-hour), H, HH, m, mm, s, ss, t, tt (first character of / whole AM-PM
// marker); null picture uses the locale's time picture. TIME_NOSECONDS / TIME_NOMINUTESORSECONDS drop those
// fields with the separator before them, TIME_NOTIMEMARKER the marker, TIME_FORCE24HOURFORMAT makes h be H.
int GetTimeFormatW(LCID locale, DWORD flags, const SYSTEMTIME* time, LPCWSTR picture, LPWSTR buffer,
                   int size);

namespace platform {
// Chooses the POSIX locale the locale services answer from ("ru_RU.UTF-8"); an empty name returns to the
// environment's (LC_ALL, LC_*, LANG as setlocale(LC_ALL, "") would pick). False, and nothing changes,
// when the locale is not installed.
bool setUserLocale(const std::string& name);
}  // namespace platform
