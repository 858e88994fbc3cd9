// mdrtool locate: finds the module's grid in an all-lit picture and names the lit pixels of
// each further picture, for scripts that trace with a camera.
#include "MdrCommand.h"
#include "PictureInput.h"

#include "vision/LedLocator.h"
#include "vision/ModuleFinder.h"

#include <nlohmann/json.hpp>

#include <charconv>
#include <ostream>

namespace md::mdrtool {

namespace {

std::optional<int> WholeNumber(std::string_view text)
{
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

/// "W" and "H" of "WxH", each from 1 to 1024.
bool ModuleSize(const std::string& text, int& width, int& height)
{
    const auto cross = text.find('x');
    if (cross == std::string::npos)
        return false;
    const auto w = WholeNumber(std::string_view(text).substr(0, cross));
    const auto h = WholeNumber(std::string_view(text).substr(cross + 1));
    if (!w || !h || *w < 2 || *h < 2 || *w > 1024 || *h > 1024)
        return false;
    width = *w;
    height = *h;
    return true;
}

std::string Decimal(double value, int digits)
{
    char text[32];
    const auto end =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, digits).ptr;
    return std::string(text, end);
}

const char* StatusName(LocateStatus status)
{
    switch (status) {
    case LocateStatus::Located:
        return "located";
    case LocateStatus::NoneLit:
        return "none";
    case LocateStatus::Review:
        break;
    }
    return "review";
}

int RunLocate(const Arguments& arguments, std::ostream& out, std::ostream& err)
{
    int width = 0, height = 0;
    GridOrientation orientation;
    const auto size = arguments.Option("size");
    const auto allLitPath = arguments.Option("all-lit");
    const auto darkPath = arguments.Option("dark");
    if (!size || !allLitPath || !darkPath || arguments.positional.empty()) {
        err << "mdrtool locate: expects --size WxH --all-lit ALL.png --dark DARK.png and one "
               "or more frames\n";
        return 2;
    }
    if (!ModuleSize(*size, width, height)) {
        err << "mdrtool locate: --size must be WIDTHxHEIGHT, each from 2 to 1024\n";
        return 2;
    }
    if (const auto turn = arguments.Option("turn")) {
        orientation.turn = WholeNumber(*turn).value_or(-1);
        if (!orientation.Valid()) {
            err << "mdrtool locate: --turn must be 0, 90, 180 or 270\n";
            return 2;
        }
    }
    orientation.mirror = arguments.Flag("mirror");

    std::string error;
    const auto allLit = ReadPicture(*allLitPath, error);
    const auto dark = allLit ? ReadPicture(*darkPath, error) : std::nullopt;
    if (!dark) {
        err << "mdrtool locate: " << error << "\n";
        return 1;
    }
    const FinderResult found = ModuleFinder::Find(*allLit, *dark, width, height, orientation);
    if (!found.Found()) {
        err << "mdrtool locate: " << *allLitPath
            << ": the module was not found: " << found.Message() << "\n";
        return 1;
    }
    out << "{\"grid\": {\"fitError\": " << Decimal(found.grid.fitError, 4)
        << ", \"pitch\": " << Decimal(found.grid.pitch, 3) << "}}\n";

    const LedLocator locator(found.grid, *dark);
    int code = 0;
    for (const std::string& path : arguments.positional) {
        const auto frame = ReadPicture(path, error);
        if (!frame) {
            err << "mdrtool locate: " << error << "\n";
            code = 1;
            continue;
        }
        if (frame->width != dark->width || frame->height != dark->height) {
            err << "mdrtool locate: " << path << ": not the size of the all-lit picture\n";
            code = 1;
            continue;
        }
        const LocateResult result = locator.Locate(*frame);
        out << "{\"frame\": " << nlohmann::json(path).dump() << ", \"status\": \""
            << StatusName(result.status) << "\", \"pixels\": [";
        for (std::size_t i = 0; i < result.pixels.size(); ++i)
            out << (i ? ", " : "") << "[" << result.pixels[i].x << ", " << result.pixels[i].y
                << "]";
        out << "], \"confidence\": " << Decimal(result.confidence, 3) << "}\n";
    }
    return code;
}

} // namespace

const MdrCommand kLocateCommand = {
    "locate",
    "find the module in camera pictures and name the lit pixels of each as JSON",
    "usage: mdrtool locate --size WxH --all-lit ALL.png --dark DARK.png [--turn 0|90|180|270]\n"
    "                      [--mirror] FRAME.png...\n"
    "Finds the grid of a module of W x H pixels in ALL.png (every LED lit) against DARK.png\n"
    "(none lit), seen turned clockwise by --turn degrees after --mirror (left to right).\n"
    "Prints {\"grid\": {\"fitError\": E, \"pitch\": P}} (E in module pixels, P in picture\n"
    "pixels), then one line per frame in the order given: {\"frame\": PATH, \"status\":\n"
    "\"located\"|\"none\"|\"review\", \"pixels\": [[x, y], ...], \"confidence\": C}, the\n"
    "pixels sorted by y then x and only when located. Pictures are PNG or JPEG files.\n"
    "Exit 1 when a picture cannot be read or the module is not found in ALL.png, 2 for a\n"
    "malformed command line.\n",
    {{"size"}, {"all-lit"}, {"dark"}, {"turn"}, {"mirror", false}},
    RunLocate};

} // namespace md::mdrtool
