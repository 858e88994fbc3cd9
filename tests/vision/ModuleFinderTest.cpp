// The module finder on synthetic camera pictures: the grid it fits must put every LED's true
// centre within a small part of a pixel of its cell, for upright, turned, mirrored and tilted
// views; a module partly out of the picture is refused.
#include "vision/ModuleFinder.h"
#include "vision/support/SyntheticScene.h"

#include <gtest/gtest.h>

#include <cmath>

namespace md {
namespace {

using test::SceneSettings;
using test::SyntheticScene;

/// The largest distance, in module pixels, between where the grid puts a true LED centre and
/// that LED's cell.
double WorstCellError(const ModuleGrid& grid, const SyntheticScene& scene)
{
    double worst = 0;
    for (int y = 0; y < grid.height; ++y)
        for (int x = 0; x < grid.width; ++x) {
            const GridPoint m = grid.ToModule(scene.ToCamera({double(x), double(y)}));
            worst = std::max(worst, std::hypot(m.x - x, m.y - y));
        }
    return worst;
}

FinderResult FindIn(SyntheticScene& scene, GridOrientation orientation)
{
    const CameraFrame dark = scene.Dark();
    const CameraFrame allLit = scene.AllLit();
    return ModuleFinder::Find(allLit, dark, scene.Settings().moduleWidth,
                              scene.Settings().moduleHeight, orientation);
}

struct View
{
    const char* name;
    int turn;
    bool mirror;
    double perspective;
    int farSide;
    double blur;
    double noise;
    int width = 64;
    int height = 32;
};

void PrintTo(const View& view, std::ostream* out)
{
    *out << view.name;
}

class FinderViewTest : public ::testing::TestWithParam<View>
{};

TEST_P(FinderViewTest, GridPutsEveryLedInItsCell)
{
    const View view = GetParam();
    SceneSettings settings;
    settings.turn = view.turn;
    settings.mirror = view.mirror;
    settings.perspective = view.perspective;
    settings.farSide = view.farSide;
    settings.blur = view.blur;
    settings.noise = view.noise;
    settings.moduleWidth = view.width;
    settings.moduleHeight = view.height;
    settings.seed = 11 + view.turn + (view.mirror ? 1 : 0);
    SyntheticScene scene(settings);
    const FinderResult result = FindIn(scene, {view.turn, view.mirror});
    ASSERT_TRUE(result.Found()) << result.Message();
    const ModuleGrid& grid = result.grid;
    EXPECT_LT(WorstCellError(grid, scene), 0.15);
    EXPECT_LT(grid.fitError, 0.1);
    EXPECT_NEAR(grid.pitch, scene.Pitch(), 0.03 * scene.Pitch());
    EXPECT_GT(grid.ledLevel, 40);
}

INSTANTIATE_TEST_SUITE_P(Views, FinderViewTest,
                         ::testing::Values(View{"Upright", 0, false, 0.0, 0, 1.5, 6},
                                           View{"Moderate", 0, false, 0.15, 0, 1.5, 6},
                                           View{"Hard", 0, false, 0.30, 0, 3, 12},
                                           View{"HardWithoutNoise", 0, false, 0.30, 0, 3, 0},
                                           View{"TurnedQuarter", 90, false, 0.15, 1, 1.5, 6},
                                           View{"TurnedHalfMirrored", 180, true, 0.15, 3, 1.5, 6},
                                           View{"TurnedThreeQuartersHard", 270, false, 0.30, 2, 3,
                                                12, 32, 16}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FinderTest, RefusesAModulePartlyOutOfThePicture)
{
    for (const auto& [x, y] : {std::pair{-300.0, 0.0}, {0.0, 200.0}, {320.0, -150.0}}) {
        SceneSettings settings;
        settings.shiftX = x;
        settings.shiftY = y;
        SyntheticScene scene(settings);
        const FinderResult result = FindIn(scene, {});
        EXPECT_EQ(result.failure, FinderFailure::NotWhollyInPicture) << x << "," << y;
        EXPECT_NE(result.Message().find("not wholly in the picture"), std::string::npos);
    }
    // The same module wholly in view, near the edge, is found.
    SceneSettings settings;
    settings.shiftX = 150;
    SyntheticScene scene(settings);
    EXPECT_TRUE(FindIn(scene, {}).Found());
}

// Told a size near the true one, the outline alone fits and a quarter of the cells find an LED
// nearby; the LED lattice under the grid must still refuse it, naming the size that was told.
// Moderate and hard views, and a moderate one turned a quarter and mirrored.
TEST(FinderTest, RefusesAModuleOfAnotherSize)
{
    for (const int view : {0, 1, 2}) {
        const bool hard = view == 1;
        const GridOrientation orientation{view == 2 ? 90 : 0, view == 2};
        SceneSettings settings;
        settings.perspective = hard ? 0.30 : 0.15;
        settings.blur = hard ? 3 : 1.5;
        settings.noise = hard ? 12 : 6;
        settings.shake = hard ? 0.5 : 0.3;
        settings.turn = orientation.turn;
        settings.mirror = orientation.mirror;
        settings.farSide = view == 2 ? 1 : 0;
        settings.seed = std::uint32_t(7 + 16 * view);
        SyntheticScene scene(settings);
        const CameraFrame dark = scene.Dark(), allLit = scene.AllLit();
        for (const auto& [w, h] : {std::pair{48, 32}, {64, 24}, {80, 32}, {63, 32}, {64, 33}}) {
            const FinderResult result = ModuleFinder::Find(allLit, dark, w, h, orientation);
            EXPECT_EQ(result.failure, FinderFailure::NoGrid)
                << "view " << view << ": " << w << " x " << h << " fit error "
                << result.grid.fitError;
            const std::string size = std::to_string(w) + " \u00d7 " + std::to_string(h);
            EXPECT_NE(result.Message().find(size), std::string::npos) << result.Message();
        }
        EXPECT_TRUE(ModuleFinder::Find(allLit, dark, 64, 32, orientation).Found()) << view;
    }
}

TEST(FinderTest, RefusesWhatIsNotTheModulesGrid)
{
    SceneSettings settings;
    settings.moduleWidth = 32;
    settings.moduleHeight = 16;
    SyntheticScene scene(settings);
    const CameraFrame dark = scene.Dark(), allLit = scene.AllLit();
    // A module turned across the one shown does not fit.
    EXPECT_EQ(ModuleFinder::Find(allLit, dark, 32, 16, {90, false}).failure, FinderFailure::NoGrid);
    EXPECT_TRUE(ModuleFinder::Find(allLit, dark, 32, 16).Found());
    // Nothing lit, frames that do not match, a turn that is not a quarter.
    EXPECT_EQ(ModuleFinder::Find(dark, dark, 32, 16).failure, FinderFailure::NothingLit);
    CameraFrame small = dark;
    small.height -= 1;
    small.rgb.resize(small.rgb.size() - std::size_t(small.width) * 3);
    EXPECT_EQ(ModuleFinder::Find(allLit, small, 32, 16).failure, FinderFailure::BadFrames);
    EXPECT_EQ(ModuleFinder::Find(allLit, dark, 32, 16, {45, false}).failure,
              FinderFailure::BadFrames);
    CameraFrame cut = allLit;
    cut.rgb.resize(10);
    EXPECT_EQ(ModuleFinder::Find(cut, dark, 32, 16).failure, FinderFailure::BadFrames);
}

} // namespace
} // namespace md
