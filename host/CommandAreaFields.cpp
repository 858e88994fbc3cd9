#include "CommandAreaFields.h"

#include "md/ByteOrder.h"

#include <QStringList>

namespace md::host {

namespace {
const std::uint8_t* At(const QByteArray& bytes, int offset)
{
    return reinterpret_cast<const std::uint8_t*>(bytes.constData()) + offset;
}
std::uint32_t BigEndian(const QByteArray& bytes, int offset)
{
    return byteorder::ReadBigEndian32(At(bytes, offset));
}
std::uint32_t LittleEndian(const QByteArray& bytes, int offset)
{
    return byteorder::ReadLittleEndian32(At(bytes, offset));
}
} // namespace

CommandAreaFields CommandAreaFields::Decode(const QByteArray& bytes)
{
    CommandAreaFields f;
    if (bytes.size() < 32)
        return f;
    f.wizardActive = bytes[0] != 0;
    f.endMark = LittleEndian(bytes, 4);
    f.groupingMode = static_cast<quint8>(bytes[21]);
    f.multiClock = static_cast<quint8>(bytes[22]) & 0x0F;
    f.dataLineType = static_cast<quint8>(bytes[22]) >> 4;
    f.chipLetter = bytes[23];
    f.word1 = BigEndian(bytes, 24);
    f.word2 = BigEndian(bytes, 28);
    f.polarity = f.word1 & 0x00FFFFFF;
    const int lead = static_cast<int>(f.word1 >> 24);
    const bool pointLighting = (f.word2 & 0x0F) == 0x01;
    if (pointLighting)
        f.rowIndex = (lead & 0x0F) != 0 ? (lead & 0x0F) : static_cast<int>((f.word1 >> 16) & 0xFF);
    f.modeBits = static_cast<int>(f.word2 & 0x0F);
    f.lineEnables = static_cast<int>((f.word2 >> 4) & 0x0F);
    f.rows = static_cast<int>((f.word2 >> 8) & 0xFF);
    f.slot = static_cast<int>((f.word2 >> 13) & 0x07);
    f.position = static_cast<int>((f.word2 >> 16) & 0x3FF);
    f.group = static_cast<int>(f.word2 >> 26);
    return f;
}

QString CommandAreaFields::Describe() const
{
    QStringList lines;
    for (int line = 0; line < 4; ++line)
        if (lineEnables & (1 << line))
            lines << QString::number(line + 1);
    const QString where = position == 0x3FF ? QStringLiteral("all positions")
                                            : QStringLiteral("position %1").arg(position);
    QString text = QStringLiteral("mode %1, lines %2, rows %3, %4, group %5, polarity %6")
                       .arg(modeBits)
                       .arg(lines.isEmpty() ? QStringLiteral("none") : lines.join(','))
                       .arg(rows)
                       .arg(where)
                       .arg(group)
                       .arg(polarity, 6, 16, QLatin1Char('0'));
    if (rowIndex >= 0)
        text += QStringLiteral(", row index %1").arg(rowIndex);
    if (modeBits & 0x08)
        text += QStringLiteral(", HUB slot %1").arg(slot);
    return text;
}

} // namespace md::host
