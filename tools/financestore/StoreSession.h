// The tool's hold on one device root and its finance store: choosing the root, registering the program's
// string resources, routing the data code's alerts to standard error, opening and closing the store
// and holding the notification block meanwhile.
#pragma once

#include <string>

namespace financestore {

// The device root the tool works on: the given folder, else VARKEL_ROOT, else the platform's default.
std::string chooseRoot(const std::string& rootOption);

// The host path of the object store file inside a root.
std::string storeFilePath(const std::string& root);

// What a command does with the store: init may create it; check, dump and export only read it (a
// missing store is not created, nothing of it is ever written, and a root that cannot be written is
// fine); every other command writes it.
enum class StoreUse { Create, Write, Read };
StoreUse storeUseOf(const std::string& command);

class StoreSession {
  public:
    StoreSession() = default;
    ~StoreSession();
    StoreSession(const StoreSession&) = delete;
    StoreSession& operator=(const StoreSession&) = delete;

    // Makes root the device root and opens the finance store for that use. False, with error() saying
    // why, when the root or its store is missing (unless the use creates) or the store cannot be opened:
    // it is then closed again and left as it was.
    bool open(const std::string& root, StoreUse use);
    const std::string& error() const { return m_error; }
    // The exit code of a failed open: kExitBusy when another program kept the store locked, else
    // kExitUsage.
    int failureExit() const { return m_failureExit; }

  private:
    bool m_opened = false;
    std::string m_error;
    int m_failureExit = 0;
};

}  // namespace financestore
