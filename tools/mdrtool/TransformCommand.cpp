#include "MdrCommand.h"

#include "core/driverfile/CombinedFileContents.h"
#include "core/driverfile/HubFile.h"
#include "core/io/FileIo.h"
#include "core/io/PictureHeaderCodec.h"
#include "core/posix/CodePage.h"
#include "core/posix/RandomGuids.h"
#include "core/posix/SystemClock.h"
#include "core/transform/ModuleTransform.h"
#include "core/transform/TransformFiles.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <optional>
#include <ostream>
#include <span>
#include <tuple>

namespace md::mdrtool {

namespace {

/// A whole number of degrees, with an optional sign as the dialog takes it; without the "+".
std::optional<std::string> Degrees(std::string text)
{
    if (text.size() > 1 && text[0] == '+' && text[1] != '-')
        text.erase(0, 1);
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc{} || end != text.data() + text.size())
        return std::nullopt;
    return text;
}

bool HasExtension(const std::filesystem::path& path, const std::string& upper)
{
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return extension == upper;
}

void Figures(std::ostream& out, std::uint32_t width, std::uint32_t height, std::size_t valid)
{
    out << "{\"width\":" << width << ",\"height\":" << height
        << ",\"leds\":" << std::uint64_t{width} * height << ",\"valid\":" << valid << "}";
}

void PrintJson(std::ostream& out, const ModuleTransform& transform,
               const std::optional<std::filesystem::path>& combined)
{
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
        std::string escaped;
        for (char c : combined->string())
            escaped += (c == '"' || c == '\\') ? std::string("\\") + c : std::string(1, c);
        out << "\"" << escaped << "\"";
    } else {
        out << "null";
    }
    out << "}\n";
}

/// The settings from the command line; false with a message for a bad value.
bool ReadSettings(const Arguments& arguments, TransformSettings& settings, std::string& error)
{
    settings.mirrorLeftRight = arguments.Flag("mirror-x");
    settings.mirrorUpDown = arguments.Flag("mirror-y");
    if (const auto angle = arguments.Option("angle")) {
        const auto degrees = Degrees(*angle);
        if (!degrees) {
            error = "--angle must be a whole number of degrees";
            return false;
        }
        settings.angle = std::u16string(degrees->begin(), degrees->end());
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
            error = std::string("--") + option + " must be a positive number";
            return false;
        }
    }
    return true;
}

/// The source, read once and known by its mark, and the HUB file that goes with it: --hub, or
/// a combined source's own.
struct Inputs
{
    std::vector<std::uint8_t> file;
    std::span<const std::uint8_t> driver; ///< the file, or its driver entry
    bool combined = false;
    std::vector<std::uint8_t> hubFile;
    std::span<const std::uint8_t> hub; ///< the --hub file, or the source's HUB entry
    /// Names the HUB entry of the combined file written; none without a HUB file.
    std::optional<std::filesystem::path> hubPath;
    std::string hubName; ///< the HUB file as messages name it
    HubFile hubPins;

    bool Read(const Arguments& arguments, const CodePage& codePage, std::string& error)
    {
        const std::string& input = arguments.positional[0];
        auto bytes = ReadInput(input, error);
        if (!bytes)
            return false;
        file = std::move(*bytes);
        const FileKind kind = KindOf(file);
        if (kind == FileKind::Combined) {
            CombinedFileContents entries;
            if (!entries.Parse(file, codePage, error)) {
                error = input + ": " + error;
                return false;
            }
            combined = true;
            driver = entries.driver.bytes;
            hub = entries.hub.bytes;
            hubPath = "conversion.HDR"; // the name the dialog gives a combined source's HUB file
            hubName = input + ": HUB entry";
        } else if (kind == FileKind::Driver) {
            driver = file;
        } else {
            error = WrongKind(input, kind, {FileKind::Driver, FileKind::Combined});
            return false;
        }
        if (const auto given = arguments.Option("hub")) {
            auto givenBytes = ReadInput(*given, error);
            if (!givenBytes)
                return false;
            hubFile = std::move(*givenBytes);
            hub = hubFile;
            hubPath = *given;
            hubName = *given;
        }
        if (!hubPath)
            return true;
        if (const FileKind hubKind = KindOf(hub); hubKind != FileKind::Hub) {
            error = WrongKind(hubName, hubKind, {FileKind::Hub});
            return false;
        }
        if (!hubPins.Parse(hub, error)) {
            error = hubName + ": " + error;
            return false;
        }
        return true;
    }
};

