// Message recording through the window manager's observer, and the Wine-style sequence comparer.

#include "MessageRecorder.h"

#include <cstdio>
#include <map>
#include <sstream>

namespace platform::testing {

std::string messageName(UINT message) {
    static const std::map<UINT, const char*> names = {
        {WM_CREATE, "WM_CREATE"},
        {WM_DESTROY, "WM_DESTROY"},
        {WM_MOVE, "WM_MOVE"},
        {WM_SIZE, "WM_SIZE"},
        {WM_ACTIVATE, "WM_ACTIVATE"},
        {WM_SETFOCUS, "WM_SETFOCUS"},
        {WM_KILLFOCUS, "WM_KILLFOCUS"},
        {WM_ENABLE, "WM_ENABLE"},
        {WM_SETTEXT, "WM_SETTEXT"},
        {WM_GETTEXT, "WM_GETTEXT"},
        {WM_GETTEXTLENGTH, "WM_GETTEXTLENGTH"},
        {WM_PAINT, "WM_PAINT"},
        {WM_CLOSE, "WM_CLOSE"},
        {WM_QUIT, "WM_QUIT"},
        {WM_ERASEBKGND, "WM_ERASEBKGND"},
        {WM_SHOWWINDOW, "WM_SHOWWINDOW"},
        {WM_SETTINGCHANGE, "WM_SETTINGCHANGE"},
        {WM_WINDOWPOSCHANGING, "WM_WINDOWPOSCHANGING"},
        {WM_WINDOWPOSCHANGED, "WM_WINDOWPOSCHANGED"},
        {WM_NCCREATE, "WM_NCCREATE"},
        {WM_NCDESTROY, "WM_NCDESTROY"},
        {WM_NCPAINT, "WM_NCPAINT"},
        {WM_KEYDOWN, "WM_KEYDOWN"},
        {WM_KEYUP, "WM_KEYUP"},
        {WM_CHAR, "WM_CHAR"},
        {WM_COMMAND, "WM_COMMAND"},
        {WM_TIMER, "WM_TIMER"},
        {WM_MOUSEMOVE, "WM_MOUSEMOVE"},
        {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"},
        {WM_LBUTTONUP, "WM_LBUTTONUP"},
        {WM_LBUTTONDBLCLK, "WM_LBUTTONDBLCLK"},
        {WM_CAPTURECHANGED, "WM_CAPTURECHANGED"},
    };
    auto it = names.find(message);
    if (it != names.end()) return it->second;
    char text[32];
    if (message >= WM_USER && message < WM_APP)
        std::snprintf(text, sizeof text, "WM_USER+%u", message - WM_USER);
    else
        std::snprintf(text, sizeof text, "0x%04x", message);
    return text;
}

MessageRecorder::MessageRecorder() {
    platform::setMessageObserver([this](HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                        bool posted) { record(window, message, wParam, lParam, posted); });
}

MessageRecorder::~MessageRecorder() {
    platform::setMessageObserver(nullptr);
}

void MessageRecorder::watch(HWND window) {
    std::lock_guard lock(m_mutex);
    m_watched.insert(window);
}

void MessageRecorder::ignore(UINT message) {
    std::lock_guard lock(m_mutex);
    m_ignored.insert(message);
}

std::vector<RecordedMessage> MessageRecorder::messages() const {
    std::lock_guard lock(m_mutex);
    return m_messages;
}

std::vector<RecordedMessage> MessageRecorder::messagesOf(UINT message) const {
    std::vector<RecordedMessage> found;
    for (const auto& m : messages())
        if (m.message == message) found.push_back(m);
    return found;
}

void MessageRecorder::clear() {
    std::lock_guard lock(m_mutex);
    m_messages.clear();
}

void MessageRecorder::record(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool posted) {
    std::lock_guard lock(m_mutex);
    if (m_ignored.count(message)) return;
    if (!m_watched.empty() && !m_watched.count(window)) return;
    m_messages.push_back(RecordedMessage{window, message, wParam, lParam, posted});
}

namespace {

std::string describe(const RecordedMessage& m) {
    std::ostringstream out;
    out << messageName(m.message) << (m.posted ? " posted" : " sent") << " to " << m.window << " (wParam 0x"
        << std::hex << m.wParam << ", lParam 0x" << m.lParam << ")";
    return out.str();
}

// Empty when the recorded message satisfies the entry, else what differs.
std::string difference(const ExpectedMessage& e, const RecordedMessage& m) {
    if (e.message != m.message) return "different message";
    if ((e.flags & kSent) && m.posted) return "posted, expected sent";
    if ((e.flags & kPosted) && !m.posted) return "sent, expected posted";
    if (e.window && e.window != m.window) return "went to another window";
    std::ostringstream out;
    if ((e.flags & kWParam) && e.wParam != m.wParam)
        out << "wParam 0x" << std::hex << m.wParam << " != 0x" << e.wParam;
    if ((e.flags & kLParam) && e.lParam != m.lParam)
        out << " lParam 0x" << std::hex << m.lParam << " != 0x" << e.lParam;
    return out.str();
}

}  // namespace

::testing::AssertionResult MessageRecorder::matches(const std::vector<ExpectedMessage>& expected,
                                                    const std::string& context) {
    std::vector<RecordedMessage> actual = messages();
    clear();
    size_t i = 0;
    size_t j = 0;
    std::ostringstream failures;
    while (i < expected.size() && j < actual.size()) {
        const ExpectedMessage& e = expected[i];
        std::string diff = difference(e, actual[j]);
        if (diff.empty()) {
            ++i;
            ++j;
        } else if (e.flags & kOptional) {
            ++i;
        } else {
            failures << context << ": entry " << i << " expected " << messageName(e.message) << ", got "
                     << describe(actual[j]) << ": " << diff << "\n";
            return ::testing::AssertionFailure() << failures.str();
        }
    }
    for (; i < expected.size(); ++i)
        if (!(expected[i].flags & kOptional))
            failures << context << ": missing " << messageName(expected[i].message) << " (entry " << i
                     << ")\n";
    for (; j < actual.size(); ++j)
        failures << context << ": unexpected " << describe(actual[j]) << "\n";
    if (failures.str().empty()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << failures.str();
}

}  // namespace platform::testing
