// Shared helpers of the window tests of composite controls: the screen profiles, children found by
// window name, window rectangles on the screen, and RECT comparison with readable failures.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "platform/windows.h"

inline bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

inline void PrintTo(const RECT& r, std::ostream* out) {
    *out << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}

namespace controlstest {

struct Profile {
    int width;
    int height;
    int dpi;
};
inline constexpr Profile kProfiles[] = {
    {240, 320, 96}, {480, 640, 192}, {640, 480, 192}, {480, 800, 192}, {240, 240, 96}};

inline std::string profileName(const ::testing::TestParamInfo<Profile>& info) {
    return std::to_string(info.param.width) + "x" + std::to_string(info.param.height);
}

inline std::string narrow(const std::u16string& text) {
    std::string out;
    for (char16_t c : text)
        out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

// The first direct child of parent whose window name is name; NULL when none is.
inline HWND childNamed(HWND parent, const WCHAR* name) {
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        WCHAR text[64] = {};
        GetWindowTextW(child, text, 64);
        if (std::u16string(text) == name) return child;
    }
    return nullptr;
}

inline RECT screenRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

inline POINT centreOf(HWND window) {
    RECT r = screenRect(window);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

}  // namespace controlstest
