#include "core/driverfile/DriverFile.h"

#include "core/driverfile/DriverFileSection.h"
#include "core/io/ByteReader.h"
#include "core/io/ByteWriter.h"
#include "core/io/FileIo.h"
#include "core/platform/Clock.h"
#include "core/platform/Guids.h"

#include <cctype>

namespace md {

namespace {

bool LooksLikeGuid(const std::string& text)
{
    if (text.size() != 36)
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
        if (dash ? text[i] != '-' : !std::isxdigit(static_cast<unsigned char>(text[i])))
            return false;
    }
    return true;
}

} // namespace

const char* DriverFile::SectionName(int section)
{
    switch (section) {
    case ModuleInfo:
        return "module information";
    case Socket:
        return "socket";
    case Layout:
        return "layout";
    case Background:
        return "background";
    default:
        return "header";
    }
}

std::string DriverFile::IdentityText(Guids& guids, const Clock& clock)
{
    std::string guid = guids.NewGuid();
    if (LooksLikeGuid(guid)) {
        for (char& c : guid)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return "{" + guid + "}";
    }
    return std::to_string(clock.TickCount());
}

namespace {

/// Header, sections, section table and identity, appended to out; false when a section fails.
bool WriteFile(ByteWriter& out, const VersionWords& version, const DriverFile::Sections& sections,
               Guids& guids, const Clock& clock, DriverFile::Result& result)
{
    result = {};
    version.WriteHeader(out, DriverFile::kMark);
    std::array<std::uint64_t, DriverFile::kSectionCount + 1> table{};
    for (int i = 0; i < DriverFile::kSectionCount; ++i) {
        table[i] = out.Size();
        std::string error;
        if (sections[i] == nullptr || !sections[i]->Write(out, error)) {
            result = {false, i, out.Size(),
                      std::string(DriverFile::SectionName(i)) +
                          " section: " + (error.empty() ? "cannot be written" : error)};
            return false;
        }
    }
    table[DriverFile::kSectionCount] = out.Size();
    for (std::uint64_t position : table)
        out.U64(position);
    std::array<std::uint8_t, DriverFile::kIdentitySize> identity{};
    const std::string text = DriverFile::IdentityText(guids, clock);
    for (std::size_t i = 0; i < text.size() && i + 1 < identity.size(); ++i)
        identity[i] = static_cast<std::uint8_t>(text[i]);
    out.Bytes(identity);
    return true;
}

} // namespace

std::optional<std::vector<std::uint8_t>> DriverFile::Build(const VersionWords& version,
                                                           const Sections& sections, Guids& guids,
                                                           const Clock& clock, Result& result)
{
    ByteWriter out;
    // One buffer for the whole file: growing it section by section would copy the layout again.
    std::size_t expected = kHeaderSize + kTableSize + kIdentitySize;
    for (const DriverFileSection* section : sections)
        expected += section ? section->SizeHint() : 0;
    out.Reserve(expected);
    if (!WriteFile(out, version, sections, guids, clock, result))
        return std::nullopt;
    return out.Take();
}

DriverFile::Result DriverFile::Write(const std::filesystem::path& path, const VersionWords& version,
                                     const Sections& sections, Guids& guids, const Clock& clock)
{
    // One buffer of the whole file and one write: writing it in pieces costs the kernel more
    // than the buffer costs us (measured in the driver-file benchmark).
    Result result;
    auto bytes = Build(version, sections, guids, clock, result);
    if (!bytes)
        return result;
    if (!fileio::WriteAtomic(path, *bytes))
        return {false, -1, 0, "cannot write " + path.string()};
    return result;
}

DriverFile::Result DriverFile::Parse(std::span<const std::uint8_t> bytes, const Sections& sections,
                                     VersionWords* version)
{
    ByteReader in(bytes);
    if (!in.Expect(kMark))
        return {false, -1, 0, "not a driver file (no .MDR mark)"};
    VersionWords words;
    if (!in.U32(words.major) || !in.U32(words.minor) || !in.U32(words.build))
        return {false, -1, in.Offset(), "header: truncated version words"};
    if (version)
        *version = words;
    for (int i = 0; i < kSectionCount; ++i) {
        const std::size_t start = in.Offset();
        std::string error;
        const bool ok = sections[i] != nullptr && sections[i]->Read(in, error) && in.Ok();
        if (!ok) {
            if (error.empty())
                error = "truncated or damaged";
            return {false, i, start,
                    std::string(SectionName(i)) + " section at offset " + std::to_string(start) +
                        ": " + error};
        }
    }
    return {};
}

DriverFile::Result DriverFile::Read(const std::filesystem::path& path, const Sections& sections,
                                    VersionWords* version)
{
    const fileio::MappedFile mapped(path);
    if (mapped.IsMapped())
        return Parse(mapped.Bytes(), sections, version);
    // Not a regular file, or empty: read what there is.
    const auto bytes = fileio::ReadAll(path);
    if (!bytes)
        return {false, -1, 0, "cannot read " + path.string()};
    return Parse(*bytes, sections, version);
}

} // namespace md
