// The program's texts for the data code's alerts and failed saves.
#include "StoreMessages.h"

namespace shell {
namespace {

constexpr const char16_t* kProgramCaption = u"Brimwell Dashel";
constexpr const char16_t* kReindexText =
    u"Error 1154.\nPlease make Reindex Database.\n\nRun Brimwell and press Reset Button and Run Brimwell "
    u"again after reload device.";

}  // namespace

StoreMessage storeAlertMessage(dove::StoreAlert alert, uint32_t errorNumber) {
    if (alert == dove::StoreAlert::RecordHeapExhausted)
        return {u"Empty Memory", u"Brimwell", MB_OKCANCEL | MB_ICONEXCLAMATION};
    return {u"Open FALSE", platform::format(u"%u", errorNumber), MB_OK | MB_ICONEXCLAMATION};
}

std::optional<StoreMessage> saveFailureMessage(dove::StoreStatus status) {
    if (status == dove::StoreStatus::ReindexNeeded)
        return StoreMessage{kReindexText, kProgramCaption, MB_OK | MB_ICONEXCLAMATION};
    if (status == dove::StoreStatus::RecordUnreachable)
        return StoreMessage{u"Error 1154-1", kProgramCaption, MB_OK | MB_ICONEXCLAMATION};
    return std::nullopt;
}

void showStoreAlert(dove::StoreAlert alert, uint32_t errorNumber) {
    const StoreMessage message = storeAlertMessage(alert, errorNumber);
    MessageBoxW(nullptr, message.text.c_str(), message.caption.c_str(), message.type);
}

}  // namespace shell
