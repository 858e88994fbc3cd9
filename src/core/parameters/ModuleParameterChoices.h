#pragma once

#include <cstdint>
#include <span>

namespace md {

/// One entry of a list on the module parameter page: the stored item value and its label key.
struct Choice
{
    std::int32_t value;
    const char* labelKey;
};

/// The fixed lists of the module parameter page, in the order they are shown.
namespace choices {

std::span<const Choice> ModuleTypes();
std::span<const Choice> VirtualModes();
std::span<const Choice> SplitModes();
std::span<const Choice> Discharges();
std::span<const Choice> Polarities();
std::span<const Choice> MultiClocks();
std::span<const Choice> GroupDataModes();
std::span<const Choice> DataLineTypes();

/// The position of the entry with that item value; the first entry (0) when none has it.
int IndexOfValue(std::span<const Choice> list, std::int32_t value);

} // namespace choices
} // namespace md
