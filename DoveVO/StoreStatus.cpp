// Names of the store statuses.
#include "StoreStatus.h"

#include "platform/winerror.h"

namespace dove {

const char* statusName(StoreStatus status) {
    switch (status) {
        case StoreStatus::Ok:
            return "ok";
        case StoreStatus::NoAccount:
            return "no account";
        case StoreStatus::AccountMissing:
            return "account missing";
        case StoreStatus::RecordMissing:
            return "record missing";
        case StoreStatus::ReindexNeeded:
            return "reindex needed";
        case StoreStatus::RecordUnreachable:
            return "record unreachable";
        case StoreStatus::DuplicateIdentifier:
            return "duplicate identifier";
        case StoreStatus::InvalidRecord:
            return "invalid record";
        case StoreStatus::TableFull:
            return "table full";
        case StoreStatus::WriteFailed:
            return "write failed";
        case StoreStatus::OutOfRange:
            return "out of range";
        case StoreStatus::ReadOnly:
            return "read-only";
        case StoreStatus::Busy:
            return "busy";
        case StoreStatus::Damaged:
            return "damaged";
        case StoreStatus::Unavailable:
            return "unavailable";
    }
    return "unknown";
}

StoreStatus statusOfStoreError(DWORD error) {
    switch (error) {
        case ERROR_DISK_FULL:
            return StoreStatus::TableFull;
        case ERROR_ACCESS_DENIED:
            return StoreStatus::ReadOnly;
        case ERROR_BUSY:
            return StoreStatus::Busy;
        case ERROR_BADDB:
            return StoreStatus::Damaged;
        case ERROR_CANTOPEN:
            return StoreStatus::Unavailable;
        default:
            return StoreStatus::WriteFailed;
    }
}

}  // namespace dove
