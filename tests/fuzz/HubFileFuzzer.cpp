// Feeds arbitrary bytes to the HUB file (.HDR) reader and its inspection: a file that reads has
// a signature that its pins account for.

#include "core/driverfile/FileInspector.h"
#include "core/driverfile/HubFile.h"
#include "core/posix/CodePage.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const md::CodePage codePage;
    const std::span<const std::uint8_t> bytes(data, size);
    std::string error;
    md::HubFile hub;
    if (hub.Parse(bytes, error)) {
        std::uint32_t repeatable = 0;
        for (const md::HubFile::Pin& pin : hub.pins)
            repeatable += pin.code == 15 ? 1U : 0U;
        if (hub.Signature() >> 16 != repeatable)
            std::abort();
    } else if (error.empty()) {
        std::abort(); // a refusal always says why
    }
    std::string json;
    md::FileInspector(codePage).Describe(bytes, json, error);
    return 0;
}
