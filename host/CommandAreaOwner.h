#pragma once

#include <QByteArray>

#include <cstdint>

namespace md::host {

/// The controller's 32-byte command area as the host creates it: a POSIX shared-memory object
/// that the plug-in opens by name. Removed again when the owner ends.
class CommandAreaOwner
{
public:
    explicit CommandAreaOwner(QByteArray name);
    ~CommandAreaOwner();
    CommandAreaOwner(const CommandAreaOwner&) = delete;
    CommandAreaOwner& operator=(const CommandAreaOwner&) = delete;

    /// Creates (or reuses) the object and maps it, zero-filled; false on failure.
    bool Create();
    bool IsOpen() const { return m_bytes != nullptr; }
    const std::uint8_t* Bytes() const { return m_bytes; }
    std::uint8_t* Bytes() { return m_bytes; }
    const QByteArray& Name() const { return m_name; }
    /// A copy of the 32 bytes (empty when not open).
    QByteArray Snapshot() const;

private:
    QByteArray m_name;
    std::uint8_t* m_bytes = nullptr;
};

} // namespace md::host
