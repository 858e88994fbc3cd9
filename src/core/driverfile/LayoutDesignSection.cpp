#include "driverfile/LayoutDesignSection.h"

#include "driverfile/LayoutSectionData.h"
#include "layout/LayoutArchive.h"

namespace md {

bool LayoutDesignSection::Write(ByteWriter& out, std::string& error)
{
    if (m_design.points.size() > LayoutSectionData::kMaxGridPoints) {
        error = "grid of " + std::to_string(m_design.points.size()) +
                " pixels exceeds the 65535 points a layout can store";
        return false;
    }
    if (!WriteLayoutSection(m_design, out, m_codePage)) {
        error = "a count of the layout exceeds its 16-bit field";
        return false;
    }
    return true;
}

bool LayoutDesignSection::Read(ByteReader& in, std::string& error)
{
    return ReadLayoutSection(in, m_design, m_codePage, error);
}

} // namespace md
