#include "core/driverfile/SocketSection.h"

#include "core/design/SocketDesign.h"
#include "core/io/ByteReader.h"
#include "core/io/ByteWriter.h"
#include "core/io/FileIo.h"
#include "core/platform/PictureCodec.h"

namespace md {

void SocketSection::WriteBody(const SocketDesign& socket, ByteWriter& out)
{
    out.Ascii(kId);
    out.U16(socket.PinCount());
    out.U16(socket.ScanRows());
    for (const auto& pin : socket.Pins())
        out.U8(static_cast<std::uint8_t>(pin.code));
}

bool SocketSection::Write(ByteWriter& out, std::string& error)
{
    if (m_socket.Pins().size() != m_socket.PinCount()) {
        error = "pin array does not match the pin count";
        return false;
    }
    WriteBody(m_socket, out);
    return true;
}

bool SocketSection::Read(ByteReader& in, std::string& error)
{
    if (!in.Expect(kId)) {
        error = "identifier mismatch";
        return false;
    }
    std::uint16_t pinCount = 0, scanRows = 0;
    if (!in.U16(pinCount) || !in.U16(scanRows) || !in.CanHold(pinCount, 1)) {
        error = "truncated pin list";
        return false;
    }
    int boxWidth = SocketDesign::kPinBox, boxHeight = SocketDesign::kPinBox;
    if (m_codec) {
        PictureSize size;
        const auto frame = fileio::ReadAll(m_socket.PictureFolder() / "frame_background.bmp");
        if (frame && m_codec->Decode(*frame, size)) {
            boxWidth = size.width;
            boxHeight = size.height;
        }
    }
    m_socket.LayOut(pinCount, scanRows, boxWidth, boxHeight);
    for (auto& pin : m_socket.Pins()) {
        std::uint8_t code = 0;
        in.U8(code);
        const int picture = SocketDesign::PictureOfCode(code);
        if (picture < 0 || !m_codec) {
            pin.code = code;
            continue;
        }
        const auto bytes = fileio::ReadAll(m_socket.PicturePath(picture));
        if (!bytes)
            continue; // a missing picture leaves the pin unassigned
        PictureSize size;
        if (!m_codec->Decode(*bytes, size)) {
            error = "picture " + m_socket.PicturePath(picture).filename().string() +
                    " cannot be decoded";
            return false;
        }
        pin.code = code;
    }
    m_socket.SetDocumentState(SocketDesign::Loaded);
    return true;
}

} // namespace md
