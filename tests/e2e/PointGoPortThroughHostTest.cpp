// The test device port dialog through the reference host: the host's virtual test device is
// offered beside the serial devices present, "Test link" reaches it, and the choice is kept in
// the user's profile.
#include "HostFixture.h"
#include "support/ModalDriver.h"
#include "virtual/VirtualTestDevice.h"

#include "core/io/IniFile.h"
#include "md/OwnIds.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace md::host::test {
namespace {

using PointGoPortThroughHostTest = HostFixture;

TEST_F(PointGoPortThroughHostTest, TheHostsTestDeviceIsOfferedTestedAndKept)
{
    VirtualTestDevice* device = m_window->TestDevice();
    ASSERT_NE(device, nullptr);
    const QString path = QString::fromStdString(device->Path());
    auto* action = m_window->findChild<QAction*>(QString::number(own::kPointGoPortCommand));
    ASSERT_NE(action, nullptr) << "the layout step offers the port dialog";

    QStringList offered;
    QString outcome;
    md::test::ModalDriver::Expect([&](QWidget* modal) {
        auto* ports = Find<QComboBox>(modal, QString::number(own::kPointGoPortList));
        ASSERT_NE(ports, nullptr);
        for (int i = 0; i < ports->count(); ++i)
            offered << ports->itemText(i);
        // The host's device is the one in use: nothing else names a port.
        EXPECT_EQ(ports->currentText(), path);
        Find<QPushButton>(modal, QString::number(own::kPointGoTestLink))->click();
        auto* label = Find<QLabel>(modal, QString::number(own::kPointGoTestOutcome));
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return label->text().contains(QStringLiteral("answered")); }, 5000));
        outcome = label->text();
        Find<QPushButton>(modal, QStringLiteral("1"))->click();
    });
    action->trigger();
    EXPECT_TRUE(offered.contains(path + QStringLiteral("  (the host's test device)")))
        << offered.join(", ").toStdString();
    EXPECT_TRUE(outcome.startsWith(QStringLiteral("The test device on ") + path + " answered"))
        << outcome.toStdString();
    EXPECT_TRUE(outcome.endsWith(QStringLiteral("indexed advance."))) << outcome.toStdString();
    EXPECT_FALSE(device->ReportedLengths().empty());

    const IniFile profile = IniFile::Load(
        QDir(m_config.path()).filePath("ModuleDesignUIPlugin/profile.ini").toStdString());
    EXPECT_EQ(profile.ValueOr("pointgo", "port", ""), device->Path());
    EXPECT_EQ(profile.ValueOr("pointgo", "baud", ""), "115200");
}

} // namespace
} // namespace md::host::test
