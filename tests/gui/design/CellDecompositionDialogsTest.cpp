#include "gui/design/ParallelLEDSelectedCtrl.h"
#include "gui/design/PixDecomposeModeDlg.h"

#include "support/ModalDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace md {
namespace {

QAbstractButton* Button(QWidget* dialog, int id)
{
    return dialog->findChild<QAbstractButton*>(QString::number(id));
}

TEST(CellDecompositionDialogs, ModeDialogChecksCurrentModesAndConfirmsUnsetAsTu)
{
    QTemporaryDir folder;
    PixDecomposeModeDlg dialog(ProgramFolder(folder.path().toStdString()));
    dialog.SetModes({PixelDecomposition::kUnset, 3, PixelDecomposition::kUnset});
    bool checkedOnOpen = false;
    bool whiteSquares = false;
    test::ModalDriver::Expect([&](QWidget* modal) {
        checkedOnOpen = Button(modal, 20053)->isChecked() && Button(modal, 20077)->isChecked() &&
                        Button(modal, 20083)->isChecked();
        // No pictures in the folder: every square stays white.
        const QPixmap square = modal->findChildren<QLabel*>().front()->pixmap();
        whiteSquares = square.toImage().pixelColor(32, 32) == QColor(Qt::white);
        Button(modal, 20065)->click(); // R_X0
        Button(modal, 1)->click();
    });
    EXPECT_EQ(dialog.Run(), QDialog::Accepted);
    EXPECT_TRUE(checkedOnOpen);
    EXPECT_TRUE(whiteSquares);
    EXPECT_EQ(dialog.Modes(), (std::array<std::uint32_t, 3>{5, 3, 0}));

    // Cancel gives back what the caller set, whatever was clicked.
    dialog.SetModes({1, 2, PixelDecomposition::kUnset});
    test::ModalDriver::Expect([&](QWidget* modal) {
        Button(modal, 20093)->click(); // B_N
        Button(modal, 2)->click();
    });
    EXPECT_EQ(dialog.Run(), QDialog::Rejected);
    EXPECT_EQ(dialog.Modes(), (std::array<std::uint32_t, 3>{1, 2, PixelDecomposition::kUnset}));
}

TEST(CellDecompositionDialogs, PickerClosesOnAShownLed)
{
    ParallelLEDSelectedCtrl picker;
    CellLed led;
    led.code = 1;
    led.colour = 2;
    led.group = 3;
    led.x = 10;
    led.y = 10;
    led.widthPx = 5;
    led.heightPx = 5;
    picker.Picker().SetLeds({led});
    picker.Picker().SetColour(2);
    picker.Picker().SetCentre({400, 300});
    QPoint placed;
    test::ModalDriver::Expect([&](QWidget* modal) {
        placed = modal->pos();
        for (QPoint at : {QPoint(5, 5), QPoint(45, 45)}) {
            QMouseEvent press(QEvent::MouseButtonPress, QPointF(at),
                              modal->mapToGlobal(QPointF(at)), Qt::LeftButton, Qt::LeftButton,
                              Qt::NoModifier);
            QApplication::sendEvent(modal, &press);
        }
    });
    EXPECT_EQ(picker.Run(), QDialog::Accepted);
    EXPECT_EQ(placed, QPoint(272, 172));
    ASSERT_TRUE(picker.Picker().Picked());
    EXPECT_EQ(picker.Picker().PickedLed().group, 3);
}

} // namespace
} // namespace md
