#include "driverfile/LayoutDataSection.h"

#include "driverfile/LayoutSectionData.h"

namespace md {

bool LayoutDataSection::Write(ByteWriter& out, std::string& error)
{
    return m_data.Write(out, m_codePage, error);
}

bool LayoutDataSection::Read(ByteReader& in, std::string& error)
{
    return m_data.Read(in, m_codePage, error);
}

} // namespace md
