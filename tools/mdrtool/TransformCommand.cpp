#include "MdrCommand.h"
#include "ToolSupport.h"

#include "core/io/PictureHeaderCodec.h"
#include "core/posix/CodePage.h"
#include "core/posix/RandomGuids.h"
#include "core/posix/SystemClock.h"
#include "core/transform/ModuleTransform.h"
#include "core/transform/TransformFiles.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <ostream>
#include <random>

namespace md::mdrtool {

namespace {

/// Takes a flag without a value out of the arguments; whether it was there.
bool TakeFlag(std::vector<std::string>& args, const char* flag)
{
    const auto found = std::find(args.begin(), args.end(), flag);
    if (found == args.end())
        return false;
    args.erase(found);
    return true;
}

bool WholeNumber(const std::string& text)
{
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc{} && end == text.data() + text.size();
}

/// A folder of this run's own for a combined source's extracted files.
std::filesystem::path PrivateTemp()
{
    std::random_device random;
    const auto folder =
        std::filesystem::temp_directory_path() / ("mdrtool-transform-" + std::to_string(random()));
    std::filesystem::create_directories(folder);
    return folder;
}

void Figures(std::ostream& out, std::uint32_t width, std::uint32_t height, std::size_t valid)
{
    out << "{\"width\":" << width << ",\"height\":" << height
        << ",\"leds\":" << std::uint64_t{width} * height << ",\"valid\":" << valid << "}";
}

int RunTransform(const std::vector<std::string>& input, std::ostream& out, std::ostream& err)
{
    std::vector<std::string> args = input;
    TransformSettings settings;
    settings.mirrorLeftRight = TakeFlag(args, "--mirror-x");
    settings.mirrorUpDown = TakeFlag(args, "--mirror-y");
    const bool json = TakeFlag(args, "--json");
    Arguments arguments;
    std::string error;
    if (!arguments.Parse(args, {"angle", "zoom-x", "zoom-y", "hub", "codepage"}, error) ||
        arguments.positional.size() != 2) {
        err << "mdrtool transform: " << (error.empty() ? "expects IN and OUT" : error) << "\n";
        return 2;
    }
    if (const auto angle = arguments.Option("angle")) {
        if (!WholeNumber(*angle)) {
            err << "mdrtool transform: --angle must be a whole number of degrees\n";
            return 2;
        }
        settings.angle = std::u16string(angle->begin(), angle->end());
    }
    for (const auto& [option, on, text] :
         {std::tuple{"zoom-x", &settings.horizontalZoomOn, &settings.horizontalZoom},
          std::tuple{"zoom-y", &settings.verticalZoomOn, &settings.verticalZoom}}) {
        const auto zoom = arguments.Option(option);
        if (!zoom)
            continue;
        *text = std::u16string(zoom->begin(), zoom->end());
        *on = true;
        if (!ModuleTransform::ZoomFactor(*text)) {
            err << "mdrtool transform: --" << option << " must be a positive number\n";
            return 2;
        }
    }

    const CodePage codePage(CodePageName(arguments));
    const PictureHeaderCodec codec;
    RandomGuids guids;
    const SystemClock clock;
    const DesignFilePorts ports{codePage, codec, guids, clock, {}};
    std::filesystem::path source = arguments.positional[0];
    const std::filesystem::path target = arguments.positional[1];
    std::optional<std::filesystem::path> hub;
    std::optional<std::filesystem::path> temp;
    if (ModuleTransform::IsCombined(source)) {
        temp = PrivateTemp();
        std::filesystem::path extractedHub;
        if (!ModuleTransform::Extract(source, *temp, source, extractedHub)) {
            err << "mdrtool transform: " << arguments.positional[0]
                << ": not a combined file that can be read\n";
            std::filesystem::remove_all(*temp);
            return 1;
        }
        hub = extractedHub;
    }
    if (const auto given = arguments.Option("hub"))
        hub = std::filesystem::path(*given);

    ModuleTransform transform;
    const int loaded = transform.Load(source, ports);
    int status = 0;
    std::optional<std::filesystem::path> combined;
    if (loaded != ModuleTransform::kLoaded) {
        static const char* kWhat[] = {"",
                                      "cannot be read",
                                      "module information is damaged",
                                      "socket is damaged",
                                      "layout is damaged",
                                      "background is damaged"};
        err << "mdrtool transform: " << arguments.positional[0] << ": " << kWhat[loaded] << "\n";
        status = 1;
    } else if (transform.Run(settings); !TransformFiles::WriteResult(transform, target, ports)) {
        err << "mdrtool transform: " << target.string() << ": cannot be written\n";
        status = 1;
    } else if (hub) {
        combined = std::filesystem::path(target).replace_extension("MHR");
        if (!TransformFiles::Combine(target, *hub, *combined, ports)) {
            err << "mdrtool transform: " << hub->string()
                << ": the HUB file does not fit the module's socket, no combined file\n";
            combined.reset();
            status = 1;
        }
    }
    if (temp)
        std::filesystem::remove_all(*temp);
    if (status != 0)
        return status;

    if (!json) {
        out << transform.SourceWidth() << "x" << transform.SourceHeight() << " -> "
            << transform.ResultWidth() << "x" << transform.ResultHeight() << " " << target.string()
            << (combined ? " and " + combined->string() : std::string()) << "\n";
        return 0;
    }
    out << "{\"source\":";
    Figures(out, transform.SourceWidth(), transform.SourceHeight(),
            transform.SourcePoints().size());
    out << ",\"result\":";
    Figures(out, transform.ResultWidth(), transform.ResultHeight(), transform.ResultValidCount());
    out << ",\"map\":[";
    bool first = true;
    for (const auto& [from, to] : transform.Forward()) {
        out << (first ? "" : ",") << "[" << (from & 0xFFFF) << "," << (from >> 16) << ","
            << (to & 0xFFFF) << "," << (to >> 16) << "]";
        first = false;
    }
    out << "],\"combined\":";
    if (combined) {
        std::string path = combined->string();
        std::string escaped;
        for (char c : path)
            escaped += (c == '"' || c == '\\') ? std::string("\\") + c : std::string(1, c);
        out << "\"" << escaped << "\"";
    } else {
        out << "null";
    }
    out << "}\n";
    return 0;
}

} // namespace

const MdrCommand kTransformCommand = {
    "transform", "mirror, scale and rotate a module's LED arrangement",
    "usage: mdrtool transform IN.(MDR|MHR) OUT.MDR [--angle DEG] [--mirror-x] [--mirror-y]\n"
    "                         [--zoom-x F] [--zoom-y F] [--hub FILE.HDR] [--json]\n"
    "Writes the transformed driver file, and OUT with the extension MHR beside it when IN is a\n"
    "combined file or --hub is given (the HUB file must fit the socket). A zoom option switches\n"
    "that zoom on; F > 1 shrinks, F < 1 spreads. --json prints the figures before and after and\n"
    "the map [sx,sy,dx,dy] of every LED. Exit 1 for a file that cannot be read or written or a\n"
    "HUB file that does not fit, 2 for a bad command line.\n",
    RunTransform};

} // namespace md::mdrtool
