#include "core/driverfile/DriverFileContents.h"

#include "core/driverfile/BackgroundSection.h"
#include "core/driverfile/LayoutDesignSection.h"
#include "core/driverfile/NewModuleInfoSection.h"
#include "core/driverfile/SocketSection.h"
#include "core/io/ByteReader.h"
#include "core/io/PictureHeaderCodec.h"

namespace md {

namespace {

/// Records where each section starts, to check the table against.
class PositionedSection final : public DriverFileSection
{
public:
    PositionedSection(DriverFileSection& inner, std::uint64_t& start, std::uint64_t& end)
        : m_inner(inner), m_start(start), m_end(end)
    {}
    bool Write(ByteWriter& out, std::string& error) override { return m_inner.Write(out, error); }
    bool Read(ByteReader& in, std::string& error) override
    {
        m_start = in.Offset();
        const bool ok = m_inner.Read(in, error);
        m_end = in.Offset();
        return ok;
    }

private:
    DriverFileSection& m_inner;
    std::uint64_t& m_start;
    std::uint64_t& m_end;
};

} // namespace

bool DriverFileContents::Parse(std::span<const std::uint8_t> bytes, const CodePage& codePage,
                               std::string& error)
{
    static const PictureHeaderCodec codec;
    NewModuleInfoSection info(moduleInfo, codePage);
    SocketSection socketSection(socket, nullptr);
    LayoutDesignSection layoutSection(layout, codePage);
    BackgroundSection backgroundSection(background, codePage, codec);
    std::array<std::uint64_t, 5> starts{};
    std::uint64_t end = 0;
    PositionedSection s0(info, starts[0], end), s1(socketSection, starts[1], end),
        s2(layoutSection, starts[2], end), s3(backgroundSection, starts[3], end);
    const auto result = DriverFile::Parse(bytes, {&s0, &s1, &s2, &s3}, &version);
    if (!result) {
        error = result.message;
        return false;
    }
    // The table and the identity block follow the background section and end the file.
    const std::size_t tableAt = end;
    starts[4] = end;
    if (bytes.size() != tableAt + DriverFile::kTableSize + DriverFile::kIdentitySize) {
        error = "section table at offset " + std::to_string(tableAt) + ": expected " +
                std::to_string(DriverFile::kTableSize + DriverFile::kIdentitySize) +
                " bytes of table and identity, found " + std::to_string(bytes.size() - tableAt);
        return false;
    }
    ByteReader in(bytes);
    in.Seek(tableAt);
    for (auto& entry : sectionTable)
        in.U64(entry);
    for (std::size_t i = 0; i < starts.size(); ++i)
        if (sectionTable[i] != starts[i]) {
            error = "section table at offset " + std::to_string(tableAt) + ": entry " +
                    std::to_string(i) + " is " + std::to_string(sectionTable[i]) + ", expected " +
                    std::to_string(starts[i]);
            return false;
        }
    std::span<const std::uint8_t> block;
    in.Bytes(DriverFile::kIdentitySize, block);
    identity.clear();
    for (std::uint8_t c : block) {
        if (c == 0)
            break;
        if (c < 0x20 || c > 0x7E) {
            error = "identity block at offset " + std::to_string(tableAt + 40) + ": not ASCII text";
            return false;
        }
        identity.push_back(static_cast<char>(c));
    }
    return true;
}

} // namespace md
