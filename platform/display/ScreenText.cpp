// The screen's text runs with their windows, window paths, and the JSON lines of dump-text.

#include "ScreenText.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "Screen.h"
#include "platform/device.h"

namespace platform::display {
namespace {

std::vector<HWND> visibleChildren(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        if (IsWindowVisible(child)) children.push_back(child);
    return children;
}

std::u16string nameOf(HWND window) {
    WCHAR text[256] = {};
    GetWindowTextW(window, text, 256);
    std::u16string name(text);
    if (name.empty() || name.find(u'/') != std::u16string::npos)
        return u"#" + fromUtf8(std::to_string(GetDlgCtrlID(window)));
    return name;
}

bool matches(HWND window, const std::u16string& element) {
    if (!element.empty() && element[0] == u'#') {
        std::string digits = toUtf8(element.substr(1));
        if (digits.empty() || digits.find_first_not_of("0123456789-") != std::string::npos) return false;
        return GetDlgCtrlID(window) == std::atoi(digits.c_str());
    }
    WCHAR text[256] = {};
    GetWindowTextW(window, text, 256);
    return element == text;
}

// The outermost matches of element among window's visible descendants (and window itself when
// includeSelf).
void findOutermost(HWND window, const std::u16string& element, bool includeSelf, std::vector<HWND>& found) {
    if (includeSelf && matches(window, element)) {
        found.push_back(window);
        return;
    }
    for (HWND child : visibleChildren(window))
        findOutermost(child, element, true, found);
}

std::vector<std::u16string> split(const std::u16string& path) {
    std::vector<std::u16string> elements;
    size_t start = 0;
    while (start <= path.size()) {
        size_t slash = path.find(u'/', start);
        if (slash == std::u16string::npos) slash = path.size();
        elements.push_back(path.substr(start, slash - start));
        start = slash + 1;
    }
    return elements;
}

bool contains(HWND window, POINT point) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return PtInRect(&rect, point) != FALSE;
}

void writeJsonString(std::ostream& out, const std::u16string& text) {
    out << '"';
    for (char c : toUtf8(text)) {
        unsigned char u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out << '\\' << c;
        } else if (u < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", u);
            out << escaped;
        } else {
            out << c;
        }
    }
    out << '"';
}

}  // namespace

HWND windowAt(POINT point) {
    HWND found = nullptr;
    for (HWND level = GetDesktopWindow();;) {
        HWND hit = nullptr;
        for (HWND child : visibleChildren(level))
            if (contains(child, point)) {
                hit = child;
                break;
            }
        if (hit == nullptr) return found;
        found = level = hit;
    }
}

std::u16string pathOf(HWND window) {
    std::vector<std::u16string> elements;
    for (HWND w = window; w != nullptr; w = GetParent(w)) {
        bool topLevel = (GetWindowLongW(w, GWL_STYLE) & WS_CHILD) == 0;
        if (topLevel && w != window) break;
        elements.push_back(nameOf(w));
        if (topLevel) break;
    }
    std::u16string path;
    for (auto it = elements.rbegin(); it != elements.rend(); ++it)
        path += (path.empty() ? u"" : u"/") + *it;
    return path;
}

std::vector<HWND> windowsAtPath(const std::u16string& path) {
    std::vector<HWND> current;
    std::vector<std::u16string> elements = split(path);
    for (size_t i = 0; i < elements.size(); ++i) {
        std::vector<HWND> next;
        if (i == 0) {
            for (HWND top : visibleChildren(GetDesktopWindow()))
                findOutermost(top, elements[i], true, next);
        } else {
            for (HWND window : current)
                findOutermost(window, elements[i], false, next);
        }
        current = std::move(next);
        if (current.empty()) break;
    }
    return current;
}

std::vector<ShownText> shownTexts() {
    std::vector<ShownText> shown;
    auto surface = Screen::instance().surface();
    for (const TextRun& run : surface->textRuns()) {
        POINT centre{(run.rect.left + run.rect.right) / 2, (run.rect.top + run.rect.bottom) / 2};
        HWND window = windowAt(centre);
        shown.push_back(ShownText{run.text, run.rect, window != nullptr ? pathOf(window) : u""});
    }
    std::stable_sort(shown.begin(), shown.end(), [](const ShownText& a, const ShownText& b) {
        return a.rect.top != b.rect.top ? a.rect.top < b.rect.top : a.rect.left < b.rect.left;
    });
    return shown;
}

bool writeShownTexts(const std::string& file) {
    std::string temporary = file + ".partial";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        for (const ShownText& text : shownTexts()) {
            out << "{\"text\": ";
            writeJsonString(out, text.text);
            out << ", \"rect\": [" << text.rect.left << ", " << text.rect.top << ", " << text.rect.right
                << ", " << text.rect.bottom << "], \"window\": ";
            writeJsonString(out, text.window);
            out << "}\n";
        }
        if (!out.flush()) {
            std::remove(temporary.c_str());
            return false;
        }
    }
    if (std::rename(temporary.c_str(), file.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace platform::display
