// Registry hive files: any text is read within the hive's limits or refused with a reason, and a hive
// that was read is written and read back to the same text.
#include "../../platform/kernel/RegistryTree.h"
#include "FuzzSupport.h"

using namespace platform::registry;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    RegistryKey root;
    std::string error;
    if (!parseHive(fuzz::textOf(data, size), root, error)) {
        fuzz::check(!error.empty(), "a refused hive says why");
        return 0;
    }
    std::optional<std::string> written = serializeHive(root);
    fuzz::check(written.has_value(), "a hive that was read within the limits can be written");
    RegistryKey again;
    fuzz::check(parseHive(*written, again, error), "what the writer writes, the reader reads");
    fuzz::check(serializeHive(again) == written, "a written hive reads back to the same hive");
    return 0;
}
