// Test support: records the messages window procedures receive (sent or posted, with parameters)
// and compares them with expected sequences kept as data tables, optional entries allowed.
#pragma once

#include <gtest/gtest.h>

#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "platform/winuser.h"

namespace platform::testing {

// Flags of an expected entry: how it was delivered, what else to compare, whether it may be absent.
enum MessageFlag : unsigned {
    kSent = 1,       // delivered by SendMessageW (or directly by the window manager)
    kPosted = 2,     // delivered by DispatchMessageW
    kWParam = 4,     // wParam must equal the entry's
    kLParam = 8,     // lParam must equal the entry's
    kOptional = 16,  // may be missing
};

struct RecordedMessage {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool posted;
};

struct ExpectedMessage {
    UINT message;
    unsigned flags;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    HWND window = nullptr;  // when set, the message must have gone to this window
};

// A readable name for a message number ("WM_PAINT", "WM_USER+15", "0x1234").
std::string messageName(UINT message);

class MessageRecorder {
  public:
    // Starts recording every message of every window (until watch() narrows it).
    MessageRecorder();
    // Stops recording (the message observer is removed).
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    // From now on only these windows' messages are kept.
    void watch(HWND window);
    // This message is never kept (for noise such as WM_GETTEXT in a given test).
    void ignore(UINT message);
    std::vector<RecordedMessage> messages() const;
    // The recorded messages of one kind, in order.
    std::vector<RecordedMessage> messagesOf(UINT message) const;
    void clear();

    // Compares the recording with the expected table (context names the scenario in failures), then
    // clears the recording. Optional entries may be skipped; every other entry must match in order
    // and nothing may follow.
    ::testing::AssertionResult matches(const std::vector<ExpectedMessage>& expected,
                                       const std::string& context);

  private:
    void record(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool posted);

    mutable std::mutex m_mutex;
    std::vector<RecordedMessage> m_messages;
    std::set<HWND> m_watched;
    std::set<UINT> m_ignored;
};

}  // namespace platform::testing
