// The user-message hook and its default, the error log.
#include "UserMessage.h"

#include "ErrorLog.h"

namespace dove {
namespace {

UserMessageHook& installedHook() {
    static UserMessageHook hook;
    return hook;
}

}  // namespace

void setUserMessageHook(UserMessageHook hook) {
    installedHook() = std::move(hook);
}

void showUserMessage(const std::u16string& text, const std::u16string& caption, MessageButtons buttons) {
    if (installedHook()) {
        installedHook()(text, caption, buttons);
        return;
    }
    writeErrorLog((caption + u": " + text).c_str());
}

}  // namespace dove
