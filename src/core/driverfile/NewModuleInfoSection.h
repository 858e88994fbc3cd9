#pragma once

#include "core/driverfile/DriverFileSection.h"

#include <string_view>

namespace md {

class CodePage;
struct NewModuleInfoRecord;

/// The module information section of a driver file: its identifier, the four numbers, the
/// module name and the two chips, names in the system code page.
class NewModuleInfoSection final : public DriverFileSection
{
public:
    static constexpr std::string_view kId = "70ABEE71-F4AB-4c5c-87F8-3C064AB39FE7";

    NewModuleInfoSection(NewModuleInfoRecord& record, const CodePage& codePage)
        : m_record(record), m_codePage(codePage)
    {}

    bool Write(ByteWriter& out, std::string& error) override;
    /// Fills the record as it reads; a failure leaves the fields read so far changed.
    bool Read(ByteReader& in, std::string& error) override;

private:
    NewModuleInfoRecord& m_record;
    const CodePage& m_codePage;
};

} // namespace md
