// The host with a design open in the layout step, once in each language: the window is drawn
// (the grid shows its cells), the layout step's toolbar speaks the language, and no label or
// button shows its text cut short, at the host's default size and at 1024 x 600.
#include "HostFixture.h"

#include "md/IDesignUIPlugin.h"

#include "support/HandedOverRecord.h"
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QStyle>
#include <QTableView>
#include <QTextDocument>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>

namespace md::host::test {
namespace {

constexpr int kNewLayout = 0x1000E;
constexpr int kInsertVirtual = 0x10026;
constexpr int kLayoutGrid = 0xFFD0;
constexpr QRgb kUntracedCell = 0xD0FFD0;

ModuleRecord Record()
{
    return md::test::HandedOverRecord(32, 16, 4, 1);
}

/// The width a button needs to show its text whole: the text (without its mnemonic mark), an
/// icon beside it and the style's frame; any other button (check box, radio button, a button
/// that paints itself) needs its size hint; a tool button that shows only its icon shows no text.
int TextWidthNeeded(QAbstractButton& button)
{
    auto* tool = qobject_cast<QToolButton*>(&button);
    if (!tool && !qobject_cast<QPushButton*>(&button))
        return button.sizeHint().width();
    if (tool && tool->toolButtonStyle() == Qt::ToolButtonIconOnly)
        return 0;
    QString text = button.text();
    text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    int needed = button.fontMetrics().horizontalAdvance(text);
    const bool iconBeside =
        tool ? tool->toolButtonStyle() == Qt::ToolButtonTextBesideIcon : !button.icon().isNull();
    if (iconBeside && !button.icon().isNull())
        needed += button.iconSize().width() + 4;
    return needed + 2 * button.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &button);
}

/// What a visible label or button needs beyond the width it has, as one line per control.
QStringList CutShort(QWidget& root)
{
    QStringList cut;
    auto report = [&cut](QWidget* widget, const QString& text, int needed) {
        cut << QStringLiteral("%1 %2 \"%3\": %4 px wide, needs %5")
                   .arg(QString::fromLatin1(widget->metaObject()->className()),
                        widget->objectName(), text)
                   .arg(widget->width())
                   .arg(needed);
    };
    for (QLabel* label : root.findChildren<QLabel*>()) {
        if (!label->isVisible() || label->text().isEmpty() || label->wordWrap() ||
            Qt::mightBeRichText(label->text()))
            continue;
        QString text = label->text();
        if (label->buddy())
            text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
        int needed = 0;
        for (const QString& line : text.split('\n'))
            needed = std::max(needed, label->fontMetrics().horizontalAdvance(line));
        needed += 2 * label->margin() + std::max(label->indent(), 0);
        if (needed > label->contentsRect().width())
            report(label, label->text(), needed);
    }
    for (QAbstractButton* button : root.findChildren<QAbstractButton*>()) {
        if (!button->isVisible() || button->text().isEmpty())
            continue;
        const int needed = TextWidthNeeded(*button);
        if (needed > button->width())
            report(button, button->text(), needed);
    }
    return cut;
}

using TextsFitInTheLayoutStepTest = LanguageHostFixture;

TEST_P(TextsFitInTheLayoutStepTest, TheWindowIsDrawnInTheLanguageWithNoTextCutShort)
{
    const QSize defaultSize = m_window->size();
    const ModuleRecord record = Record();
    ASSERT_EQ(m_window->Panel()->OnNotify(18, reinterpret_cast<std::uintptr_t>(&record), 0), 0);
    auto* newLayout = m_window->findChild<QAction*>(QString::number(kNewLayout));
    ASSERT_NE(newLayout, nullptr);
    newLayout->trigger();
    QApplication::processEvents();
    auto* grid = m_window->PanelArea()->findChild<QTableView*>(QString::number(kLayoutGrid));
    ASSERT_TRUE(grid && grid->isVisible());

    // The layout step's own button for virtual points names itself in the language.
    QAction* insert = m_window->findChild<QAction*>(QString::number(kInsertVirtual));
    ASSERT_NE(insert, nullptr);
    const QString expected = Text("IDS_MD_STEP5_INSERT_VIRTUAL");
    ASSERT_FALSE(expected.isEmpty());
    EXPECT_EQ(insert->text(), expected);

    // What is drawn: the grid's cells in their light green, among the colours of a whole window.
    const QImage shot = m_window->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(shot.isNull());
    QSet<QRgb> colours;
    int cells = 0;
    for (int y = 0; y < shot.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(shot.constScanLine(y));
        for (int x = 0; x < shot.width(); ++x) {
            colours.insert(line[x] & 0xFFFFFF);
            cells += (line[x] & 0xFFFFFF) == kUntracedCell;
        }
    }
    EXPECT_GT(colours.size(), 16);
    // Dozens of visible cells of 36 x 22 units each.
    EXPECT_GT(cells, 20 * 30 * 16);

    for (const QSize size : {defaultSize, QSize(1024, 600)}) {
        m_window->resize(size);
        for (int i = 0; i < 5; ++i)
            QApplication::processEvents();
        EXPECT_EQ(CutShort(*m_window).join('\n').toStdString(), "")
            << GetParam() << " at " << size.width() << " x " << size.height();
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, TextsFitInTheLayoutStepTest,
                         ::testing::Values("en-us", "zh-cn"), [](const auto& info) {
                             return std::string(info.param) == "en-us" ? std::string("English")
                                                                       : std::string("Chinese");
                         });

} // namespace
} // namespace md::host::test
