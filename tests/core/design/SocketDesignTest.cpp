#include "../driverfile/KnownDesign.h"
#include "core/support/FakePorts.h"

#include "core/design/SocketDesign.h"
#include "core/design/SocketToolbarState.h"
#include "core/driverfile/SocketFile.h"
#include "core/driverfile/SocketSection.h"
#include "core/driverfile/VersionWords.h"
#include "core/io/ByteReader.h"
#include "core/io/ByteWriter.h"
#include "core/io/FileIo.h"
#include "core/platform/FileChooser.h"
#include "core/platform/Texts.h"

#include <gtest/gtest.h>

namespace md {
namespace {

/// A socket folder with every type picture, so assignments can succeed.
struct SocketFixture : ::testing::Test
{
    std::filesystem::path folder = test::TempFolder("socket");
    SocketDesign socket;
    int notifications = 0;

    SocketFixture()
    {
        for (int i = 0; i <= 13; ++i)
            test::WriteFile(folder / ("socket_frame_background_" + std::to_string(i) + ".bmp"),
                            "PIC");
        socket.SetPictureFolder(folder);
        socket.Changes().Connect([this] { ++notifications; });
    }
    ~SocketFixture() override { std::filesystem::remove_all(folder); }

    bool AssignTo(int pin, int type)
    {
        socket.Select(pin);
        return socket.Assign(type);
    }
};

// The frame's size and a click on a pin are checked through the socket page.
TEST_F(SocketFixture, NewSocketLaysPinsOutInTwoColumns)
{
    socket.NewSocket(5, 8, 40, 30);
    const auto& pins = socket.Pins();
    EXPECT_EQ((std::array{pins[3].left, pins[3].top, pins[3].right, pins[3].bottom}),
              (std::array{90, 30, 130, 60}));
    EXPECT_EQ(pins[4].left, 50);
    EXPECT_EQ(socket.PinAt(10, 10), -1);
}

TEST_F(SocketFixture, AssignKeepsSignalsUniqueAndLimitsCodeFifteen)
{
    socket.NewSocket(30, 8);
    EXPECT_FALSE(socket.Assign(1)); // nothing selected
    EXPECT_TRUE(AssignTo(0, 1));    // 16
    EXPECT_TRUE(AssignTo(1, 2));    // 47
    EXPECT_FALSE(socket.IsValid());
    EXPECT_TRUE(AssignTo(2, 3)); // 63
    EXPECT_TRUE(socket.IsValid());
    EXPECT_FALSE(AssignTo(3, 2)); // a second 47
    EXPECT_EQ(socket.Pins()[3].code, 255u);
    EXPECT_EQ(notifications, 4); // the new layout and each accepted signal; refusals say nothing
    EXPECT_EQ(socket.DocumentState(), SocketDesign::Changed);

    int fifteen = 0;
    for (int pin = 3; pin < 30; ++pin)
        fifteen += AssignTo(pin, 0) ? 1 : 0;
    EXPECT_EQ(fifteen, 25);
    EXPECT_TRUE(socket.IsValid());

    socket.Select(2);
    EXPECT_TRUE(socket.Command(SocketDesign::kClearCommand));
    EXPECT_EQ(socket.Pins()[2].code, 255u);
    EXPECT_FALSE(socket.IsValid());

    std::filesystem::remove(folder / "socket_frame_background_3.bmp");
    EXPECT_FALSE(AssignTo(2, 3)); // no picture for the type
}

TEST(SocketKeys, NavigateColumnsAndWrap)
{
    SocketDesign socket;
    socket.NewSocket(16, 8);
    socket.MoveSelection(SocketDesign::Key::Down);
    EXPECT_EQ(socket.Selected(), 0); // no selection: any key selects pin 0
    socket.MoveSelection(SocketDesign::Key::Up);
    EXPECT_EQ(socket.Selected(), 14);
    socket.Select(15);
    socket.MoveSelection(SocketDesign::Key::Down);
    EXPECT_EQ(socket.Selected(), 1);
    socket.MoveSelection(SocketDesign::Key::Left);
    EXPECT_EQ(socket.Selected(), 0);
    socket.MoveSelection(SocketDesign::Key::Right);
    EXPECT_EQ(socket.Selected(), 1);

    socket.NewSocket(5, 8);
    socket.Select(1);
    socket.MoveSelection(SocketDesign::Key::Up);
    EXPECT_EQ(socket.Selected(), 3);
    socket.Select(0);
    socket.MoveSelection(SocketDesign::Key::Up);
    EXPECT_EQ(socket.Selected(), 4);
    socket.MoveSelection(SocketDesign::Key::Right); // pin 5 does not exist
    EXPECT_EQ(socket.Selected(), 4);
}

TEST(SocketToolbar, ButtonsFollowScanChipTypeAndScanRows)
{
    auto enabled = [](std::uint32_t chipType, int rows) {
        std::string bits;
        for (bool on : SocketToolbarState::ForModule(chipType, rows).enabled)
            bits += on ? '1' : '0';
        return bits;
    };
    EXPECT_EQ(enabled(1, 16), "111100001111");
    EXPECT_EQ(enabled(0, 1), "111100000001");
    EXPECT_EQ(enabled(0, 2), "111110000001");
    EXPECT_EQ(enabled(0, 4), "111111000001");
    EXPECT_EQ(enabled(0, 5), "111111100001");
    EXPECT_EQ(enabled(0, 32), "111111110001");
    EXPECT_FALSE(SocketToolbarState::AllDisabled().IsEnabled(0x1000C));
}

class ScriptedChooser final : public FileChooser
{
public:
    std::optional<std::filesystem::path> answer;
    std::vector<FileRequest> asked;
    std::optional<std::filesystem::path> ChooseOpen(const FileRequest&) override { return {}; }
    std::optional<std::filesystem::path> ChooseSave(const FileRequest& request) override
    {
        asked.push_back(request);
        return answer;
    }
};

TEST_F(SocketFixture, SaveEntryPointsReturnTheirOwnCodes)
{
    ScriptedChooser chooser;
    test::MapTexts texts;
    texts.texts["ID_SOCKET_FILE"] = u"Socket";
    texts.texts["ID_SAVE_SOCKET_FILE"] = u"Save socket";
    const VersionWords version{1, 0, 0};
    int sent = 0;
    SocketFile::Context context{chooser, texts, version, u"P10RGB", [&] { ++sent; }};

    socket.NewSocket(4, 8);
    EXPECT_EQ(SocketFile::Save(socket, context), 3);
    EXPECT_EQ(SocketFile::SaveAs(socket, context), 2);
    AssignTo(0, 1);
    AssignTo(1, 2);
    AssignTo(2, 3);

    EXPECT_EQ(SocketFile::Save(socket, context), 0); // cancelled
    ASSERT_EQ(chooser.asked.size(), 1u);
    EXPECT_EQ(chooser.asked[0].defaultName, u"P10RGB.mjk");
    EXPECT_EQ(chooser.asked[0].filter, u"Socket(.mjk)|*.mjk||");
    EXPECT_EQ(chooser.asked[0].title, u"Save socket");
    EXPECT_FALSE(chooser.asked[0].promptOverwrite);
    EXPECT_EQ(sent, 0);

    chooser.answer = folder / "missing" / "x.mjk";
    EXPECT_EQ(SocketFile::Save(socket, context), 2);
    EXPECT_EQ(SocketFile::SaveAs(socket, context), 3);
    EXPECT_TRUE(socket.FilePath().empty());

    chooser.answer = folder / "x.mjk";
    EXPECT_EQ(SocketFile::SaveAs(socket, context), 0);
    EXPECT_TRUE(chooser.asked.back().promptOverwrite);
    EXPECT_EQ(socket.FilePath(), folder / "x.mjk");
    EXPECT_EQ(fileio::ReadAll(folder / "x.mjk")->size(), 60u);
    EXPECT_EQ(sent, 1);
    // With a stored path no dialog is shown.
    const auto asked = chooser.asked.size();
    EXPECT_EQ(SocketFile::Save(socket, context), 0);
    EXPECT_EQ(chooser.asked.size(), asked);
}

TEST_F(SocketFixture, LoadingTakesCodesOverAsThePicturesAllow)
{
    SocketDesign source;
    source.NewSocket(5, 4);
    const std::uint32_t codes[] = {16, 47, 68, 200, 63};
    for (int i = 0; i < 5; ++i)
        source.Pins()[static_cast<std::size_t>(i)].code = codes[i];
    ByteWriter out;
    SocketSection::WriteBody(source, out);

    test::PrefixCodec codec;
    std::filesystem::remove(folder / "socket_frame_background_3.bmp"); // the picture of 63
    SocketSection withWindow(socket, &codec);
    ByteReader in(out.Data());
    std::string error;
    ASSERT_TRUE(withWindow.Read(in, error)) << error;
    std::vector<std::uint32_t> loaded;
    for (const auto& pin : socket.Pins())
        loaded.push_back(pin.code);
    EXPECT_EQ(loaded, (std::vector<std::uint32_t>{16, 47, 68, 200, 255}));
    EXPECT_EQ(socket.DocumentState(), SocketDesign::Loaded);

    SocketDesign plain;
    SocketSection noWindow(plain, nullptr);
    ByteReader again(out.Data());
    ASSERT_TRUE(noWindow.Read(again, error));
    EXPECT_EQ(plain.Pins()[4].code, 63u);

    test::WriteFile(folder / "socket_frame_background_2.bmp", "garbage");
    ByteReader third(out.Data());
    EXPECT_FALSE(withWindow.Read(third, error));
    EXPECT_NE(error.find("socket_frame_background_2.bmp"), std::string::npos);
}

} // namespace
} // namespace md
