#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace md {

/// The controller's 32-byte command area, written without locks by the user-interface thread.
class CommandArea
{
public:
    static constexpr std::size_t kSize = 32;

    virtual ~CommandArea() = default;
    virtual bool IsOpen() const = 0;
    /// The mapped bytes; empty when the area is not open.
    virtual std::span<std::uint8_t> Bytes() = 0;
};

} // namespace md
