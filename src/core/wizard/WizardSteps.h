#pragma once

#include "core/controller/CommandChannel.h"

#include <array>
#include <cstdint>
#include <vector>

namespace md {

/// What steps 1 and 2 share: they choose one bit of the driver polarity S and send the current
/// pattern again with the changed polarity.
class PolarityStateStep
{
public:
    PolarityStateStep(std::uint32_t bit, std::uint32_t s, std::uint32_t b, std::uint32_t pattern,
                      CommandChannel& channel)
        : m_bit(bit), m_s(s), m_b(b), m_pattern(pattern), m_channel(channel)
    {}
    std::uint32_t Polarity() const { return m_s; }

protected:
    bool BitSet() const { return (m_s & m_bit) != 0; }
    /// Sets or clears the bit; sends only when the polarity changed.
    void SetBit(bool on);
    /// Flips the bit (and whatever the toggle rule flips with it) and sends.
    void Toggle();

private:
    void Send();

    std::uint32_t m_bit;
    std::uint32_t m_s;
    std::uint32_t m_b;
    std::uint32_t m_pattern;
    CommandChannel& m_channel;
};

/// Step 1: which of two polarity states lights the whole module (bit value 2 of the driver
/// polarity S).
class WizardStep1 : public PolarityStateStep
{
public:
    static constexpr std::uint32_t kBit = 2;

    WizardStep1(std::uint32_t s, std::uint32_t b, std::uint32_t pattern, CommandChannel& channel)
        : PolarityStateStep(kBit, s, b, pattern, channel)
    {}
    /// State 2 is shown chosen when the bit is set.
    bool State2Chosen() const { return BitSet(); }
    void ChooseState1() { SetBit(false); }
    void ChooseState2() { SetBit(true); }
    /// The hidden button: always flips the bit and sends.
    using PolarityStateStep::Toggle;
};

/// Step 2: which state is brighter (bit value 8 of S). Here the first state sets the bit.
class WizardStep2 : public PolarityStateStep
{
public:
    static constexpr std::uint32_t kBit = 8;

    WizardStep2(std::uint32_t s, std::uint32_t b, std::uint32_t pattern, CommandChannel& channel)
        : PolarityStateStep(kBit, s, b, pattern, channel)
    {}
    /// State 1 is shown chosen when the bit is set.
    bool State1Chosen() const { return BitSet(); }
    void ChooseState1() { SetBit(true); }
    void ChooseState2() { SetBit(false); }
};

/// Step 3: the number of scan rows, 1 to 64, read off the module as the interval between lit
/// rows (8 until the user chooses).
class WizardStep3
{
public:
    static constexpr int kMaxRows = 64;
    static constexpr int kDefaultRows = 8;

    int Rows() const { return m_rows; }
    /// False for a value outside 1 to 64 (kept unchanged).
    bool SetRows(int rows);

private:
    int m_rows = kDefaultRows;
};

/// Step 4: which colour each of the four data lines carries. Button k lights line k.
class WizardStep4
{
public:
    enum Colour : int
    {
        kRed = 0,
        kGreen = 1,
        kBlue = 2,
        kBlack = 3
    };

    WizardStep4(std::uint32_t polarity, std::uint32_t rows, int groupingMode, int dataLineType,
                CommandChannel& channel);
    /// Black is offered in lists 1 to 3, and row 4 is usable, only for grouping modes other
    /// than 1 and 4 with data-line type 0.
    bool BlackOffered() const { return m_blackOffered; }
    bool Row4Enabled() const { return m_blackOffered; }
    /// The colours offered by list n (0 to 3), in list order.
    std::vector<int> Choices(int list) const;

    /// Button k (1 to 4) lights data line k.
    void Light(unsigned k);
    /// False when the colour is not offered by that list.
    bool Choose(int list, int colour);
    int Chosen(int list) const { return m_chosen[static_cast<std::size_t>(list)]; }

    /// Reads the lists in order: the colours of the lines that are not black and their line
    /// numbers. False when every line is black (the step stays open).
    bool Finish();
    const std::vector<std::uint16_t>& LineColours() const { return m_colours; }
    const std::array<std::uint8_t, 4>& LineMap() const { return m_lineMap; }

private:
    std::uint32_t m_polarity;
    std::uint32_t m_rows;
    bool m_blackOffered;
    CommandChannel& m_channel;
    std::array<int, 4> m_chosen{kRed, kGreen, kBlue, kBlack};
    std::vector<std::uint16_t> m_colours;
    std::array<std::uint8_t, 4> m_lineMap{};
};

} // namespace md
