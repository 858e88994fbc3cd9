#include "core/design/PictureRecord.h"

#include "core/design/LightImage.h"
#include "core/io/ByteWriter.h"
#include "core/posix/CodePage.h"

#include <cstdint>
#include <limits>

namespace md {

bool WritePictureRecord(ByteWriter& out, const LightImage& image, const CodePage& codePage)
{
    const std::string name = codePage.FromUtf16(image.name);
    if (name.size() > std::numeric_limits<std::uint16_t>::max() ||
        image.bytes.size() > std::numeric_limits<std::uint32_t>::max())
        return false;
    out.U16(image.used);
    out.U16(image.id);
    out.U16(static_cast<std::uint16_t>(name.size()));
    out.Ascii(name);
    out.U32(image.Length());
    out.Bytes(image.bytes);
    return true;
}

} // namespace md
