#pragma once

#include "driverfile/DriverFileSection.h"

namespace md {

class CodePage;
struct LayoutSectionData;

/// Plain layout data as the container's layout section (the command-line tool's reader).
class LayoutDataSection final : public DriverFileSection
{
public:
    LayoutDataSection(LayoutSectionData& data, const CodePage& codePage)
        : m_data(data), m_codePage(codePage)
    {}

    bool Write(ByteWriter& out, std::string& error) override;
    bool Read(ByteReader& in, std::string& error) override;

private:
    LayoutSectionData& m_data;
    const CodePage& m_codePage;
};

} // namespace md
