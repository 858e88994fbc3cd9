#pragma once

#include <QByteArray>
#include <QString>

namespace md::host {

/// Turns a socket file (".mjk") into the HUB file (".HDR") the controller side pairs with a
/// driver file: one pin group holding every pin in pin order with its function code.
class HubFileWriter
{
public:
    static constexpr const char* kHubMark = ".HDR";
    static constexpr const char* kHubId = "B80B16B7-269C-4271-B0A2-3D89B99AC56A";

    /// The HUB file bytes for a socket file's bytes; empty when the socket file is malformed.
    static QByteArray FromSocketFile(const QByteArray& socketFile);
    /// Reads the socket file and writes the HUB file; an error text, empty on success.
    static QString Convert(const QString& socketPath, const QString& hubPath);
};

} // namespace md::host
