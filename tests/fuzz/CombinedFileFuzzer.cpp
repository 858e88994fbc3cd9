// Feeds arbitrary bytes to the combined (.MHR), HUB (.HDR) and socket (.mjk) readers, and to
// the inspection that describes them (which reads a combined file's driver entry too).

#include "driverfile/CombinedFile.h"
#include "driverfile/FileInspector.h"
#include "driverfile/HubFile.h"
#include "platform/CodePage.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const md::CodePage codePage;
    const std::span<const std::uint8_t> bytes(data, size);
    std::string error;
    md::CombinedFile combined;
    if (combined.Parse(bytes, codePage, error)) {
        md::HubFile hub;
        if (hub.Parse(combined.hub.bytes, error))
            (void)hub.Signature();
    }
    md::HubFile hub;
    hub.Parse(bytes, error);
    std::string json;
    md::FileInspector(codePage).Describe(bytes, json, error);
    return 0;
}
