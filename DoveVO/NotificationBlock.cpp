// Creating the notification block and raising its flags.
#include "NotificationBlock.h"

#include <cstring>

#include "platform/windows.h"

namespace dove {
namespace {

HANDLE g_block = nullptr;

}  // namespace

bool createNotificationBlock() {
    if (g_block != nullptr) return true;
    g_block = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kNotificationBlockSize,
                                 kNotificationBlockName);
    return g_block != nullptr;
}

void closeNotificationBlock() {
    if (g_block != nullptr) CloseHandle(g_block);
    g_block = nullptr;
}

bool notificationBlockInUse() {
    return g_block != nullptr;
}

bool setNotificationFlag(int flag) {
    if (g_block == nullptr || flag < 0 || flag > 2) return false;
    void* view = MapViewOfFile(g_block, FILE_MAP_WRITE, 0, static_cast<DWORD>(12 + 4 * flag), 4);
    if (view == nullptr) return false;
    const uint32_t one = 1;
    std::memcpy(view, &one, sizeof one);
    UnmapViewOfFile(view);
    return true;
}

}  // namespace dove
