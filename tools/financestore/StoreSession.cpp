// Opening the finance store of a device root for one run of the tool.
#include "StoreSession.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>

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

bool StoreSession::open(const std::string& root, bool create) {
    if (!create && !isDirectory(root)) {
        m_error = "the device root " + root + " does not exist";
        return false;
    }
    if (!create && !isFile(storeFilePath(root))) {
        m_error = "the device root " + root + " holds no finance store (run: financestore init)";
        return false;
    }
    platform::setDeviceRoot(root);
    HINSTANCE module = GetModuleHandleW(nullptr);
    platform::registerModuleResources(module, dashelResourceTable());
    dove::setResourceModule(module);
    dove::setStoreAlertHook(printStoreAlert);
    if (!dove::openFinanceStore()) {
        const DWORD error = GetLastError();
        dove::closeFinanceStore();
        platform::cedbCloseStore();
        m_error = "cannot open the finance store " + storeFilePath(root) + " (error " +
                  std::to_string(error) + "): it is damaged or not readable";
        return false;
    }
    // Held as Dashel holds it while it runs, so that the tool's writes raise the change flags that tell
    // the Today item to load its data again.
    dove::createNotificationBlock();
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
