#include "core/design/NewModuleInfoPresenter.h"

#include "core/io/Utf.h"
#include "core/platform/Prompter.h"
#include "core/platform/Texts.h"

#include <optional>

namespace md {

namespace {

/// A whole decimal number, nothing for empty or non-digit text.
std::optional<int> Number(const std::u16string& text)
{
    if (text.empty() || text.size() > 9)
        return std::nullopt;
    int value = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c - u'0');
    }
    return value;
}

std::optional<int> InRange(const std::u16string& text, int low, int high)
{
    auto value = Number(text);
    if (!value || *value < low || *value > high)
        return std::nullopt;
    return value;
}

std::u16string NumberText(std::uint16_t value)
{
    return value == 0 ? std::u16string() : utf::FromAscii(std::to_string(value));
}

} // namespace

NewModuleInfoPresenter::NewModuleInfoPresenter(NewModuleInfoRecord& record,
                                               std::vector<Chip> library)
    : m_record(record), m_library(std::move(library))
{}

void NewModuleInfoPresenter::Open()
{
    m_record.confirmed = 0;
    m_driverNames.clear();
    m_scanNames.clear();
    for (const auto& chip : m_library)
        (chip.kind == 1 ? m_scanNames : m_driverNames).push_back(chip.name);
    m_driverSelection.reset();
    m_scanSelection.reset();
    m_scanEnabled = true;
}

bool NewModuleInfoPresenter::Select(std::uint32_t kind, const std::vector<std::u16string>& names,
                                    std::optional<std::size_t> index, Chip& chip,
                                    std::u16string& typeText)
{
    if (!index || *index >= names.size()) {
        typeText.clear();
        return false;
    }
    for (const auto& candidate : m_library) {
        if (candidate.kind != kind || candidate.name != names[*index])
            continue;
        chip = candidate;
        if (chip.chipType == 0)
            typeText = u"A";
        else if (chip.chipType == 1)
            typeText = u"B";
        return true;
    }
    return true;
}

void NewModuleInfoPresenter::SelectDriverChip(std::optional<std::size_t> index)
{
    m_driverSelection = index && *index < m_driverNames.size() ? index : std::nullopt;
    Select(0, m_driverNames, m_driverSelection, m_record.driverChip, m_driverType);
}

void NewModuleInfoPresenter::SelectScanChip(std::optional<std::size_t> index)
{
    m_scanSelection = index && *index < m_scanNames.size() ? index : std::nullopt;
    Select(1, m_scanNames, m_scanSelection, m_record.scanChip, m_scanType);
}

void NewModuleInfoPresenter::ScanRowsEdited(const std::u16string& text)
{
    const auto value = Number(text);
    if (value == 1) {
        m_scanSelection.reset();
        m_scanEnabled = false;
        m_scanType.clear();
    } else if (value && *value != 0) {
        m_scanEnabled = true;
    }
}

bool NewModuleInfoPresenter::Confirm(const NewModuleInfoFields& fields, Prompter& prompter,
                                     const Texts& texts)
{
    auto refuse = [&] {
        prompter.Ask(PromptButtons::Ok, texts.Text("ID_PROMPT"), texts.Text("ID_PARA_ERROR"));
        return false;
    };
    const auto pins = InRange(fields.pins, 1, kMaxPins);
    if (!pins)
        return refuse();
    m_record.pinCount = static_cast<std::uint16_t>(*pins);
    const auto scanRows = InRange(fields.scanRows, 1, kMaxScanRows);
    if (!scanRows)
        return refuse();
    m_record.scanRows = static_cast<std::uint16_t>(*scanRows);
    const auto length = InRange(fields.length, 1, kMaxSide);
    if (!length)
        return refuse();
    const auto width = InRange(fields.width, 1, kMaxSide);
    if (!width || *length * *width > kMaxPixels)
        return refuse();
    m_record.xPixels = static_cast<std::uint16_t>(*length);
    m_record.yPixels = static_cast<std::uint16_t>(*width);
    for (std::size_t i = 0; i < fields.nameParts.size(); ++i)
        m_record.nameParts[i] = fields.nameParts[i].substr(0, NewModuleInfoRecord::kNamePartLength);
    if (m_record.ModuleName().empty())
        return refuse();
    if (!m_driverSelection)
        return refuse();
    if (*scanRows != 1 && !m_scanSelection)
        return refuse();
    m_record.confirmed = 1;
    return true;
}

NewModuleInfoFields NewModuleInfoPresenter::FieldsFromRecord() const
{
    NewModuleInfoFields fields;
    fields.pins = NumberText(m_record.pinCount);
    fields.scanRows = NumberText(m_record.scanRows);
    fields.length = NumberText(m_record.xPixels);
    fields.width = NumberText(m_record.yPixels);
    fields.nameParts = m_record.nameParts;
    return fields;
}

} // namespace md
