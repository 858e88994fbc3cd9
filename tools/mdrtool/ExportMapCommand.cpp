#include "DriverInput.h"
#include "MdrCommand.h"
#include "ToolSupport.h"

#include "core/driverfile/OutputMap.h"
#include "core/io/FileIo.h"
#include "core/io/Utf.h"

#include <ostream>

namespace md::mdrtool {

namespace {

int RunExportMap(const Arguments& arguments, std::ostream& out, std::ostream& err)
{
    if (arguments.positional.size() != 1) {
        err << "mdrtool export-map: expects one FILE\n";
        return 2;
    }
    std::string error;
    const std::string format = arguments.Option("format").value_or("csv");
    if (format != "csv" && format != "json" && format != "wled" && format != "xlights" &&
        format != "cpp") {
        err << "mdrtool export-map: unknown format '" << format
            << "' (csv, json, wled, xlights or cpp)\n";
        return 2;
    }
    const auto file = LoadDriver(arguments, error);
    if (!file) {
        err << "mdrtool export-map: " << error << "\n";
        return 1;
    }
    const OutputMap map(*file);
    if ((format == "wled" || format == "xlights" || format == "cpp") && map.TooLarge()) {
        err << "mdrtool export-map: " << arguments.positional[0] << ": module of " << map.Width()
            << " x " << map.Height() << " pixels is too large for a pixel map\n";
        return 1;
    }
    std::string text;
    if (format == "csv")
        text = map.Csv();
    else if (format == "json")
        text = map.Json();
    else if (format == "wled")
        text = map.Wled();
    else if (format == "xlights")
        text = map.XLights(utf::ToUtf8(file->moduleInfo.ModuleName()));
    else
        text = map.CppHeader(utf::ToUtf8(file->moduleInfo.ModuleName()));
    if (const auto target = arguments.Option("out")) {
        const std::span<const std::uint8_t> bytes(
            reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
        if (!fileio::WriteAtomic(*target, bytes)) {
            err << "mdrtool export-map: " << *target << ": cannot be written\n";
            return 1;
        }
        return 0;
    }
    out << text;
    return 0;
}

} // namespace

const MdrCommand kExportMapCommand = {
    "export-map",
    "write the traced output order for other LED tools",
    "usage: mdrtool export-map FILE --format csv|json|wled|xlights|cpp [--out PATH]\n"
    "                          [--codepage NAME]\n"
    "FILE is a driver file or a combined file. Formats:\n"
    "  csv      group,channel,scanRow,position,x,y,kind per output point (one header line)\n"
    "  json     the same records as a JSON array\n"
    "  wled     ledmap {\"map\":[...],\"width\":W,\"height\":H}: wire index per pixel, -1 none\n"
    "  xlights  custom model XML, 1-based wire index per cell\n"
    "  cpp      a C++17 header for a custom pixel mapper: kWidth, kHeight, the constexpr\n"
    "           tables kPixelToWire (y * kWidth + x) and kWireToPixel (-1 for none) and\n"
    "           WireIndex(x, y)\n"
    "Group, channel and scan row count from 0, position from 1; the wire index of a pixel is\n"
    "(group * scanRows + scanRow) * rowLength + position - 1 on channel 0.\n",
    {{"format"}, {"out"}, {"codepage"}},
    RunExportMap};

} // namespace md::mdrtool
