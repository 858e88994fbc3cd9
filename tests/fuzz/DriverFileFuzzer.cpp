// Feeds arbitrary bytes to the driver file reader: the container, the four sections and the
// strict inspection that mdrtool uses. Any crash, leak or sanitizer report is a finding.

#include "core/design/BackgroundDesign.h"
#include "core/design/NewModuleInfoRecord.h"
#include "core/design/SocketDesign.h"
#include "core/driverfile/BackgroundSection.h"
#include "core/driverfile/DriverFile.h"
#include "core/driverfile/DriverFileContents.h"
#include "core/driverfile/FileInspector.h"
#include "core/driverfile/LayoutDesignSection.h"
#include "core/driverfile/NewModuleInfoSection.h"
#include "core/driverfile/OutputMap.h"
#include "core/driverfile/SocketSection.h"
#include "core/io/PictureHeaderCodec.h"
#include "core/io/PngDecoder.h"
#include "core/layout/LayoutDesign.h"
#include "core/posix/CodePage.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const md::CodePage codePage;
    static const md::PictureHeaderCodec codec;
    const std::span<const std::uint8_t> bytes(data, size);

    md::NewModuleInfoRecord info;
    md::SocketDesign socket;
    md::LayoutDesign layout;
    md::BackgroundDesign background;
    md::NewModuleInfoSection s0(info, codePage);
    md::SocketSection s1(socket, nullptr);
    md::LayoutDesignSection s2(layout, codePage);
    md::BackgroundSection s3(background, codePage, codec);
    md::DriverFile::Parse(bytes, {&s0, &s1, &s2, &s3});

    md::DriverFileContents contents;
    std::string error;
    if (contents.Parse(bytes, codePage, error)) {
        const md::OutputMap map(contents);
        (void)map.Wled();
        (void)map.Csv();
        (void)md::PngDecoder::Decode(contents.background.Picture().bytes);
    }
    std::string json;
    md::FileInspector(codePage).Describe(bytes, json, error);
    return 0;
}
