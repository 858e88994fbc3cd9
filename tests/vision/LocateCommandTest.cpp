// mdrtool locate run as a process on pictures of a synthetic camera written as PNG and JPEG
// files: its lines, its exit codes and its messages.
#include "core/io/FileIo.h"
#include "core/io/PngWriter.h"
#include "core/io/RgbaImage.h"
#include "vision/support/SyntheticScene.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace md {
namespace {

namespace fs = std::filesystem;
using test::SceneSettings;
using test::SyntheticScene;

struct ToolRun
{
    int code = -1;
    std::vector<std::string> lines;
    std::string errors;
};

class LocateCommandTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_folder =
            fs::temp_directory_path() /
            ("md-locate-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + std::to_string(::getpid()));
        fs::create_directories(m_folder);
    }
    void TearDown() override { fs::remove_all(m_folder); }

    std::string WritePng(const std::string& name, const CameraFrame& frame)
    {
        std::vector<std::uint8_t> rgba;
        for (std::size_t i = 0; i < frame.rgb.size(); i += 3)
            rgba.insert(rgba.end(), {frame.rgb[i], frame.rgb[i + 1], frame.rgb[i + 2], 255});
        const std::string path = (m_folder / name).string();
        EXPECT_TRUE(fileio::WriteAtomic(
            path, PngWriter::Encode(RgbaImage(frame.width, frame.height, std::move(rgba)))));
        return path;
    }

    std::string WriteJpeg(const std::string& name, const CameraFrame& frame)
    {
        const QImage image(frame.rgb.data(), frame.width, frame.height, frame.width * 3,
                           QImage::Format_RGB888);
        const std::string path = (m_folder / name).string();
        EXPECT_TRUE(image.save(QString::fromStdString(path), "JPEG", 95));
        return path;
    }

    ToolRun Locate(const std::string& arguments)
    {
        const std::string errors = (m_folder / "errors.txt").string();
        const std::string command =
            std::string(MD_MDRTOOL) + " locate " + arguments + " 2>" + errors;
        ToolRun run;
        FILE* pipe = ::popen(command.c_str(), "r");
        char buffer[4096];
        std::string out;
        while (std::fgets(buffer, sizeof buffer, pipe))
            out += buffer;
        const int status = ::pclose(pipe);
        run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::istringstream lines(out);
        for (std::string line; std::getline(lines, line);)
            run.lines.push_back(line);
        std::ifstream in(errors);
        run.errors.assign(std::istreambuf_iterator<char>(in), {});
        return run;
    }

    fs::path m_folder;
};

TEST_F(LocateCommandTest, PrintsTheGridThenEachFramesPixelsAndExitCodes)
{
    SceneSettings settings;
    settings.frameWidth = 640;
    settings.frameHeight = 360;
    settings.moduleWidth = 32;
    settings.moduleHeight = 16;
    settings.turn = 180;
    SyntheticScene scene(settings);
    const std::string dark = WritePng("dark.png", scene.Dark());
    const std::string all = WritePng("all.png", scene.AllLit());
    const std::string one = WritePng("one.png", scene.Lit({{3, 2}}));
    const std::string two = WritePng("two.png", scene.Lit({{30, 15}, {8, 1}}));
    const std::string none = WritePng("none.png", scene.Dark());
    const std::string jpeg = WriteJpeg("one.jpg", scene.Lit({{17, 9}}));
    const std::string common = "--size 32x16 --all-lit " + all + " --dark " + dark;

    const ToolRun run = Locate(common + " --turn 180 " + one + " " + two + " " + none + " " + jpeg);
    ASSERT_EQ(run.code, 0) << run.errors;
    ASSERT_EQ(run.lines.size(), 5u);
    std::smatch grid;
    ASSERT_TRUE(std::regex_match(
        run.lines[0], grid,
        std::regex(R"(\{"grid": \{"fitError": ([0-9.]+), "pitch": ([0-9.]+)\}\})")));
    EXPECT_LT(std::stod(grid[1]), 0.1);
    EXPECT_NEAR(std::stod(grid[2]), scene.Pitch(), 0.05 * scene.Pitch());
    const std::string confidence = R"(, "confidence": (0\.[5-9][0-9]{2}|1\.000)\})";
    EXPECT_TRUE(std::regex_match(
        run.lines[1], std::regex(R"(\{"frame": ")" + one +
                                 R"(", "status": "located", "pixels": \[\[3, 2\]\])" + confidence)))
        << run.lines[1];
    EXPECT_TRUE(std::regex_match(
        run.lines[2],
        std::regex(R"(\{"frame": ")" + two +
                   R"(", "status": "located", "pixels": \[\[8, 1\], \[30, 15\]\])" + confidence)))
        << run.lines[2];
    EXPECT_TRUE(std::regex_match(
        run.lines[3],
        std::regex(R"(\{"frame": ")" + none +
                   R"(", "status": "none", "pixels": \[\], "confidence": [01]\.[0-9]{3}\})")))
        << run.lines[3];
    EXPECT_TRUE(std::regex_match(run.lines[4],
                                 std::regex(R"(\{"frame": ")" + jpeg +
                                            R"(", "status": "located", "pixels": \[\[17, 9\]\])" +
                                            confidence)))
        << run.lines[4];

    // Seen the wrong way round, the same pixel is another one: the turn is the user's to set.
    const ToolRun upright = Locate(common + " " + one);
    ASSERT_EQ(upright.code, 0) << upright.errors;
    EXPECT_NE(upright.lines[1].find("[[28, 13]]"), std::string::npos) << upright.lines[1];

    // A frame that cannot be read is named and fails the run; the others are still answered.
    const ToolRun missing =
        Locate(common + " --turn 180 " + fs::path(m_folder / "gone.png").string() + " " + one);
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.errors.find("gone.png: cannot be read"), std::string::npos);
    EXPECT_EQ(missing.lines.size(), 2u);
    const ToolRun notPicture = Locate(common + " " + fs::path(m_folder / "errors.txt").string());
    EXPECT_EQ(notPicture.code, 1);

    // No module in the all-lit picture.
    const ToolRun notFound =
        Locate("--size 32x16 --all-lit " + dark + " --dark " + dark + " " + one);
    EXPECT_EQ(notFound.code, 1);
    EXPECT_NE(notFound.errors.find("dark.png: the module was not found: nothing is lit"),
              std::string::npos)
        << notFound.errors;
    EXPECT_TRUE(notFound.lines.empty());

    // Malformed command lines.
    for (const std::string& bad :
         {"--size 32 --all-lit " + all + " --dark " + dark + " " + one,
          common + " --turn 45 " + one, "--size 32x16 --all-lit " + all + " " + one, common}) {
        const ToolRun refused = Locate(bad);
        EXPECT_EQ(refused.code, 2) << bad;
        EXPECT_NE(refused.errors.find("mdrtool locate: "), std::string::npos);
        EXPECT_TRUE(refused.lines.empty());
    }
}

} // namespace
} // namespace md
