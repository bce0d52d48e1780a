// The store alert hook and its default, the error log.
#include "StoreAlert.h"

#include "ErrorLog.h"
#include "platform/windows.h"

namespace dove {
namespace {

StoreAlertHook& installedHook() {
    static StoreAlertHook hook;
    return hook;
}

}  // namespace

void setStoreAlertHook(StoreAlertHook hook) {
    installedHook() = std::move(hook);
}

void raiseStoreAlert(StoreAlert alert, uint32_t errorNumber) {
    if (installedHook()) {
        installedHook()(alert, errorNumber);
        return;
    }
    if (alert == StoreAlert::RecordHeapExhausted)
        writeErrorLog(u"The record heap is exhausted");
    else
        writeErrorLog(platform::format(u"An open gave a null handle (error %u)", errorNumber).c_str());
}

}  // namespace dove
