// Opening the finance store of a device root for one run of the tool.
#include "StoreSession.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>

#include "CommandLine.h"
#include "FinanceStore.h"
#include "NotificationBlock.h"
#include "ResourceText.h"
#include "StoreAlert.h"
#include "platform/windows.h"
#include "resources/DashelResources.h"

namespace financestore {
namespace {

bool isDirectory(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool isFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// The data code's alerts for the user (an exhausted record heap, a null handle) go to standard error.
void printStoreAlert(dove::StoreAlert alert, uint32_t errorNumber) {
    if (alert == dove::StoreAlert::RecordHeapExhausted)
        std::fprintf(stderr, "financestore: out of memory reading a record\n");
    else
        std::fprintf(stderr, "financestore: the store gave no handle for a table (error %u)\n", errorNumber);
}

}  // namespace

std::string chooseRoot(const std::string& rootOption) {
    if (!rootOption.empty()) return rootOption;
    const char* fromEnvironment = std::getenv("VARKEL_ROOT");
    if (fromEnvironment != nullptr && *fromEnvironment != '\0') return fromEnvironment;
    return platform::deviceRoot();
}

std::string storeFilePath(const std::string& root) {
    return root + "/store.cedb";
}

StoreUse storeUseOf(const std::string& command) {
    if (command == "init") return StoreUse::Create;
    if (command == "check" || command == "dump" || command == "export") return StoreUse::Read;
    return StoreUse::Write;
}

bool StoreSession::open(const std::string& root, StoreUse use) {
    m_failureExit = kExitUsage;
    const bool create = use == StoreUse::Create;
    if (!create && !isDirectory(root)) {
        m_error = "the device root " + root + " does not exist";
        return false;
    }
    if (!create && !isFile(storeFilePath(root))) {
        m_error = "the device root " + root + " holds no finance store (run: financestore init)";
        return false;
    }
    platform::setDeviceRoot(root);
    platform::cedbSetReadOnly(use == StoreUse::Read ? TRUE : FALSE);
    HINSTANCE module = GetModuleHandleW(nullptr);
    platform::registerModuleResources(module, dashelResourceTable());
    dove::setResourceModule(module);
    dove::setStoreAlertHook(printStoreAlert);
    if (!dove::openFinanceStore()) {
        const dove::StoreStatus status = dove::financeStoreOpenStatus();
        m_error = "cannot open the finance store: " + dove::financeStoreProblem();
        if (status == dove::StoreStatus::Damaged || status == dove::StoreStatus::Unavailable)
            m_error += "; it was left as it is";
        if (status == dove::StoreStatus::Busy) m_failureExit = kExitBusy;
        dove::closeFinanceStore();
        platform::cedbCloseStore();
        return false;
    }
    // A writer holds the notification block as Dashel holds it while it runs, so that its writes raise
    // the change flags that tell the Today item to load its data again.
    if (use != StoreUse::Read) dove::createNotificationBlock();
    m_opened = true;
    return true;
}

StoreSession::~StoreSession() {
    if (m_opened) dove::closeFinanceStore();
    dove::closeNotificationBlock();
    platform::cedbCloseStore();
    dove::setStoreAlertHook(nullptr);
}

}  // namespace financestore
