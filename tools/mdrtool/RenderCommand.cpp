#include "DriverInput.h"
#include "MdrCommand.h"
#include "ToolSupport.h"

#include "core/driverfile/ModuleRenderer.h"
#include "core/io/FileIo.h"
#include "core/io/PngWriter.h"
#include "core/io/RgbaImage.h"

#include <charconv>
#include <ostream>

namespace md::mdrtool {

namespace {

int RunRender(const Arguments& arguments, std::ostream&, std::ostream& err)
{
    if (arguments.positional.size() != 1 || !arguments.Option("png")) {
        err << "mdrtool render: expects FILE --png OUT.png\n";
        return 2;
    }
    std::string error;
    int scale = 16;
    if (const auto text = arguments.Option("scale")) {
        const auto [end, ec] = std::from_chars(text->data(), text->data() + text->size(), scale);
        if (ec != std::errc{} || end != text->data() + text->size() || scale < 4 || scale > 64) {
            err << "mdrtool render: --scale must be a number from 4 to 64\n";
            return 2;
        }
    }
    const auto file = LoadDriver(arguments, error);
    if (!file) {
        err << "mdrtool render: " << error << "\n";
        return 1;
    }
    const RgbaImage image = ModuleRenderer::Render(*file, scale);
    if (image.Width() == 0) {
        err << "mdrtool render: " << arguments.positional[0] << ": module too large to draw\n";
        return 1;
    }
    const auto png = PngWriter::Encode(image);
    const std::string target = *arguments.Option("png");
    if (!fileio::WriteAtomic(target, png)) {
        err << "mdrtool render: " << target << ": cannot be written\n";
        return 1;
    }
    return 0;
}

} // namespace

const MdrCommand kRenderCommand = {
    "render",
    "draw the module and its output chains as a PNG picture",
    "usage: mdrtool render FILE --png OUT.png [--scale N] [--codepage NAME]\n"
    "Draws the background picture, the pixel grid (N screen pixels per module pixel, 4..64,\n"
    "default 16) and the output chain of every data group and scan row as a coloured path\n"
    "whose start is marked with a ringed dot.\n",
    {{"png"}, {"scale"}, {"codepage"}},
    RunRender};

} // namespace md::mdrtool
