// An exchange with a silent test device runs behind the progress dialog: the window keeps
// painting, input for it waits, and Cancel answers at once.
#include "core/design/SocketDesign.h"
#include "core/layout/PointGoExchange.h"
#include "core/layout/SerialPointGoLink.h"
#include "core/support/FakePorts.h"
#include "core/support/PtyDevice.h"
#include "gui/layout/PointGoProgressDlg.h"

#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace md {
namespace {

class PaintedWindow final : public QWidget
{
public:
    PaintedWindow()
    {
        button = new QPushButton(QStringLiteral("Elsewhere"), this);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(button);
        resize(240, 120);
    }
    QPushButton* button = nullptr;
    int paints = 0;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        ++paints;
        QWidget::paintEvent(event);
    }
};

SocketDesign Socket()
{
    SocketDesign socket;
    socket.NewSocket(4, 1);
    const std::uint32_t codes[] = {16, 47, 63, 255};
    for (std::size_t i = 0; i < 4; ++i)
        socket.Pins()[i].code = codes[i];
    return socket;
}

TEST(PointGoProgress, ASilentDeviceLeavesTheWindowPaintingAndCancelAnswersAtOnce)
{
    test::PtyDevice device; // reads nothing and answers nothing
    SerialPointGoLink link; // ten seconds for the handshake reply
    link.SetPort(device.OpenPort());
    ASSERT_TRUE(link.HasPort());
    PointGoExchange exchange(link, {}, 0, serialframes::BuildHandshake(Socket(), {}));
    PaintedWindow window;
    window.show();
    int elsewhere = 0;
    QObject::connect(window.button, &QPushButton::clicked, [&] { ++elsewhere; });

    // The longest gap between heartbeats is the longest the window was held.
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0;
    qint64 longest = 0;
    QTimer heartbeat;
    heartbeat.setInterval(5);
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        longest = std::max(longest, clock.elapsed() - last);
        last = clock.elapsed();
        window.update();
    });
    heartbeat.start();
    last = clock.elapsed();

    test::MapTexts texts; // every text its English fallback
    PointGoProgressDlg dialog(exchange, texts, &window);
    bool shownBefore = true;
    QTimer::singleShot(100, [&] {
        shownBefore = dialog.isVisible();
        QTest::mouseClick(window.button, Qt::LeftButton);
    });
    int paintsWhileWaiting = 0;
    constexpr int kPressAt = 700;
    QTimer::singleShot(kPressAt, [&] {
        ASSERT_TRUE(dialog.isVisible());
        paintsWhileWaiting = window.paints;
        QTest::mouseClick(dialog.CancelButton(), Qt::LeftButton);
    });
    dialog.Run();
    const qint64 ended = clock.elapsed();
    heartbeat.stop();

    EXPECT_FALSE(shownBefore) << "a quick device would never see the dialog";
    EXPECT_EQ(elsewhere, 0) << "input for the window waits while the exchange runs";
    // Bounds that a loaded machine's scheduler keeps to; the figures themselves are measured by
    // PointGoBench. A waiting read would hold the window for the whole 10 s of the reply.
    EXPECT_LT(ended - kPressAt, 1000) << "Cancel answers at once";
    EXPECT_LT(longest, 400) << "the window was held " << longest << " ms";
    EXPECT_GT(paintsWhileWaiting, 20);
    EXPECT_EQ(exchange.Current(), PointGoExchange::State::Cancelled);
    EXPECT_FALSE(link.HasPort());
    EXPECT_FALSE(dialog.isVisible());
    QTest::mouseClick(window.button, Qt::LeftButton);
    EXPECT_EQ(elsewhere, 1) << "and goes through again afterwards";
}

} // namespace
} // namespace md
