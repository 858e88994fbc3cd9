// The reference host at its default size and at 1024 x 600, in either language, with a design in
// the layout step: the status bar shows each of its fields whole, and every button of the
// toolbar strip is at hand, on the strip or, where it does not fit, in the strip's overflow menu.
#include "HostFixture.h"

#include "md/IDesignUIPlugin.h"
#include "md/OwnIds.h"

#include "support/HandedOverRecord.h"
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QToolButton>

#include <algorithm>
#include <cstdio>

namespace md::host::test {
namespace {

constexpr int kNewLayout = 0x1000E;
constexpr int kStrip = 20012;
constexpr int kLayoutGrid = 0xFFD0;
constexpr int kStatusBar = 20112;
constexpr int kStatusText = 20544;
constexpr int kNumberFields[] = {20515, 20516, 20518, 20519, 20520, 20521, 20522};
/// What tracing shows in the status text.
constexpr const char* kStatusKeys[] = {"IDS_MODULE_STEP5DLG_START_EP",
                                       "IDS_MODULE_EPSTATUS_BAR_EP_ING",
                                       "IDS_MODULE_EPSTATUS_BAR_EP_FINISH",
                                       "IDS_MODULE_EPSTATUS_BAR_EP_NOSUPPORT",
                                       "IDS_MODULE_EPSTATUS_BAR_EP_MODE1_FINISH",
                                       "IDS_MODULE_EPSTATUS_BAR_EP_MODE2_FINISH",
                                       "IDS_MODULE_EPSTATUS_BAR_EP_SCANROW_POS"};

ModuleRecord Record()
{
    return md::test::HandedOverRecord(64, 32, 8, 2);
}

/// Lets the layouts follow changed texts without running timers (the grid's tick would write
/// the status bar's own values over the test's).
void Relayout()
{
    for (int i = 0; i < 6; ++i)
        QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
}

class NoClippedControlThroughHostTest : public LanguageHostFixture
{
protected:
    void Resize(const QSize& size)
    {
        m_window->resize(size);
        for (int i = 0; i < 5; ++i)
            QApplication::processEvents();
    }

    /// The strip's buttons as the user reaches them: those shown, left to right, then the
    /// overflow menu's entries; each shown one lies whole inside the strip.
    std::vector<QString> Reachable(QWidget* strip, QToolButton* overflow)
    {
        std::vector<QAbstractButton*> shown;
        for (QAbstractButton* button : strip->findChildren<QAbstractButton*>())
            if (button != overflow && button->isVisible() && !button->objectName().isEmpty())
                shown.push_back(button);
        std::sort(shown.begin(), shown.end(),
                  [](QAbstractButton* a, QAbstractButton* b) { return a->x() < b->x(); });
        const int end = overflow->isVisible() ? overflow->x() : strip->width();
        std::vector<QString> names;
        for (QAbstractButton* button : shown) {
            EXPECT_GE(button->x(), 0);
            EXPECT_LE(button->geometry().right(), end - 1) << button->objectName().toStdString();
            names.push_back(button->objectName());
        }
        if (overflow->isVisible()) {
            EXPECT_TRUE(strip->rect().contains(overflow->geometry()));
            for (QAction* entry : overflow->menu()->actions()) {
                auto* button = strip->findChild<QAbstractButton*>(entry->objectName());
                EXPECT_TRUE(button && entry->text() == button->toolTip());
                names.push_back(entry->objectName());
            }
        }
        return names;
    }

