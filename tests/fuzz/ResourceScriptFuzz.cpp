// Resource scripts of rc: any text compiles as a dialog, menu or accelerator script or is reported
// line by line, and every dialog it compiles is a template that the platform's dialog loader reads.
#include "../../platform/user/DialogTemplate.h"
#include "FuzzSupport.h"
#include "ResourceScripts.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::silenceErrorReports();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string source = fuzz::textOf(data, size);
    for (const char* folder : {"dialogs", "menus", "accelerators"}) {
        std::vector<rc::CompiledResource> compiled;
        rc::Diagnostics diagnostics;
        fuzz::check(rc::compileScriptText(source, folder, "fuzz.rc", &compiled, diagnostics),
                    "every script folder is known");
        for (const rc::CompiledResource& resource : compiled) {
            fuzz::check(!resource.bytes.empty(), "a compiled resource has bytes");
            if (resource.type.id != rc::kDialogType) continue;
            platform::user::DialogTemplate dialog;
            fuzz::check(
                platform::user::parseDialogTemplate(resource.bytes.data(), resource.bytes.size(), &dialog),
                "the platform reads every dialog rc compiles");
        }
    }
    return 0;
}
