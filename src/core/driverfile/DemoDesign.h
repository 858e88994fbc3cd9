#pragma once

#include "core/driverfile/DriverFileContents.h"

#include <memory>

namespace md {

class CodePage;

/// A complete, plausible design built from a few numbers: a W x H single-colour module whose
/// data groups split it into horizontal bands, each band scanned in S interleaved scan rows
/// and traced as a serpentine. Used for sample files, benchmarks and tests.
class DemoDesign
{
public:
    struct Options
    {
        std::uint16_t width = 32;
        std::uint16_t height = 16;
        std::uint16_t groups = 2;
        std::uint16_t scanRows = 4;
        std::uint16_t ledsPerCell = 1;
        std::vector<std::uint8_t> background; ///< picture file bytes, may be empty
    };

    /// Nothing when the numbers do not divide (height by groups, band height by scan rows).
    static std::unique_ptr<DriverFileContents> Build(const Options& options);
    /// The design as a driver file's bytes (fixed identity text for reproducible output).
    static std::vector<std::uint8_t> Bytes(DriverFileContents& design, const CodePage& codePage,
                                           std::string& error);
};

} // namespace md
