#include "support/ModalDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>

#include <memory>

namespace md::test {

void ModalDriver::Expect(Action action, int timeoutMs)
{
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [action, clock, timeoutMs, poll]() {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            action(modal);
            *poll = nullptr; // break the cycle
            return;
        }
        if (clock->elapsed() > timeoutMs) {
            *poll = nullptr;
            return;
        }
        QTimer::singleShot(10, [poll] {
            if (*poll)
                (*poll)();
        });
    };
    QTimer::singleShot(0, [poll] {
        if (*poll)
            (*poll)();
    });
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
    });
}

} // namespace md::test
