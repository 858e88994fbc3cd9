#pragma once

#include "core/parameters/ChipRecord.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace md {

/// The chips offered on the module parameter page, in the order of ChipLib.xml. A "chip"
/// element named "Scan" (exactly) holds scan chips; every other one holds driver chips.
class ChipLibrary
{
public:
    ChipLibrary() = default;
    explicit ChipLibrary(std::vector<ChipRecord> records) : m_records(std::move(records)) {}

    /// Reads the library; names come from the given attribute of "Specification", else from its
    /// text. A file that cannot be read, is not well-formed or has no "main" gives an empty
    /// library whose Failure() names the file, the line and the reason.
    static ChipLibrary Load(const std::filesystem::path& path,
                            std::u16string_view languageAttribute);
    /// The library file under a program folder root.
    static std::filesystem::path PathIn(const std::filesystem::path& programFolder);

    const std::vector<ChipRecord>& Records() const { return m_records; }
    bool IsEmpty() const { return m_records.empty(); }
    /// Why the library did not load; empty when it did.
    const std::u16string& Failure() const { return m_failure; }
    std::vector<ChipRecord> ScanChips() const { return Select(true); }
    std::vector<ChipRecord> DriverChips() const { return Select(false); }
    /// The first scan (or driver) chip of that name; nullptr when there is none.
    const ChipRecord* Find(std::u16string_view name, bool scan) const;
    /// Gives a chip a new polarity (the wizard's answers); false when there is no such chip.
    bool SetPolarity(std::u16string_view name, bool scan, std::int32_t polarity);

private:
    std::vector<ChipRecord> Select(bool scan) const;

    std::vector<ChipRecord> m_records;
    std::u16string m_failure;
};

} // namespace md
