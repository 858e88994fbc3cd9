#pragma once

#include "core/parameters/ChipRecord.h"
#include "core/parameters/ModuleParameters.h"

#include <array>
#include <cstdint>

namespace md {

/// The values that Next derives from the module parameters for the wizard and the driver files.
struct ModuleDerivedValues
{
    std::int32_t expectedLines = 0; ///< colour lines the wizard must find
    std::int32_t colourCode = 0;
    std::uint16_t lineFactor = 0;
    std::array<std::int32_t, 3> virtualTriple{};
    ChipRecord driverChip;
    ChipRecord scanChip;
    /// The scan chip's polarity with the row blanking polarity in bits 8 and up.
    std::int32_t scanPolarityWord = 0;

    static std::int32_t ExpectedLines(ModuleType type);
    static std::int32_t ColourCode(ModuleType type);
    static std::uint16_t LineFactor(ModuleType type, std::uint16_t groupDataMode,
                                    std::uint16_t dataLineType);
    static std::array<std::int32_t, 3> VirtualTriple(ModuleType type, std::int32_t virtualMode);
    /// Fills the type-dependent values from the record (the chips are set by the caller).
    void Derive(const ModuleParameters& parameters);
};

} // namespace md
