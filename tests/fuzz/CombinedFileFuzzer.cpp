// Feeds arbitrary bytes to the combined (.MHR), HUB (.HDR) and socket (.mjk) readers, to the
// inspection that describes them (which reads a combined file's driver entry too), and to the
// picture decoders the command-line renderer uses for background pictures.

#include "core/driverfile/CombinedFileContents.h"
#include "core/driverfile/FileInspector.h"
#include "core/driverfile/HubFile.h"
#include "core/io/BmpDecoder.h"
#include "core/io/PngDecoder.h"
#include "core/posix/CodePage.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const md::CodePage codePage;
    const std::span<const std::uint8_t> bytes(data, size);
    std::string error;
    md::CombinedFileContents combined;
    if (combined.Parse(bytes, codePage, error)) {
        md::HubFile hub;
        if (hub.Parse(combined.hub.bytes, error))
            (void)hub.Signature();
    }
    md::HubFile hub;
    hub.Parse(bytes, error);
    std::string json;
    md::FileInspector(codePage).Describe(bytes, json, error);
    (void)md::PngDecoder::Decode(bytes);
    (void)md::BmpDecoder::Decode(bytes);
    return 0;
}
