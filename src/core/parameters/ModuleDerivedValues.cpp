#include "core/parameters/ModuleDerivedValues.h"

namespace md {

std::int32_t ModuleDerivedValues::ExpectedLines(ModuleType type)
{
    switch (type) {
    case ModuleType::SingleColour:
        return 1;
    case ModuleType::FullColour:
        return 3;
    case ModuleType::DoubleColour:
        return 2;
    case ModuleType::Virtual:
        return 4;
    }
    return 0;
}

std::int32_t ModuleDerivedValues::ColourCode(ModuleType type)
{
    return static_cast<std::int32_t>(type);
}

std::uint16_t ModuleDerivedValues::LineFactor(ModuleType type, std::uint16_t groupDataMode,
                                              std::uint16_t dataLineType)
{
    switch (type) {
    case ModuleType::SingleColour:
        return 1;
    case ModuleType::DoubleColour:
        return 2;
    case ModuleType::Virtual:
        return 4;
    case ModuleType::FullColour:
        break;
    }
    // Three colours in series on one line need one line per group.
    if (dataLineType != 0)
        return 1;
    switch (groupDataMode) {
    case 1:
    case 4:
    case 6:
    case 8:
        return 3;
    default:
        return 4;
    }
}

std::array<std::int32_t, 3> ModuleDerivedValues::VirtualTriple(ModuleType type,
                                                               std::int32_t virtualMode)
{
    if (type != ModuleType::Virtual)
        return {0, 0, 0};
    switch (virtualMode) {
    case 1:
        return {1, 6, 7};
    case 2:
        return {1, 7, 6};
    case 3:
        return {2, 5, 8};
    case 4:
        return {2, 8, 5};
    default:
        return {0, 0, 0};
    }
}

void ModuleDerivedValues::Derive(const ModuleParameters& parameters)
{
    expectedLines = ExpectedLines(parameters.moduleType);
    colourCode = ColourCode(parameters.moduleType);
    lineFactor =
        LineFactor(parameters.moduleType, parameters.groupDataMode, parameters.dataLineType);
    virtualTriple = VirtualTriple(parameters.moduleType, parameters.virtualMode);
}

} // namespace md
