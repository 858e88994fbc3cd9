// Feeds arbitrary bytes to the driver file reader: the container, the four sections and the
// strict inspection that mdrtool uses. Any crash, leak or sanitizer report is a finding.

#include "design/BackgroundDesign.h"
#include "design/NewModuleInfoRecord.h"
#include "design/SocketDesign.h"
#include "driverfile/BackgroundSection.h"
#include "driverfile/DriverFile.h"
#include "driverfile/DriverFileContents.h"
#include "driverfile/FileInspector.h"
#include "driverfile/LayoutDesignSection.h"
#include "driverfile/NewModuleInfoSection.h"
#include "driverfile/OutputMap.h"
#include "driverfile/SocketSection.h"
#include "io/PictureHeaderCodec.h"
#include "io/PngDecoder.h"
#include "layout/LayoutDesign.h"
#include "platform/CodePage.h"

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
