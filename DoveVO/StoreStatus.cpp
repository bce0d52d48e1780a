// Names of the store statuses.
#include "StoreStatus.h"

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
    }
    return "unknown";
}

}  // namespace dove
