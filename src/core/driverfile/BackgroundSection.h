#pragma once

#include "core/driverfile/DriverFileSection.h"

#include <string_view>

namespace md {

class BackgroundDesign;
class CodePage;
class PictureCodec;

/// The background section of a driver file: identifier, the two marker points and the
/// background picture entry with the picture file's bytes.
class BackgroundSection final : public DriverFileSection
{
public:
    static constexpr std::string_view kId = "1AA84514-4D4D-4e2d-9E09-A7436B3E04C5";

    /// codec: checks that a stored picture decodes; a picture it refuses fails the load.
    BackgroundSection(BackgroundDesign& design, const CodePage& codePage, const PictureCodec& codec)
        : m_design(design), m_codePage(codePage), m_codec(codec)
    {}

    bool Write(ByteWriter& out, std::string& error) override;
    /// A picture length of 0 keeps the current picture.
    bool Read(ByteReader& in, std::string& error) override;
    std::size_t SizeHint() const override;

private:
    BackgroundDesign& m_design;
    const CodePage& m_codePage;
    const PictureCodec& m_codec;
};

} // namespace md