    /// Every label of the status bar shows its text whole, inside the panel.
    void ExpectStatusBarWhole(QWidget* bar, bool wrapsStatus)
    {
        QWidget* area = m_window->PanelArea();
        for (QLabel* label : bar->findChildren<QLabel*>()) {
            if (!label->isVisible())
                continue;
            const std::string name =
                label->objectName().toStdString() + " \"" + label->text().toStdString() + "\"";
            const QFontMetrics metrics = label->fontMetrics();
            const QRect box = label->contentsRect();
            if (wrapsStatus && label->objectName() == QString::number(kStatusText))
                EXPECT_LE(metrics.boundingRect(box, Qt::TextWordWrap, label->text()).height(),
                          box.height())
                    << name;
            else
                EXPECT_LE(metrics.horizontalAdvance(label->text()), box.width()) << name;
            const QRect inArea(label->mapTo(area, QPoint(0, 0)), label->size());
            EXPECT_TRUE(area->rect().contains(inArea)) << name;
        }
    }
};

TEST_P(NoClippedControlThroughHostTest, StatusFieldsShowTheirTextsAndEveryStripButtonIsAtHand)
{
    const QSize defaultSize = m_window->size();
    IDesignUIPlugin* panel = m_window->Panel();
    const ModuleRecord record = Record();
    ASSERT_EQ(panel->OnNotify(18, reinterpret_cast<std::uintptr_t>(&record), 0), 0);
    QWidget* strip = m_window->ToolbarArea()->findChild<QWidget*>(QString::number(kStrip));
    ASSERT_NE(strip, nullptr);
    auto* overflow = strip->findChild<QToolButton*>(QString::number(own::kToolbarOverflow));
    ASSERT_NE(overflow, nullptr);
    auto* newLayout = strip->findChild<QAbstractButton*>(QString::number(kNewLayout));
    ASSERT_TRUE(newLayout && newLayout->isVisible());
    newLayout->click();
    ASSERT_NE(m_window->PanelArea()->findChild<QWidget*>(QString::number(kLayoutGrid)), nullptr);

    // The layout step's whole group, in order, where all of it fits.
    Resize(QSize(2800, 760));
    ASSERT_FALSE(overflow->isVisible());
    const std::vector<QString> group = Reachable(strip, overflow);
    ASSERT_GE(group.size(), 5u);
    EXPECT_EQ(group.front(), QString::number(kNewLayout));

    QStringList statusTexts;
    for (const char* key : kStatusKeys) {
        statusTexts << Text(key);
        EXPECT_FALSE(statusTexts.back().isEmpty()) << key;
    }
    for (const QSize size : {defaultSize, QSize(1024, 600)}) {
        SCOPED_TRACE(QStringLiteral("%1 x %2").arg(size.width()).arg(size.height()).toStdString());
        Resize(size);
        ASSERT_EQ(m_window->size(), size);
        EXPECT_EQ(Reachable(strip, overflow), group);
        // The layout step's group needs about 700 pixels: beside the host's docks it overflows.
        EXPECT_TRUE(size.width() != 1024 || overflow->isVisible());
        std::printf("%dx%d: strip %d px, %d of %zu buttons on it\n", size.width(), size.height(),
                    strip->width(),
                    int(group.size()) -
                        (overflow->isVisible() ? int(overflow->menu()->actions().size()) : 0),
                    group.size());

        QWidget* bar = m_window->PanelArea()->findChild<QWidget*>(QString::number(kStatusBar));
        ASSERT_TRUE(bar && bar->isVisible());
        for (int id : kNumberFields)
            bar->findChild<QLabel*>(QString::number(id))->setText("65535");
        auto* status = bar->findChild<QLabel*>(QString::number(kStatusText));
        for (const QString& text : statusTexts) {
            status->setText(text);
            Relayout();
            ExpectStatusBarWhole(bar, false);
        }
        // A longer report (point-go's) goes on over further lines.
        status->setText(statusTexts.join(' '));
        Relayout();
        ExpectStatusBarWhole(bar, true);
        EXPECT_GT(status->height(), 2 * status->fontMetrics().height());
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, NoClippedControlThroughHostTest,
                         ::testing::Values("en-us", "zh-cn"), [](const auto& info) {
                             return QString(info.param).remove('-').toStdString();
                         });

} // namespace
} // namespace md::host::test
