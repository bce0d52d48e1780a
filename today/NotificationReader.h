// The reader side of the notification block "Brimwell_Today_Share": the Today item holds the block
// for its lifetime and reads and clears the change flags that the store of another process raises.
#pragma once

#include "platform/wintypes.h"

namespace today {

class NotificationReader {
  public:
    NotificationReader() = default;
    ~NotificationReader() { close(); }
    NotificationReader(const NotificationReader&) = delete;
    NotificationReader& operator=(const NotificationReader&) = delete;

    // Creates the block, or opens it when another process holds it, and keeps the handle until
    // close(): the block lives while any process holds it. True when the block is held.
    bool open();
    void close();
    bool isOpen() const { return m_block != nullptr; }

    // Flag k (0 and 1: data changed; 2: ask for the data password again): maps its 4 bytes, takes
    // the value and stores 0 in one step, and unmaps. True when the value was not 0; a block that is
    // not held, a flag outside 0..2 or a mapping that fails reads as false (no change).
    bool readAndClear(int flag);

  private:
    HANDLE m_block = nullptr;
};

}  // namespace today
