#pragma once

#include "core/design/NewModuleInfoRecord.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace md {

class Prompter;
class Texts;

/// What the new-module dialog's edits hold when the user confirms.
struct NewModuleInfoFields
{
    std::u16string pins;
    std::u16string scanRows;
    std::u16string length;
    std::u16string width;
    std::array<std::u16string, 4> nameParts;
};

/// Logic of the new-module dialog: the two chip lists filled from the host's chip list, the
/// chip type fields, the scan-rows rule for the scan chip and the ordered confirm checks that
/// store each field as soon as its check passes.
class NewModuleInfoPresenter
{
public:
    using Chip = NewModuleInfoRecord::Chip;

    static constexpr int kMaxPins = 40;
    static constexpr int kMaxScanRows = 32;
    static constexpr int kMaxSide = 255;
    static constexpr int kMaxPixels = 4096;

    NewModuleInfoPresenter(NewModuleInfoRecord& record, std::vector<Chip> library);

    /// Clears the confirmed flag and fills the lists: kind 1 chips are scan chips, all others
    /// driver chips, in library order.
    void Open();
    const std::vector<std::u16string>& DriverChipNames() const { return m_driverNames; }
    const std::vector<std::u16string>& ScanChipNames() const { return m_scanNames; }

    /// A list's selection changed (nothing = no selection).
    void SelectDriverChip(std::optional<std::size_t> index);
    void SelectScanChip(std::optional<std::size_t> index);
    std::optional<std::size_t> DriverSelection() const { return m_driverSelection; }
    std::optional<std::size_t> ScanSelection() const { return m_scanSelection; }
    const std::u16string& DriverTypeText() const { return m_driverType; }
    const std::u16string& ScanTypeText() const { return m_scanType; }

    /// The scan-rows edit changed: 1 disables the scan chip list and drops its selection.
    void ScanRowsEdited(const std::u16string& text);
    bool ScanListEnabled() const { return m_scanEnabled; }

    /// Runs the confirm checks in order; the first failure shows "ID_PARA_ERROR" and returns
    /// false. True (and confirmed = 1) when all pass.
    bool Confirm(const NewModuleInfoFields& fields, Prompter& prompter, const Texts& texts);

    /// The record's current values as edit texts (empty for zero numbers).
    NewModuleInfoFields FieldsFromRecord() const;

private:
    bool Select(std::uint32_t kind, const std::vector<std::u16string>& names,
                std::optional<std::size_t> index, Chip& chip, std::u16string& typeText);

    NewModuleInfoRecord& m_record;
    std::vector<Chip> m_library;
    std::vector<std::u16string> m_driverNames;
    std::vector<std::u16string> m_scanNames;
    std::optional<std::size_t> m_driverSelection;
    std::optional<std::size_t> m_scanSelection;
    std::u16string m_driverType;
    std::u16string m_scanType;
    bool m_scanEnabled = true;
};

} // namespace md
