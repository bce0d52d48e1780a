// The reader side of the notification block "Brimwell_Today_Share": the Today item holds the block
// for its lifetime and reads and clears the change flags that the store of another process raises.
#pragma once

#include <cstdint>

#include "platform/wintypes.h"

namespace today {

class NotificationReader {
  public:
    NotificationReader() = default;
    ~NotificationReader() { close(); }
    NotificationReader(const NotificationReader&) = delete;
    NotificationReader& operator=(const NotificationReader&) = delete;

    // Creates the block, or opens it when another process holds it, and keeps the handle (and a view
    // of the block) until close(): the block lives while any process holds it. True when the block
    // is held.
    bool open();
    void close();
    bool isOpen() const { return m_block != nullptr; }

    // Flag k (0 and 1: data changed; 2: ask for the data password again): takes its value and stores
    // 0 in one step. True when the value was not 0; a block that is not held or could not be mapped,
    // and a flag outside 0..2, read as false (no change).
    bool readAndClear(int flag);

  private:
    HANDLE m_block = nullptr;
    // The block's words, mapped once while it is held: a refresh query that finds no change then
    // costs two reads of shared memory and no system call.
    uint32_t* m_words = nullptr;
};

}  // namespace today
