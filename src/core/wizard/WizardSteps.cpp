#include "core/wizard/WizardSteps.h"

#include "core/controller/CommandWords.h"

#include <algorithm>

namespace md {

namespace {
CommandPair Pair(std::uint32_t polarity, std::uint32_t pattern)
{
    return {commandwords::ControlWord(polarity), commandwords::PatternWord(pattern)};
}
} // namespace

void PolarityStateStep::Send()
{
    m_channel.Send(Pair(m_s | m_b, m_pattern));
}

void PolarityStateStep::SetBit(bool on)
{
    if (const auto changed = commandwords::WithPolarityBit(m_s, m_bit, on)) {
        m_s = *changed;
        Send();
    }
}

void PolarityStateStep::Toggle()
{
    m_s = commandwords::ToggledPolarity(m_s);
    Send();
}

bool WizardStep3::SetRows(int rows)
{
    if (rows < 1 || rows > kMaxRows)
        return false;
    m_rows = rows;
    return true;
}

WizardStep4::WizardStep4(std::uint32_t polarity, std::uint32_t rows, int groupingMode,
                         int dataLineType, CommandChannel& channel)
    : m_polarity(polarity), m_rows(rows),
      m_blackOffered(groupingMode != 1 && groupingMode != 4 && dataLineType == 0),
      m_channel(channel)
{}

std::vector<int> WizardStep4::Choices(int list) const
{
    if (list == 3 || m_blackOffered)
        return {kRed, kGreen, kBlue, kBlack};
    return {kRed, kGreen, kBlue};
}

void WizardStep4::Light(unsigned k)
{
    if (k < 1 || k > 4 || (k == 4 && !Row4Enabled()))
        return;
    m_channel.Send(commandwords::Step4Line(m_polarity, m_rows, k));
}

bool WizardStep4::Choose(int list, int colour)
{
    if (list < 0 || list > 3 || (list == 3 && !Row4Enabled()))
        return false;
    const auto choices = Choices(list);
    if (std::find(choices.begin(), choices.end(), colour) == choices.end())
        return false;
    m_chosen[static_cast<std::size_t>(list)] = colour;
    return true;
}

bool WizardStep4::Finish()
{
    m_colours.clear();
    m_lineMap.fill(0);
    for (int line = 0; line < 4; ++line) {
        if (m_chosen[static_cast<std::size_t>(line)] == kBlack)
            continue;
        m_lineMap[m_colours.size()] = static_cast<std::uint8_t>(line);
        m_colours.push_back(static_cast<std::uint16_t>(m_chosen[static_cast<std::size_t>(line)]));
    }
    return !m_colours.empty();
}

} // namespace md
