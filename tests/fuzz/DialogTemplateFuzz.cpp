// Dialog templates loaded from resources: any bytes are read within their bounds into a template with
// as many items as its header counts, or refused.
#include "../../platform/user/DialogTemplate.h"
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    platform::user::DialogTemplate dialog;
    if (!platform::user::parseDialogTemplate(data, size, &dialog)) return 0;
    fuzz::check(size >= 18 && dialog.items.size() == static_cast<size_t>(data[8] | (data[9] << 8)),
                "a template read has the items its header counts");
    for (const platform::user::DialogItem& item : dialog.items)
        fuzz::check(!item.className.empty() && item.creationData.size() <= size, "every item has its class");
    return 0;
}
