// The data password in front of the details: its digest, the digest the store keeps, the dialog that
// asks for it and the gate that asks up to four times before it shows that the details are locked.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "DialogObject.h"

namespace today {

inline constexpr int kPasswordTries = 4;

// The signed 64-bit sum over the password's UTF-16 code units c(i), i counted from 0, of c(i) x
// (100 - i), wrapping as 64-bit arithmetic does.
int64_t passwordDigest(std::u16string_view password);

// The stored digest, from the open store: property 126 of the first record of the reserved password
// account, in identifier order, whose property 126 is not 0. 0 when there is none (no password set).
// Leaves the Transactions order as it found it.
int64_t storedPasswordDigest();

// Asks for the password through ask (nullopt: the user cancelled) until the digest of an answer
// equals stored, at most kPasswordTries times. True when an answer matched.
bool askDataPassword(int64_t stored, const std::function<std::optional<std::u16string>()>& ask);

// The password dialog (dialog 226): "Введите Пароль:" and one hidden field.
class PasswordDialog : public DialogObject {
  public:
    PasswordDialog();
    // The entered text after OK; nullopt after Cancel or when the dialog cannot be shown.
    std::optional<std::u16string> ask(HWND owner);

    bool dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  private:
    std::u16string m_answer;
};

enum class GateResult {
    Open,        // no password is set, or the right one was given
    Locked,      // cancelled, or four wrong answers: the lock message was shown
    Unreadable,  // the store could not be opened to find the password
};

// The gate as the item runs it: opens the store for the stored digest and closes it; with a password
// set, asks with the dialog and, when that fails, shows string 42 with the caption "Brimwell" over
// owner.
GateResult passDataPasswordGate(HWND owner);

}  // namespace today
