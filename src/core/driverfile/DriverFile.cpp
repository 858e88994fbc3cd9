#include "driverfile/DriverFile.h"

#include "driverfile/DriverFileSection.h"
#include "io/ByteReader.h"
#include "io/ByteWriter.h"
#include "io/FileIo.h"
#include "platform/Clock.h"
#include "platform/Guids.h"

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

std::optional<std::vector<std::uint8_t>> DriverFile::Build(const VersionWords& version,
                                                           const Sections& sections, Guids& guids,
                                                           const Clock& clock, Result& result)
{
    result = {};
    ByteWriter out;
    // Byte by byte: GCC 12 misreports a range insert into an empty vector.
    for (char c : std::string_view(kMark))
        out.U8(static_cast<std::uint8_t>(c));
    out.U32(version.major);
    out.U32(version.minor);
    out.U32(version.build);
    std::array<std::uint64_t, kSectionCount + 1> table{};
    for (int i = 0; i < kSectionCount; ++i) {
        table[i] = out.Size();
        std::string error;
        if (sections[i] == nullptr || !sections[i]->Write(out, error)) {
            result = {false, i, out.Size(),
                      std::string(SectionName(i)) +
                          " section: " + (error.empty() ? "cannot be written" : error)};
            return std::nullopt;
        }
    }
    table[kSectionCount] = out.Size();
    for (std::uint64_t position : table)
        out.U64(position);
    std::array<std::uint8_t, kIdentitySize> identity{};
    const std::string text = IdentityText(guids, clock);
    for (std::size_t i = 0; i < text.size() && i + 1 < identity.size(); ++i)
        identity[i] = static_cast<std::uint8_t>(text[i]);
    out.Bytes(identity);
    return out.Take();
}

DriverFile::Result DriverFile::Write(const std::filesystem::path& path, const VersionWords& version,
                                     const Sections& sections, Guids& guids, const Clock& clock)
{
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
    const auto bytes = fileio::ReadAll(path);
    if (!bytes)
        return {false, -1, 0, "cannot read " + path.string()};
    return Parse(*bytes, sections, version);
}

} // namespace md
