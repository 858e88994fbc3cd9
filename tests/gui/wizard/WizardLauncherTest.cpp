// The parameter page's checked values reach the wizard field by field: every value below is
// distinct, so two fields swapped or one left at its default fails.
#include "gui/wizard/WizardLauncher.h"

#include <gtest/gtest.h>

namespace md {
namespace {

TEST(WizardLauncherTest, EveryPageValueReachesItsWizardInput)
{
    ModuleParameters p;
    p.moduleType = ModuleType::Virtual;
    p.xPoints = 96;
    p.yPoints = 48;
    p.dataGroups = 6;
    p.virtualMode = 3;
    p.colourSwap = true;
    p.oneGroupCut = true;
    p.splitMode = 1;
    p.polarity = 1;
    p.discharge = 4;
    p.groupDataMode = 7;
    p.dataLineType = 5;
    p.multiClock = 2;
    p.hubAddressContinuous = true;
    p.virtualPosition = 11;
    p.virtualLength = 13;
    ModuleDerivedValues d;
    d.driverChip = {u"D", 48, 0, 17, 64};
    d.scanChip = {u"S", 2, 1, 19, 0};

    const WizardInputs in = WizardLauncher::InputsFrom(p, d);
    EXPECT_EQ(in.driverChip, d.driverChip);
    EXPECT_EQ(in.scanChip, d.scanChip);
    EXPECT_EQ(in.colourType, WizardInputs::kVirtual);
    EXPECT_EQ(in.xPixels, 96u);
    EXPECT_EQ(in.yPixels, 48u);
    EXPECT_EQ(in.dataGroups, 6u);
    EXPECT_EQ(in.virtualArrangement, 3);
    EXPECT_TRUE(in.sameColourSwap);
    EXPECT_TRUE(in.splitByOneGroup);
    EXPECT_TRUE(in.verticalSplit);
    EXPECT_EQ(in.rowBlankingPolarity, 1);
    EXPECT_EQ(in.rowDischarge, 4);
    EXPECT_EQ(in.groupingMode, 7);
    EXPECT_EQ(in.dataLineType, 5);
    EXPECT_EQ(in.multiClock, 2);
    EXPECT_TRUE(in.hubAddressContinuous);
    EXPECT_EQ(in.virtualPointPosition, 11);
    EXPECT_EQ(in.virtualPointLength, 13);

    p.splitMode = 0;
    p.moduleType = ModuleType::SingleColour;
    const WizardInputs horizontal = WizardLauncher::InputsFrom(p, d);
    EXPECT_FALSE(horizontal.verticalSplit);
    EXPECT_EQ(horizontal.colourType, WizardInputs::kSingle);
}

} // namespace
} // namespace md