int RunTransform(const Arguments& arguments, std::ostream& out, std::ostream& err)
{
    TransformSettings settings;
    std::string error;
    if (arguments.positional.size() != 2 || !ReadSettings(arguments, settings, error)) {
        err << "mdrtool transform: " << (error.empty() ? "expects IN and OUT" : error) << "\n";
        return 2;
    }
    const auto fail = [&err](const std::string& message) {
        err << "mdrtool transform: " << message << "\n";
        return 1;
    };
    const CodePage codePage(CodePageName(arguments));
    const PictureHeaderCodec codec;
    RandomGuids guids;
    const SystemClock clock;
    const DesignFilePorts ports{codePage, codec, guids, clock, {}};
    const std::string& input = arguments.positional[0];
    const std::filesystem::path target = arguments.positional[1];
    Inputs inputs;
    if (!inputs.Read(arguments, codePage, error))
        return fail(error);

    ModuleTransform transform;
    if (const int loaded = transform.Load(inputs.driver, input, ports);
        loaded != ModuleTransform::kLoaded) {
        static const char* kWhat[] = {"",
                                      "cannot be read",
                                      "module information is damaged",
                                      "socket is damaged",
                                      "layout is damaged",
                                      "background is damaged"};
        return fail(input + ": " + (inputs.combined ? "driver entry: " : "") + kWhat[loaded]);
    }
    std::optional<std::filesystem::path> combined;
    if (inputs.hubPath) {
        if (!inputs.hubPins.Fits(transform.Parts().socket))
            return fail(inputs.hubName +
                        ": the HUB file does not fit the module's socket, nothing written");
        combined = std::filesystem::path(target).replace_extension("MHR");
    }
    // A combined file is what goes to the controller: one is never replaced unasked.
    for (const auto& path : {std::optional(target), combined})
        if (path && HasExtension(*path, ".MHR") && std::filesystem::exists(*path) &&
            !arguments.Flag("force"))
            return fail(path->string() + ": exists, --force replaces it");

    transform.Run(settings);
    const auto result = TransformFiles::BuildResult(transform, ports);
    if (!result || !fileio::WriteAtomic(target, *result))
        return fail(target.string() + ": cannot be written");
    if (combined &&
        !TransformFiles::Combine(target, *result, *inputs.hubPath, inputs.hub, *combined, ports))
        return fail(combined->string() + ": cannot be written");

    if (arguments.Flag("json"))
        PrintJson(out, transform, combined);
    else
        out << transform.SourceWidth() << "x" << transform.SourceHeight() << " -> "
            << transform.ResultWidth() << "x" << transform.ResultHeight() << " " << target.string()
            << (combined ? " and " + combined->string() : std::string()) << "\n";
    return 0;
}

} // namespace

const MdrCommand kTransformCommand = {
    "transform",
    "mirror, scale and rotate a module's LED arrangement",
    "usage: mdrtool transform IN OUT.MDR [--angle DEG] [--mirror-x] [--mirror-y]\n"
    "                         [--zoom-x F] [--zoom-y F] [--hub FILE.HDR] [--force] [--json]\n"
    "                         [--codepage NAME]\n"
    "IN is a driver or a combined file, known by its mark. Writes the transformed driver file,\n"
    "and OUT with the extension MHR beside it when IN is a combined file or --hub is given (the\n"
    "HUB file must fit the socket; nothing is written when it does not). An existing MHR file\n"
    "is replaced only with --force. DEG is a whole number, signed or not. A zoom option\n"
    "switches that zoom on; F > 1 shrinks, F < 1 spreads. --json prints the figures before and\n"
    "after and the map [sx,sy,dx,dy] of every LED. Exit 1 for a file that cannot be read or\n"
    "written, is not of the right kind, a HUB file that does not fit or an MHR file in the\n"
    "way, 2 for a bad command line.\n",
    {{"angle"},
     {"mirror-x", false},
     {"mirror-y", false},
     {"zoom-x"},
     {"zoom-y"},
     {"hub"},
     {"force", false},
     {"json", false},
     {"codepage"}},
    RunTransform};

} // namespace md::mdrtool
