#include "core/driverfile/LayoutDesignSection.h"

#include "core/layout/LayoutArchive.h"

namespace md {

bool LayoutDesignSection::Write(ByteWriter& out, std::string& error)
{
    if (m_design.points.size() > layoutarchive::kMaxPoints) {
        error = "grid of " + std::to_string(m_design.points.size()) +
                " pixels exceeds the 65535 points a layout can store";
        return false;
    }
    if (!WriteLayoutSection(m_design, out, m_codePage)) {
        error = "a count or length of the layout exceeds its field";
        return false;
    }
    return true;
}

std::size_t LayoutDesignSection::SizeHint() const
{
    return LayoutSectionSizeHint(m_design);
}

bool LayoutDesignSection::Read(ByteReader& in, std::string& error)
{
    return ReadLayoutSection(in, m_design, m_codePage, error);
}

} // namespace md
