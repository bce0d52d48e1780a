// The device root and the mapping of device paths into it; UTF-16 conversions at the edges.
#include "platform/device.h"

#include <cstdlib>
#include <filesystem>
#include <mutex>

namespace platform {
namespace {

std::mutex g_rootLock;
std::string g_rootOverride;

std::string defaultRoot() {
    if (const char* env = std::getenv("VARKEL_ROOT"); env != nullptr && *env != '\0') return env;
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr && *home != '\0' ? home : "/tmp") + "/.local/share/varkel";
}

}  // namespace

std::string deviceRoot() {
    std::string root;
    {
        std::lock_guard guard(g_rootLock);
        root = g_rootOverride.empty() ? defaultRoot() : g_rootOverride;
    }
    std::error_code ignored;
    std::filesystem::create_directories(root, ignored);
    return root;
}

void setDeviceRoot(const std::string& hostPath) {
    std::lock_guard guard(g_rootLock);
    g_rootOverride = hostPath;
}

std::string runFolder() {
    std::string run = deviceRoot() + "/run";
    std::error_code ignored;
    std::filesystem::create_directories(run, ignored);
    return run;
}

std::string hostPath(LPCWSTR devicePath) {
    std::string path = devicePath != nullptr ? toUtf8(devicePath) : std::string();
    for (char& c : path) {
        if (c == '\\') c = '/';
    }
    while (!path.empty() && path.front() == '/')
        path.erase(path.begin());
    return deviceRoot() + "/" + path;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string toUtf8(const char16_t* text, size_t length) {
    std::string out;
    out.reserve(length);
    for (size_t i = 0; i < length; ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < length && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        appendUtf8(out, c);
    }
    return out;
}

std::string toUtf8(const std::u16string& text) {
    return toUtf8(text.data(), text.size());
}

std::string toUtf8(const char16_t* text) {
    if (text == nullptr) return {};
    size_t n = 0;
    while (text[n] != 0)
        ++n;
    return toUtf8(text, n);
}

std::u16string fromUtf8(const std::string& text) {
    std::u16string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        auto b = static_cast<unsigned char>(text[i]);
        char32_t c;
        int extra;
        if (b < 0x80) {
            c = b, extra = 0;
        } else if ((b & 0xE0) == 0xC0) {
            c = b & 0x1F, extra = 1;
        } else if ((b & 0xF0) == 0xE0) {
            c = b & 0x0F, extra = 2;
        } else if ((b & 0xF8) == 0xF0) {
            c = b & 0x07, extra = 3;
        } else {
            out += u'\xFFFD';
            ++i;
            continue;
        }
        bool ok = true;
        for (int k = 1; k <= extra; ++k) {
            if (i + k >= text.size() || (static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        if (!ok) {
            out += u'\xFFFD';
            ++i;
            continue;
        }
        i += extra + 1;
        if (c >= 0x10000) {
            c -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (c >> 10));
            out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
    }
    return out;
}

}  // namespace platform
