// The wizard's dialogs driven offscreen the way a user works them.
#include "core/controller/CommandChannel.h"
#include "core/wizard/RangeSelection.h"
#include "core/wizard/WizardSteps.h"
#include "gui/wizard/HubAddressDlg.h"
#include "gui/wizard/ModuleRangeDlg.h"
#include "gui/wizard/WizardLinesStepDlg.h"
#include "gui/wizard/WizardRowsStepDlg.h"
#include "gui/wizard/WizardStateStepDlg.h"
#include "support/ModalDriver.h"

#include <QComboBox>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

#include <QAbstractItemModelTester>

#include <gtest/gtest.h>

namespace md {
namespace {

TEST(WizardDialogsTest, AllBlackLinesKeepStepFourOpenWithItsError)
{
    CommandChannel channel;
    std::vector<CommandPair> sent;
    channel.SetTap([&](const CommandPair& pair) { sent.push_back(pair); });
    WizardStep4 step(0x12, 8, 0, 0, channel);
    WizardLinesStepDlg dialog(step);
    for (int line = 0; line < 4; ++line)
        dialog.List(line)->setCurrentIndex(dialog.List(line)->findData(WizardStep4::kBlack));
    QTest::mouseClick(dialog.LineButton(2), Qt::LeftButton);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].word2, (std::array<std::uint8_t, 4>{0x03, 0xFF, 0x08, 0x47}));

    bool boxShown = false;
    test::ModalDriver::Expect([&](QWidget* modal) {
        boxShown = modal->inherits("QMessageBox");
        modal->close();
    });
    dialog.NextButton()->click(); // refused: the message box comes up and is answered
    EXPECT_TRUE(boxShown);
    EXPECT_NE(dialog.result(), QDialog::Accepted);

    dialog.List(1)->setCurrentIndex(dialog.List(1)->findData(WizardStep4::kGreen));
    dialog.NextButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(step.LineColours(), std::vector<std::uint16_t>{1});
    EXPECT_EQ(step.LineMap()[0], 1);
}

TEST(WizardDialogsTest, GroupingModeFourDisablesTheFourthLine)
{
    CommandChannel channel;
    WizardStep4 step(0, 8, 4, 0, channel);
    WizardLinesStepDlg dialog(step);
    EXPECT_EQ(dialog.List(0)->count(), 3);
    EXPECT_FALSE(dialog.List(3)->isEnabled());
    EXPECT_FALSE(dialog.LineButton(3)->isEnabled());
    EXPECT_EQ(dialog.List(3)->currentData().toInt(), WizardStep4::kBlack);
}

TEST(WizardDialogsTest, StepOneSendsOnlyWhenTheStateChanges)
{
    CommandChannel channel;
    int sends = 0;
    channel.SetTap([&](const CommandPair&) { ++sends; });
    WizardStep1 step(2, 0, 0x03FF10F6, channel);
    WizardStateStepDlg dialog(step);
    EXPECT_TRUE(dialog.State2()->isChecked());
    QTest::mouseClick(dialog.State2(), Qt::LeftButton);
    EXPECT_EQ(sends, 0);
    QTest::mouseClick(dialog.State1(), Qt::LeftButton);
    EXPECT_EQ(sends, 1);
    EXPECT_EQ(step.Polarity(), 0u);
    dialog.findChild<QPushButton*>("3")->click(); // the hidden toggle always sends
    EXPECT_EQ(sends, 2);
    EXPECT_TRUE(dialog.State2()->isChecked());
}

TEST(WizardDialogsTest, StepThreeOffersOneToSixtyFourWithEightChosen)
{
    WizardStep3 step;
    WizardRowsStepDlg dialog(step);
    ASSERT_EQ(dialog.Rows()->count(), 64);
    EXPECT_EQ(dialog.Rows()->currentText(), "8");
    dialog.Rows()->setCurrentIndex(31);
    dialog.NextButton()->click();
    EXPECT_EQ(step.Rows(), 32);
}

TEST(WizardDialogsTest, RangeDialogNeedsASelectionAndFindsTheBand)
{
    RangeSelection selection(32, 16);
    ModuleRangeDlg dialog(selection);
    QAbstractItemModelTester tester(dialog.Grid()->model(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    QPushButton* ok = nullptr;
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
        if (button->text() == "OK" || button->text().contains("OK"))
            ok = button;
    ASSERT_NE(ok, nullptr);
    ok->click();
    EXPECT_NE(dialog.result(), QDialog::Accepted); // nothing selected: stays open

    QTableView* grid = dialog.Grid();
    auto* model = grid->model();
    QItemSelection all(model->index(0, 0), model->index(15, 31));
    grid->selectionModel()->select(all, QItemSelectionModel::Select);
    grid->selectionModel()->select(QItemSelection(model->index(0, 9), model->index(15, 10)),
                                   QItemSelectionModel::Deselect);
    ok->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const auto range = selection.Confirm();
    ASSERT_TRUE(range);
    EXPECT_EQ(range->bandKind, ModuleRange::kColumns);
    EXPECT_EQ(range->width, 30);
}

TEST(WizardDialogsTest, HubAddressCombosWriteThroughAndLettersMove)
{
    std::int32_t connector = 3;
    std::int32_t scanRow = 0;
    ConnectorTable table;
    table.ForMultiClock(1);
    WizardMemory memory;
    CommandChannel channel;
    HubAddressDlg dialog(&connector, &scanRow, table, 1, memory, channel);
    auto* connectorCombo = dialog.findChild<QComboBox*>("20535");
    auto* rowCombo = dialog.findChild<QComboBox*>("20536");
    ASSERT_NE(connectorCombo, nullptr);
    ASSERT_NE(rowCombo, nullptr);
    EXPECT_EQ(connectorCombo->currentIndex(), 3);
    rowCombo->setCurrentIndex(5);
    EXPECT_EQ(scanRow, 5);

    QTableWidget* grid = dialog.Grid();
    ASSERT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(grid->item(0, 1)->text(), "B");
    dialog.PressCell(1, 2);
    dialog.DropOnCell(2, 1);
    EXPECT_EQ(grid->item(1, 0)->text(), "B");
    EXPECT_EQ(grid->item(0, 1)->text(), "");
    EXPECT_EQ(grid->item(0, 1)->background().color().rgb() & 0xFFFFFF, 0xD0FFD0u);
    EXPECT_EQ(table.rows, 2u);
}

} // namespace
} // namespace md
