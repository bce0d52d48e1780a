// The few failures of the data code that the user must see (an exhausted record heap, a store that hands
// back a null handle, an unreachable record during a save) go through one replaceable hook, because the
// data code knows nothing of windows: the program installs a message-box call, tests install a recorder.
#pragma once

#include <functional>
#include <string>

namespace dove {

enum class MessageButtons { Ok, OkCancel };

using UserMessageHook =
    std::function<void(const std::u16string& text, const std::u16string& caption, MessageButtons buttons)>;

// Installs the hook; an empty hook restores the default, which appends the text to the error log.
void setUserMessageHook(UserMessageHook hook);

// Shows the message through the installed hook (or the default).
void showUserMessage(const std::u16string& text, const std::u16string& caption,
                     MessageButtons buttons = MessageButtons::Ok);

}  // namespace dove
