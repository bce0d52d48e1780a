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

class StoreSession {
  public:
    StoreSession() = default;
    ~StoreSession();
    StoreSession(const StoreSession&) = delete;
    StoreSession& operator=(const StoreSession&) = delete;

    // Makes root the device root and opens the finance store (creating it when create is true). False,
    // with error() saying why, when the root or its store is missing (and create is false) or the store
    // cannot be opened; the store is then closed again.
    bool open(const std::string& root, bool create);
    const std::string& error() const { return m_error; }

  private:
    bool m_opened = false;
    std::string m_error;
};

}  // namespace financestore
