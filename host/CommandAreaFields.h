#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace md::host {

/// The command area's bytes decoded into the fields the plug-in writes.
struct CommandAreaFields
{
    bool wizardActive = false;  ///< offset 0
    std::uint32_t endMark = 0;  ///< offset 4, little-endian (100 after the wizard)
    int groupingMode = 0;       ///< offset 21
    int multiClock = 0;         ///< offset 22, low nibble
    int dataLineType = 0;       ///< offset 22, high nibble
    char chipLetter = 0;        ///< offset 23: 'A' + driver chip type
    std::uint32_t word1 = 0;    ///< offset 24, big-endian
    std::uint32_t word2 = 0;    ///< offset 28, big-endian
    int rowIndex = -1;          ///< point lighting row index g (from byte 0 or 1), -1 when none
    std::uint32_t polarity = 0; ///< bits 0-23 of word 1
    int modeBits = 0;           ///< word 2 bits 0-3
    int lineEnables = 0;        ///< word 2 bits 4-7 as lines 1-4 (bit 0 = line 1)
    int rows = 0;               ///< word 2 bits 8-15
    int slot = 0;               ///< word 2 bits 13-15 (HUB address command)
    int position = 0;           ///< word 2 bits 16-25 (0x3FF = all)
    int group = 0;              ///< word 2 bits 26-31

    /// Decodes 32 bytes; a shorter buffer gives the defaults.
    static CommandAreaFields Decode(const QByteArray& bytes);
    /// One line for the monitor: what the command pair asks the controller for.
    QString Describe() const;
};

} // namespace md::host
