#include "core/controller/CommandChannel.h"
#include "core/controller/CommandWords.h"
#include "core/platform/Profile.h"
#include "core/posix/PosixCommandArea.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace md {
namespace {

using Bytes = std::vector<std::uint8_t>;

class FixedProfile final : public Profile
{
public:
    explicit FixedProfile(int start) : m_start(start) {}
    int GetInt(std::string_view section, std::string_view key, int fallback) const override
    {
        return section == "app" && key == "start" && m_start ? m_start : fallback;
    }
    bool SetInt(std::string_view, std::string_view, int) override { return false; }

private:
    int m_start;
};

/// A real shared-memory object created the way the host creates the command area, filled with
/// a marker byte so that untouched offsets can be checked.
class SharedArea
{
public:
    SharedArea()
        : m_name("/md_cmd_test_" + std::to_string(getpid()) + "_" + std::to_string(++s_serial))
    {
        const int fd = shm_open(m_name.c_str(), O_CREAT | O_EXCL | O_RDWR, 0600);
        EXPECT_GE(fd, 0);
        EXPECT_EQ(ftruncate(fd, CommandArea::kSize), 0);
        void* view = mmap(nullptr, CommandArea::kSize, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        close(fd);
        m_view = static_cast<std::uint8_t*>(view);
        std::fill(m_view, m_view + CommandArea::kSize, 0xEE);
    }
    ~SharedArea()
    {
        munmap(m_view, CommandArea::kSize);
        shm_unlink(m_name.c_str());
    }
    const std::string& Name() const { return m_name; }
    Bytes Range(std::size_t from, std::size_t count) const
    {
        return Bytes(m_view + from, m_view + from + count);
    }

private:
    static inline int s_serial = 0;
    std::string m_name;
    std::uint8_t* m_view = nullptr;
};

Bytes Of(const std::array<std::uint8_t, 4>& word)
{
    return Bytes(word.begin(), word.end());
}

TEST(CommandChannelTest, WritesOnlyItsOwnBytesOfASharedArea)
{
    SharedArea shared;
    PosixCommandArea area(shared.Name());
    CommandChannel channel;
    ASSERT_TRUE(channel.Open(FixedProfile(0), area, [&] { return area.Open(); }));

    channel.WriteParameters(0x13, 2, 5, 3);
    channel.MarkWizardStart();
    channel.Send({{0xA0, 0x01, 0x02, 0x03}, {0x03, 0xFF, 0x08, 0x47}});
    EXPECT_EQ(shared.Range(0, 1), Bytes{1});
    EXPECT_EQ(shared.Range(21, 3), (Bytes{0x03, 0x52, 'D'}));
    EXPECT_EQ(shared.Range(24, 8), (Bytes{0xA0, 1, 2, 3, 0x03, 0xFF, 0x08, 0x47}));
    // Bytes of the other side stay as they were.
    EXPECT_EQ(shared.Range(1, 20), Bytes(20, 0xEE));

    channel.MarkWizardEnd();
    EXPECT_EQ(shared.Range(0, 8), (Bytes{0, 0xEE, 0xEE, 0xEE, 100, 0, 0, 0}));
}

TEST(CommandChannelTest, StaysClosedAndSilentWithoutAnArea)
{
    SharedArea shared;
    PosixCommandArea area(shared.Name());
    CommandChannel channel;
    EXPECT_FALSE(channel.Open(FixedProfile(CommandChannel::kNoAreaStart), area,
                              [&] { return area.Open(); }));
    EXPECT_FALSE(area.IsOpen());

    PosixCommandArea missing("/md_cmd_test_missing_" + std::to_string(getpid()));
    EXPECT_FALSE(channel.Open(FixedProfile(0), missing, [&] { return missing.Open(); }));

    std::vector<CommandPair> tapped;
    channel.SetTap([&](const CommandPair& pair) { tapped.push_back(pair); });
    channel.MarkWizardStart();
    channel.Send({{0xA0, 0, 0, 0}, {0, 0, 0, 1}});
    EXPECT_EQ(shared.Range(0, 32), Bytes(32, 0xEE));
    EXPECT_EQ(tapped.size(), 1u);
}

TEST(CommandWordsTest, ControlWordKeepsPolarityUnderTheMarkerByte)
{
    EXPECT_EQ(Of(commandwords::ControlWord(0x7F123456)), (Bytes{0xA0, 0x12, 0x34, 0x56}));
    EXPECT_EQ(Of(commandwords::ControlWord(0xFF00020A, 5)), (Bytes{0xA5, 0x05, 0x02, 0x0A}));
    EXPECT_EQ(Of(commandwords::ControlWord(0x0000020A, 16)), (Bytes{0xA0, 0x10, 0x02, 0x0A}));
    EXPECT_EQ(Of(commandwords::ControlWord(0x0000020A, 0)), (Bytes{0xA0, 0x00, 0x02, 0x0A}));
}

// The step patterns themselves are checked as the wizard sends them; here the rules that
// choose their row count and line number, and what the lighting command's row count becomes.
TEST(CommandWordsTest, RowCountsAndLineNumbersOfThePatterns)
{
    EXPECT_EQ(commandwords::WizardRowCount(0, 0), 16u);
    EXPECT_EQ(commandwords::WizardRowCount(32, 0x0100), 32u);
    EXPECT_EQ(commandwords::WizardRowCount(32, 0xA000), 4u);
    EXPECT_EQ(commandwords::WizardRowCount(0, 0x5123), 4u);
    EXPECT_EQ(commandwords::WizardRowCount(8, 0x6000), 8u);

    const std::uint32_t p = 0x00010A02;
    EXPECT_EQ(Of(commandwords::Step4Line(p, 8, 1).word2), (Bytes{0x03, 0xFF, 0x08, 0x17}));
    EXPECT_EQ(Of(commandwords::Step4Line(p, 16, 4).word2), (Bytes{0x03, 0xFF, 0x10, 0x87}));

    // The HUB address command carries only the 16-bit stored polarities.
    const CommandPair hub = commandwords::HubAddress(0x0A02, 0x0100, 16, 3, 5);
    EXPECT_EQ(Of(hub.word1), (Bytes{0xA0, 0x00, 0x0B, 0x02}));
    EXPECT_EQ(Of(hub.word2), (Bytes{0x17, 0xFF, 0x70, 0xFB}));

    EXPECT_EQ(commandwords::LightingRows(16, 0), 16u);
    EXPECT_EQ(commandwords::LightingRows(16, 15), 16u);
    EXPECT_EQ(commandwords::LightingRows(8, 3), 8u);
    EXPECT_EQ(commandwords::LightingRows(8, 8), 16u);
    EXPECT_EQ(commandwords::LightingRows(16, 16), 17u);
    EXPECT_EQ(commandwords::LightingRows(8, 20), 21u);
    // Without a row index the polarity fills the word; position and group keep to their bits.
    const CommandPair none = commandwords::PointLighting(0x00AB0102, std::nullopt, 8, 0x3FF, 63);
    EXPECT_EQ(Of(none.word1), (Bytes{0xA0, 0xAB, 0x01, 0x02}));
    EXPECT_EQ(Of(none.word2), (Bytes{0xFF, 0xFF, 0x08, 0xF1}));
}

} // namespace
} // namespace md
