#include "support/ModalDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>

#include <utility>

namespace md::test {

void ModalDriver::Expect(Action action, int timeoutMs)
{
    // The poll timer belongs to the application, so a test that ends before a modal appears
    // leaves nothing behind: the timer stops at its deadline or goes with the application.
    auto* timer = new QTimer(qApp);
    auto* clock = new QElapsedTimer;
    clock->start();
    QObject::connect(timer, &QObject::destroyed, [clock] { delete clock; });
    QObject::connect(timer, &QTimer::timeout, timer, [timer, clock, action, timeoutMs] {
        timer->setInterval(10);
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            action(modal);
        } else if (clock->elapsed() > timeoutMs) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(0);
}

void ModalDriver::Press(const QString& buttonText, QString* shownText)
{
    Expect([buttonText, shownText](QWidget* modal) {
        if (shownText) {
            if (auto* box = qobject_cast<QMessageBox*>(modal))
                *shownText = box->text();
            else
                for (QLabel* label : modal->findChildren<QLabel*>())
                    *shownText += label->text();
        }
        for (QAbstractButton* button : modal->findChildren<QAbstractButton*>()) {
            if (button->text().remove('&') == buttonText) {
                button->click();
                return;
            }
        }
        // Standard buttons take their texts from the language files, which a test's texts may
        // not hold: they are also found by their English name.
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            static const std::pair<const char*, QMessageBox::StandardButton> kStandard[] = {
                {"OK", QMessageBox::Ok},
                {"Cancel", QMessageBox::Cancel},
                {"Yes", QMessageBox::Yes},
                {"No", QMessageBox::No},
                {"Retry", QMessageBox::Retry}};
            for (const auto& [name, standard] : kStandard)
                if (buttonText == QLatin1String(name))
                    if (QAbstractButton* button = box->button(standard))
                        return button->click();
        }
    });
}

} // namespace md::test
