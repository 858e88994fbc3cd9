#pragma once

namespace md {

class ByteWriter;
class CodePage;
struct LightImage;

/// Appends a picture record as the layout and background sections store it: used flag, id,
/// the name in the code page with its 16-bit length, the 32-bit picture length and the bytes.
/// False, with nothing appended, when the name or the picture does not fit its length field.
bool WritePictureRecord(ByteWriter& out, const LightImage& image, const CodePage& codePage);

} // namespace md
