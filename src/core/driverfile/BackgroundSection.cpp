#include "core/driverfile/BackgroundSection.h"

#include "core/design/BackgroundDesign.h"
#include "core/design/PictureRecord.h"
#include "core/io/ByteReader.h"
#include "core/io/ByteWriter.h"
#include "core/platform/PictureCodec.h"
#include "core/posix/CodePage.h"

#include <limits>

namespace md {

bool BackgroundSection::Write(ByteWriter& out, std::string& error)
{
    const std::size_t start = out.Size();
    out.Ascii(kId);
    out.I32(m_design.Point1().x);
    out.I32(m_design.Point1().y);
    out.I32(m_design.Point2().x);
    out.I32(m_design.Point2().y);
    if (!WritePictureRecord(out, m_design.Picture(), m_codePage)) {
        out.Truncate(start);
        error = "picture name or picture too long";
        return false;
    }
    return true;
}

std::size_t BackgroundSection::SizeHint() const
{
    return m_design.Picture().bytes.size() + 1024;
}

bool BackgroundSection::Read(ByteReader& in, std::string& error)
{
    if (!in.Expect(kId)) {
        error = "identifier mismatch";
        return false;
    }
    BackgroundDesign::Point p1, p2;
    if (!in.I32(p1.x) || !in.I32(p1.y) || !in.I32(p2.x) || !in.I32(p2.y)) {
        error = "truncated marker points";
        return false;
    }
    m_design.SetPoints(p1, p2);
    LightImage picture;
    std::uint16_t nameLength = 0;
    std::span<const std::uint8_t> nameBytes;
    if (!in.U16(picture.used) || !in.U16(picture.id) || !in.U16(nameLength) ||
        !in.Bytes(nameLength, nameBytes)) {
        error = "truncated picture entry";
        return false;
    }
    auto name = m_codePage.ToUtf16(
        std::string_view(reinterpret_cast<const char*>(nameBytes.data()), nameBytes.size()));
    if (!name) {
        error = "picture name not valid in code page " + m_codePage.Name();
        return false;
    }
    picture.name = std::move(*name);
    std::uint32_t length = 0;
    if (!in.U32(length) || !in.CanHold(length, 1)) {
        error = "truncated picture";
        return false;
    }
    if (length > 0) {
        in.Bytes(length, picture.bytes);
        PictureSize size;
        if (!m_codec.Decode(picture.bytes, size)) {
            error = "picture cannot be decoded";
            return false;
        }
    }
    // A section without picture bytes still names its picture: the used flag, id and name are
    // kept so that saving again writes the same section, and no other picture's bytes are kept
    // under this name.
    m_design.SetPicture(std::move(picture));
    m_design.SetLoaded();
    return true;
}

} // namespace md
