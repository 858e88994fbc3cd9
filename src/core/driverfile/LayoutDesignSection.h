#pragma once

#include "core/driverfile/DriverFileSection.h"

namespace md {

class CodePage;
struct LayoutDesign;

/// The layout section of the container: the design, the command-line tool and the tests all
/// read and write layouts through it.
class LayoutDesignSection final : public DriverFileSection
{
public:
    LayoutDesignSection(LayoutDesign& design, const CodePage& codePage)
        : m_design(design), m_codePage(codePage)
    {}

    /// Refuses, with a message, a layout whose counts do not fit the format (a grid of more than
    /// 65535 pixels is never wrapped).
    bool Write(ByteWriter& out, std::string& error) override;
    bool Read(ByteReader& in, std::string& error) override;
    std::size_t SizeHint() const override;

private:
    LayoutDesign& m_design;
    const CodePage& m_codePage;
};

} // namespace md
