#include "core/driverfile/NewModuleInfoSection.h"

#include "core/design/NewModuleInfoRecord.h"
#include "core/io/ByteReader.h"
#include "core/io/ByteWriter.h"
#include "core/posix/CodePage.h"

#include <limits>

namespace md {

namespace {

bool WriteName(ByteWriter& out, const CodePage& codePage, const std::u16string& name,
               std::string& error)
{
    const std::string bytes = codePage.FromUtf16(name);
    if (bytes.size() > std::numeric_limits<std::uint16_t>::max()) {
        error = "name longer than 65535 bytes";
        return false;
    }
    out.U16(static_cast<std::uint16_t>(bytes.size()));
    out.Ascii(bytes);
    return true;
}

bool ReadName(ByteReader& in, const CodePage& codePage, std::u16string& name, std::string& error)
{
    std::uint16_t length = 0;
    std::span<const std::uint8_t> bytes;
    if (!in.U16(length) || !in.Bytes(length, bytes)) {
        error = "truncated name";
        return false;
    }
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    auto decoded = codePage.ToUtf16(text);
    if (!decoded) {
        error = "name not valid in code page " + codePage.Name();
        return false;
    }
    name = std::move(*decoded);
    return true;
}

void WriteChip(ByteWriter& out, const NewModuleInfoRecord::Chip& chip)
{
    out.U32(chip.kind);
    out.U32(chip.chipType);
    out.U32(chip.value);
}

bool ReadChip(ByteReader& in, const CodePage& codePage, NewModuleInfoRecord::Chip& chip,
              std::string& error)
{
    if (!in.U32(chip.kind) || !in.U32(chip.chipType) || !in.U32(chip.value)) {
        error = "truncated chip";
        return false;
    }
    return ReadName(in, codePage, chip.name, error);
}

} // namespace

bool NewModuleInfoSection::Write(ByteWriter& out, std::string& error)
{
    out.Ascii(kId);
    out.U16(m_record.pinCount);
    out.U16(m_record.scanRows);
    out.U16(m_record.xPixels);
    out.U16(m_record.yPixels);
    if (!WriteName(out, m_codePage, m_record.ModuleName(), error))
        return false;
    WriteChip(out, m_record.driverChip);
    if (!WriteName(out, m_codePage, m_record.driverChip.name, error))
        return false;
    WriteChip(out, m_record.scanChip);
    return WriteName(out, m_codePage, m_record.scanChip.name, error);
}

bool NewModuleInfoSection::Read(ByteReader& in, std::string& error)
{
    if (!in.Expect(kId)) {
        error = "identifier mismatch";
        return false;
    }
    if (!in.U16(m_record.pinCount) || !in.U16(m_record.scanRows) || !in.U16(m_record.xPixels) ||
        !in.U16(m_record.yPixels)) {
        error = "truncated numbers";
        return false;
    }
    std::u16string name;
    if (!ReadName(in, m_codePage, name, error))
        return false;
    m_record.SetModuleName(name);
    if (!ReadChip(in, m_codePage, m_record.driverChip, error) ||
        !ReadChip(in, m_codePage, m_record.scanChip, error))
        return false;
    m_record.confirmed = 1;
    return true;
}

} // namespace md
