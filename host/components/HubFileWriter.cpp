#include "HubFileWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace md::host {

namespace {

constexpr int kSocketHeader = 4 + 12 + 36; // mark, version words, signature text

quint16 U16At(const QByteArray& bytes, int offset)
{
    return static_cast<quint16>(static_cast<quint8>(bytes[offset]) |
                                (static_cast<quint8>(bytes[offset + 1]) << 8));
}

void PutU16(QByteArray& out, quint16 value)
{
    out.append(static_cast<char>(value & 0xFF));
    out.append(static_cast<char>(value >> 8));
}

} // namespace

QByteArray HubFileWriter::FromSocketFile(const QByteArray& socketFile)
{
    if (socketFile.size() < kSocketHeader + 4 || !socketFile.startsWith(".MJK"))
        return {};
    const quint16 pinCount = U16At(socketFile, kSocketHeader);
    const quint16 scanRows = U16At(socketFile, kSocketHeader + 2);
    if (socketFile.size() - (kSocketHeader + 4) < pinCount)
        return {};
    QByteArray hub(kHubMark);
    hub.append(kHubId);
    PutU16(hub, 1); // one pin group
    PutU16(hub, pinCount);
    PutU16(hub, scanRows);
    for (quint16 pin = 0; pin < pinCount; ++pin) {
        hub.append(static_cast<char>(pin & 0xFF));
        hub.append(socketFile[kSocketHeader + 4 + pin]);
        PutU16(hub, 0);
    }
    return hub;
}

QString HubFileWriter::Convert(const QString& socketPath, const QString& hubPath)
{
    QFile socket(socketPath);
    if (!socket.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot read the socket file %1").arg(socketPath);
    const QByteArray hub = FromSocketFile(socket.readAll());
    if (hub.isEmpty())
        return QStringLiteral("%1 is not a socket file").arg(socketPath);
    QDir().mkpath(QFileInfo(hubPath).absolutePath());
    QSaveFile out(hubPath);
    if (!out.open(QIODevice::WriteOnly) || out.write(hub) != hub.size() || !out.commit())
        return QStringLiteral("cannot write the HUB file %1").arg(hubPath);
    return {};
}

} // namespace md::host
