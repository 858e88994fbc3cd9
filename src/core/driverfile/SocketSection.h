#pragma once

#include "core/driverfile/DriverFileSection.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace md {

class PictureCodec;
class SocketDesign;

/// The socket section of a driver file: identifier, pin count, scan rows, one code per pin.
/// Loading lays the pins out again and takes each code over as the frame pictures allow.
class SocketSection final : public DriverFileSection
{
public:
    static constexpr std::string_view kId = "094D7714-905C-4b37-AF57-DB3A8624D4AB";

    /// codec: decodes the frame pictures when the frame view has a window; without one the
    /// codes are taken as read and no picture is looked at.
    SocketSection(SocketDesign& socket, const PictureCodec* codec)
        : m_socket(socket), m_codec(codec)
    {}

    bool Write(ByteWriter& out, std::string& error) override;
    bool Read(ByteReader& in, std::string& error) override;

    /// The section's bytes (also the socket file's body from its offset 16).
    static void WriteBody(const SocketDesign& socket, ByteWriter& out);

private:
    SocketDesign& m_socket;
    const PictureCodec* m_codec;
};

} // namespace md
