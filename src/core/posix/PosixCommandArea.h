#pragma once

#include "core/platform/CommandArea.h"

#include <string>

namespace md {

/// The command area as a POSIX shared-memory object that the host created. Opens an existing
/// object only: the plug-in never creates the area.
class PosixCommandArea final : public CommandArea
{
public:
    explicit PosixCommandArea(std::string name);
    ~PosixCommandArea() override;
    PosixCommandArea(const PosixCommandArea&) = delete;
    PosixCommandArea& operator=(const PosixCommandArea&) = delete;

    /// Maps the area read-write; false when it does not exist or is too small.
    bool Open();
    void Close();

    bool IsOpen() const override { return m_bytes != nullptr; }
    std::span<std::uint8_t> Bytes() override;

private:
    std::string m_name;
    std::uint8_t* m_bytes = nullptr;
};

} // namespace md
