#include "MdrCommand.h"
#include "ToolSupport.h"

#include "core/driverfile/DemoDesign.h"
#include "core/io/FileIo.h"
#include "core/io/PngWriter.h"
#include "core/io/RgbaImage.h"
#include "core/posix/CodePage.h"

#include <charconv>
#include <ostream>

namespace md::mdrtool {

namespace {

bool Number(const Arguments& arguments, const char* name, std::uint16_t& value)
{
    const auto text = arguments.Option(name);
    if (!text)
        return true;
    const auto [end, ec] = std::from_chars(text->data(), text->data() + text->size(), value);
    return ec == std::errc{} && end == text->data() + text->size();
}

int RunSample(const Arguments& arguments, std::ostream&, std::ostream& err)
{
    DemoDesign::Options options;
    if (arguments.positional.size() != 1 || !Number(arguments, "width", options.width) ||
        !Number(arguments, "height", options.height) ||
        !Number(arguments, "groups", options.groups) ||
        !Number(arguments, "scan-rows", options.scanRows)) {
        err << "mdrtool sample: expects OUT and whole numbers\n";
        return 2;
    }
    std::string error;
    // A dark board with a lighter band, so the background is visible behind the grid.
    RgbaImage board(64, 32, 0x1C2A24);
    board.FillRect(0, 12, 64, 8, 0x2E4A3C);
    options.background = PngWriter::Encode(board);
    const auto design = DemoDesign::Build(options);
    if (!design) {
        err << "mdrtool sample: the height must divide into groups and each group into scan "
               "rows\n";
        return 2;
    }
    const CodePage codePage(CodePageName(arguments));
    const auto bytes = DemoDesign::Bytes(*design, codePage, error);
    if (bytes.empty()) {
        err << "mdrtool sample: " << error << "\n";
        return 1;
    }
    if (!fileio::WriteAtomic(arguments.positional[0], bytes)) {
        err << "mdrtool sample: " << arguments.positional[0] << ": cannot be written\n";
        return 1;
    }
    return 0;
}

} // namespace

const MdrCommand kSampleCommand = {
    "sample",
    "write a demonstration driver file",
    "usage: mdrtool sample OUT.MDR [--width W] [--height H] [--groups G] [--scan-rows S]\n"
    "                       [--codepage NAME]\n"
    "Writes a single-colour W x H module (default 32 x 16) split into G horizontal data groups\n"
    "(default 2), each scanned in S interleaved scan rows (default 4) and traced as a\n"
    "serpentine, to try the other commands on; names are stored in the code page.\n",
    {{"width"}, {"height"}, {"groups"}, {"scan-rows"}, {"codepage"}},
    RunSample};

} // namespace md::mdrtool
