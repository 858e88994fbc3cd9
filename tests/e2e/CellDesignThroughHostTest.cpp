// A cell designed from the parameter page of the reference host, with the default light library.
#include "HostFixture.h"
#include "support/ModalDriver.h"

#include <QComboBox>
#include <QPixmap>
#include <QPushButton>
#include <QTest>

namespace md::host::test {
namespace {

using CellDesignThroughHostTest = HostFixture;

TEST_F(CellDesignThroughHostTest, RedGreenAndBlueLedsMakeADesignedCell)
{
    SettingsWindow* settings = ShowSettings();
    ASSERT_NE(settings, nullptr);
    auto* cellDesign = Find<QPushButton>(settings, "CellDesignButton");
    ASSERT_NE(cellDesign, nullptr);
    const QString before = cellDesign->text();

    int lightsOffered = 0;
    bool designShown = false;
    md::test::ModalDriver::Expect([&](QWidget* dialog) {
        designShown = dialog->objectName() == "20019";
        auto* canvas = Find<QWidget>(dialog, "20040");
        if (canvas) // any click on the drawing area chooses the cell
            QTest::mouseClick(canvas, Qt::LeftButton, {}, QPoint(40, 40));
        const int lists[] = {20011, 20014, 20017};
        const int adds[] = {20034, 20042, 20044};
        for (int colour = 0; colour < 3; ++colour) {
            auto* list = Find<QComboBox>(dialog, QString::number(lists[colour]));
            if (!list || list->count() == 0)
                continue;
            lightsOffered += list->count();
            list->setCurrentIndex(0);
            Find<QPushButton>(dialog, QString::number(adds[colour]))->click();
        }
        // MD_E2E_SHOTS names a folder that receives a picture of the dialog, for a look.
        if (!qEnvironmentVariableIsEmpty("MD_E2E_SHOTS"))
            dialog->grab().save(qEnvironmentVariable("MD_E2E_SHOTS") + "/cell-design.png");
        Find<QPushButton>(dialog, "1")->click(); // confirm
    });
    cellDesign->click();

    EXPECT_TRUE(designShown);
    EXPECT_GE(lightsOffered, 9); // the default light library has lights of every colour
    EXPECT_NE(cellDesign->text(), before);
    // The page now reads the "designed" text of the host's language file.
    EXPECT_FALSE(cellDesign->text().isEmpty());
}

} // namespace
} // namespace md::host::test
