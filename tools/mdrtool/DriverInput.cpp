#include "DriverInput.h"
#include "ToolSupport.h"

#include "core/driverfile/CombinedFileContents.h"
#include "core/posix/CodePage.h"

namespace md::mdrtool {

std::unique_ptr<DriverFileContents> LoadDriver(const Arguments& arguments, std::string& error)
{
    const std::string& path = arguments.positional.at(0);
    const auto bytes = ReadInput(path, error);
    if (!bytes)
        return nullptr;
    const CodePage codePage(CodePageName(arguments));
    std::span<const std::uint8_t> driver(*bytes);
    CombinedFileContents combined;
    const FileKind kind = KindOf(*bytes);
    if (kind == FileKind::Combined) {
        if (!combined.Parse(*bytes, codePage, error)) {
            error = path + ": " + error;
            return nullptr;
        }
        driver = combined.driver.bytes;
    } else if (kind != FileKind::Driver) {
        error = WrongKind(path, kind, {FileKind::Driver, FileKind::Combined});
        return nullptr;
    }
    auto file = std::make_unique<DriverFileContents>();
    if (!file->Parse(driver, codePage, error)) {
        error = path + ": " + (kind == FileKind::Combined ? "driver entry: " : "") + error;
        return nullptr;
    }
    return file;
}

} // namespace md::mdrtool
