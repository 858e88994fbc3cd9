#pragma once

#include "core/driverfile/DriverFileContents.h"

#include <memory>
#include <string>

namespace md::mdrtool {

struct Arguments;

/// The driver file named by the first positional argument, known by its mark: a driver file
/// directly, or the driver entry of a combined file, whatever their names end in. Nothing, with
/// a one-line message, when it cannot be read or is another kind of file.
std::unique_ptr<DriverFileContents> LoadDriver(const Arguments& arguments, std::string& error);

} // namespace md::mdrtool
