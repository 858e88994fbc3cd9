#pragma once

#include "core/controller/CommandPair.h"

#include <array>
#include <cstdint>
#include <optional>

namespace md {

/// Composes the command words the plug-in sends to the controller. Word 1 carries the polarity
/// value under the marker byte 0xA0; word 2 the pattern: mode bits, line enables, row count,
/// position and group.
namespace commandwords {

inline constexpr std::uint32_t kAllPositions = 0x03FF0000;

/// Word 1: the polarity value big-endian with its first byte replaced by 0xA0. A row index g
/// (point lighting) goes into byte 1, and also into byte 0 (0xA0 | g) when it is below 16.
std::array<std::uint8_t, 4> ControlWord(std::uint32_t polarity,
                                        std::optional<std::uint32_t> rowIndex = std::nullopt);
/// Word 2 from its host-order value.
std::array<std::uint8_t, 4> PatternWord(std::uint32_t value);

/// Pattern row count of wizard steps 1 to 3: the driver chip's maximum scan count (16 when
/// 0), or 4 for scan chips whose polarity has 5 or 10 in bits 12 to 15.
std::uint32_t WizardRowCount(std::uint32_t driverMaxScans, std::uint32_t scanPolarity);

/// Step 1 (bit value 2) and step 2 (bit value 8) buttons: the polarity with the bit in the
/// requested state, or nothing when it already is, in which case nothing is sent.
std::optional<std::uint32_t> WithPolarityBit(std::uint32_t polarity, std::uint32_t bit, bool set);
/// The hidden step-1 button always flips bit value 2.
inline std::uint32_t ToggledPolarity(std::uint32_t polarity)
{
    return polarity ^ 2U;
}

/// The three pattern commands sent before wizard steps 1, 2 and 3.
CommandPair BeforeStep1(std::uint32_t polarity, std::uint32_t count);
CommandPair BeforeStep2(std::uint32_t polarity, std::uint32_t count);
CommandPair BeforeStep3(std::uint32_t polarity, std::uint32_t count);
/// Step 4, button k (1 to 4): word 1 as before step 3, one data line enabled.
CommandPair Step4Line(std::uint32_t polarity, std::uint32_t rows, unsigned button);
/// HUB address dialog: a connector slot of the grid chosen.
CommandPair HubAddress(std::uint16_t driverPolarity, std::uint16_t scanPolarity, std::uint32_t rows,
                       std::uint32_t slot, std::uint32_t connector);

/// Row count sent by point lighting: scanRows, raised to 16 (or rowAddress + 1 when 16 is
/// still not above rowAddress) when an explicit row address does not fit.
std::uint32_t LightingRows(std::uint32_t scanRows, std::uint32_t rowAddress);
/// Point lighting of one output position.
CommandPair PointLighting(std::uint32_t polarity, std::optional<std::uint32_t> rowIndex,
                          std::uint32_t rows, std::uint32_t position, std::uint32_t group);

} // namespace commandwords
} // namespace md
