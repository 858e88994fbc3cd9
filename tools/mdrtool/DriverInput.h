#pragma once

#include "core/driverfile/DriverFileContents.h"

#include <memory>
#include <string>

namespace md::mdrtool {

struct Arguments;

/// The driver file named by the first positional argument: a .MDR/.BDT directly, or the driver
/// entry of a .MHR. Nothing, with a one-line message, when it cannot be read.
std::unique_ptr<DriverFileContents> LoadDriver(const Arguments& arguments, std::string& error);

} // namespace md::mdrtool
