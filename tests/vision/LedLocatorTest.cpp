// The LED locator on synthetic camera pictures with a lamp, a blinking status LED and a
// reflection of the lit LEDs beside the module, all brighter than the LEDs, and shake: it
// names exactly the lit pixels, says when nothing is lit, and asks for review rather than
// guessing.
#include "vision/LedLocator.h"
#include "vision/ModuleFinder.h"
#include "vision/support/SyntheticScene.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <utility>

namespace md {
namespace {

using test::ScenePixel;
using test::SceneSettings;
using test::SyntheticScene;

/// A scene with its grid found and a locator made from its dark frame.
struct Fixture
{
    explicit Fixture(const SceneSettings& settings) : scene(settings)
    {
        const CameraFrame dark = scene.Dark();
        const FinderResult found =
            ModuleFinder::Find(scene.AllLit(), dark, settings.moduleWidth, settings.moduleHeight,
                               {settings.turn, settings.mirror});
        EXPECT_TRUE(found.Found()) << found.Message();
        locator = std::make_unique<LedLocator>(found.grid, dark);
    }
    SyntheticScene scene;
    std::unique_ptr<LedLocator> locator;
};

std::vector<std::pair<int, int>> Pixels(const LocateResult& result)
{
    std::vector<std::pair<int, int>> pixels;
    for (const LocatedPixel& p : result.pixels)
        pixels.emplace_back(p.x, p.y);
    return pixels;
}

SceneSettings Moderate()
{
    return {}; // perspective 0.15, blur 1.5, noise 6, three distractors, shake 0.3
}

SceneSettings Hard()
{
    SceneSettings settings;
    settings.perspective = 0.30;
    settings.blur = 3;
    settings.noise = 12;
    settings.shake = 0.5;
    settings.seed = 5;
    return settings;
}

TEST(LocatorTest, NamesOneLitPixelAtTheGridsCornersAndMiddle)
{
    Fixture f(Moderate());
    for (const auto& [x, y] : {std::pair{0, 0}, {63, 0}, {63, 31}, {0, 31}, {31, 15}, {7, 30}}) {
        const LocateResult result = f.locator->Locate(f.scene.Lit({{x, y}}));
        ASSERT_EQ(result.status, LocateStatus::Located) << x << "," << y;
        EXPECT_EQ(Pixels(result), (std::vector<std::pair<int, int>>{{x, y}}));
        EXPECT_LT(result.pixels[0].cellDistance, 0.15);
        EXPECT_GT(result.confidence, 0.5);
        const GridPoint truth = f.scene.ToCamera({double(x), double(y)});
        EXPECT_NEAR(result.pixels[0].camera.x, truth.x, 2.0);
        EXPECT_NEAR(result.pixels[0].camera.y, truth.y, 2.0);
    }
}

TEST(LocatorTest, NamesPixelsOfATurnedAndMirroredModule)
{
    // Turned a quarter clockwise, the module's first pixel is seen at the upper right; mirrored
    // first, at the lower right.
    for (const bool mirror : {false, true}) {
        SceneSettings settings = Moderate();
        settings.turn = 90;
        settings.mirror = mirror;
        Fixture f(settings);
        const GridPoint first = f.scene.ToCamera({0, 0});
        EXPECT_GT(first.x, settings.frameWidth / 2);
        EXPECT_EQ(first.y < settings.frameHeight / 2, !mirror);
        for (const auto& [x, y] : {std::pair{0, 0}, {63, 0}, {2, 30}}) {
            const LocateResult result = f.locator->Locate(f.scene.Lit({{x, y}}));
            EXPECT_EQ(Pixels(result), (std::vector<std::pair<int, int>>{{x, y}})) << mirror;
        }
    }
}

TEST(LocatorTest, NamesSeveralLitPixelsSortedByRowThenColumn)
{
    Fixture f(Moderate());
    const LocateResult result = f.locator->Locate(f.scene.Lit({{40, 20}, {3, 5}, {10, 5}}));
    ASSERT_EQ(result.status, LocateStatus::Located);
    EXPECT_EQ(Pixels(result), (std::vector<std::pair<int, int>>{{3, 5}, {10, 5}, {40, 20}}));
}

TEST(LocatorTest, SaysNoneLitDespiteBrighterDistractorsAndShake)
{
    for (const SceneSettings& settings : {Moderate(), Hard()}) {
        Fixture f(settings);
        // The status LED blinks and the camera shakes from frame to frame.
        for (int i = 0; i < 20; ++i) {
            const LocateResult result = f.locator->Locate(f.scene.Dark());
            EXPECT_EQ(result.status, LocateStatus::NoneLit) << i;
            EXPECT_TRUE(result.pixels.empty());
        }
    }
}

TEST(LocatorTest, NeverNamesAWrongPixelOverManyShakenFrames)
{
    for (const SceneSettings& settings : {Moderate(), Hard()}) {
        Fixture f(settings);
        std::mt19937 random(settings.seed);
        std::uniform_int_distribution<int> x(0, 63), y(0, 31);
        int located = 0;
        const int frames = 100;
        for (int i = 0; i < frames; ++i) {
            const ScenePixel lit{x(random), y(random)};
            const LocateResult result = f.locator->Locate(f.scene.Lit({lit}));
            ASSERT_NE(result.status, LocateStatus::NoneLit) << lit.x << "," << lit.y;
            if (result.status != LocateStatus::Located)
                continue;
            ++located;
            ASSERT_EQ(Pixels(result), (std::vector<std::pair<int, int>>{{lit.x, lit.y}}));
        }
        EXPECT_GE(located, frames * 97 / 100);
    }
}

TEST(LocatorTest, NamesNeighboursLitTogetherOrAsksForReview)
{
    // Sharp, they are separate lights; blurred, they merge into one between or over cells,
    // which must never be taken for a single pixel.
    for (const SceneSettings& settings : {Moderate(), Hard()}) {
        Fixture f(settings);
        for (const std::vector<ScenePixel>& lit : {std::vector<ScenePixel>{{20, 10}, {21, 10}},
                                                   {{20, 10}, {21, 10}, {22, 10}},
                                                   {{5, 3}, {5, 4}, {5, 5}},
                                                   {{40, 20}, {41, 21}}}) {
            const LocateResult result = f.locator->Locate(f.scene.Lit(lit));
            ASSERT_NE(result.status, LocateStatus::NoneLit);
            if (result.status == LocateStatus::Review) {
                EXPECT_TRUE(result.pixels.empty());
                continue;
            }
            std::vector<std::pair<int, int>> expected;
            for (const ScenePixel& p : lit)
                expected.emplace_back(p.x, p.y);
            std::sort(expected.begin(), expected.end(), [](auto a, auto b) {
                return a.second != b.second ? a.second < b.second : a.first < b.first;
            });
            EXPECT_EQ(Pixels(result), expected) << settings.blur;
        }
    }
}

TEST(LocatorTest, AsksForReviewOfAFaintLight)
{
    SceneSettings settings = Moderate();
    settings.shake = 0;
    Fixture f(settings);
    // The module dimmed to a fifth: lit, but not clearly.
    CameraFrame frame = f.scene.Lit({{30, 12}});
    const CameraFrame dark = f.scene.Dark();
    for (std::size_t i = 0; i < frame.rgb.size(); ++i)
        frame.rgb[i] = std::uint8_t(dark.rgb[i] + std::max(0, frame.rgb[i] - dark.rgb[i]) / 5);
    const LocateResult result = f.locator->Locate(frame);
    EXPECT_EQ(result.status, LocateStatus::Review);
    EXPECT_EQ(result.reason, ReviewReason::LowContrast);
}

TEST(LocatorTest, AsksForReviewOfAFrameItCannotRead)
{
    Fixture f(Moderate());
    CameraFrame frame = f.scene.Lit({{1, 1}});
    frame.rgb.resize(frame.rgb.size() / 2);
    EXPECT_EQ(f.locator->Locate(frame).status, LocateStatus::Review);
    EXPECT_EQ(f.locator->Locate(CameraFrame{}).status, LocateStatus::Review);
}

} // namespace
} // namespace md
