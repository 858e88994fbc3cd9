#include "core/controller/CommandWords.h"

#include "md/ByteOrder.h"

namespace md::commandwords {

namespace {

using byteorder::BigEndianBytes;

CommandPair Pattern(std::uint32_t polarity, std::uint32_t count, std::uint32_t mode)
{
    return {ControlWord(polarity), PatternWord(kAllPositions | (count << 8) | mode)};
}

} // namespace

std::array<std::uint8_t, 4> ControlWord(std::uint32_t polarity,
                                        std::optional<std::uint32_t> rowIndex)
{
    std::array<std::uint8_t, 4> word = BigEndianBytes(polarity);
    word[0] = 0xA0;
    if (rowIndex) {
        if (*rowIndex < 16)
            word[0] = static_cast<std::uint8_t>(0xA0 | *rowIndex);
        word[1] = static_cast<std::uint8_t>(*rowIndex);
    }
    return word;
}

std::array<std::uint8_t, 4> PatternWord(std::uint32_t value)
{
    return BigEndianBytes(value);
}

std::uint32_t WizardRowCount(std::uint32_t driverMaxScans, std::uint32_t scanPolarity)
{
    std::uint32_t count = driverMaxScans == 0 ? 16 : driverMaxScans;
    const std::uint32_t high = (scanPolarity >> 12) & 0x0F;
    if (high == 10 || high == 5)
        count = 4;
    return count;
}

std::optional<std::uint32_t> WithPolarityBit(std::uint32_t polarity, std::uint32_t bit, bool set)
{
    const std::uint32_t changed = set ? polarity | bit : polarity & ~bit;
    if (changed == polarity)
        return std::nullopt;
    return changed;
}

CommandPair BeforeStep1(std::uint32_t polarity, std::uint32_t count)
{
    return Pattern(polarity, count, 0xF6);
}

CommandPair BeforeStep2(std::uint32_t polarity, std::uint32_t count)
{
    return Pattern(polarity, count, 0xF7);
}

CommandPair BeforeStep3(std::uint32_t polarity, std::uint32_t count)
{
    return Pattern(polarity, count, 0xF5);
}

CommandPair Step4Line(std::uint32_t polarity, std::uint32_t rows, unsigned button)
{
    const std::uint32_t line = button >= 1 && button <= 4 ? 0x10U << (button - 1) : 0;
    return {ControlWord(polarity), PatternWord(kAllPositions | (rows << 8) | 0x07 | line)};
}

CommandPair HubAddress(std::uint16_t driverPolarity, std::uint16_t scanPolarity, std::uint32_t rows,
                       std::uint32_t slot, std::uint32_t connector)
{
    const std::uint32_t polarity = std::uint16_t(driverPolarity | scanPolarity);
    return {ControlWord(polarity),
            PatternWord(kAllPositions | (rows << 8) | 0xFB | (slot << 13) | (connector << 26))};
}

std::uint32_t LightingRows(std::uint32_t scanRows, std::uint32_t rowAddress)
{
    std::uint32_t rows = scanRows;
    if (rowAddress != 0 && scanRows < rowAddress + 1) {
        rows = 16;
        if (16 < rowAddress + 1)
            rows = rowAddress + 1;
    }
    return rows;
}

CommandPair PointLighting(std::uint32_t polarity, std::optional<std::uint32_t> rowIndex,
                          std::uint32_t rows, std::uint32_t position, std::uint32_t group)
{
    return {ControlWord(polarity, rowIndex),
            PatternWord(0x01 | 0xF0 | (rows << 8) | (position << 16) | (group << 26))};
}

} // namespace md::commandwords
