#include "gui/panel/ToolbarOverflowButton.h"

#include "gui/ui/HostText.h"
#include "md/OwnIds.h"

#include <QAbstractButton>
#include <QAction>
#include <QEvent>
#include <QMenu>

namespace md {

ToolbarOverflowButton::ToolbarOverflowButton(QWidget* parent)
    : QToolButton(parent), m_menu(new QMenu(this))
{
    setObjectName(QString::number(own::kToolbarOverflow));
    setText(QStringLiteral("»"));
    setToolTip(HostText("IDS_MD_TOOLBAR_MORE", QStringLiteral("More buttons")));
    setAutoRaise(true);
    setPopupMode(QToolButton::InstantPopup);
    setToolButtonStyle(Qt::ToolButtonTextOnly);
    setMenu(m_menu);
}

ToolbarOverflowButton::~ToolbarOverflowButton()
{
    Drop();
}

void ToolbarOverflowButton::Drop()
{
    for (Entry& entry : m_entries) {
        if (entry.button)
            entry.button->removeEventFilter(this);
        // An entry may be the one being triggered (its button replaced the strip's group): it
        // goes once control is back in the event loop.
        m_menu->removeAction(entry.action);
        entry.action->deleteLater();
    }
    m_entries.clear();
}

void ToolbarOverflowButton::Offer(const std::vector<QAbstractButton*>& buttons)
{
    bool same = buttons.size() == m_entries.size();
    for (std::size_t i = 0; same && i < buttons.size(); ++i)
        same = m_entries[i].button == buttons[i];
    if (same)
        return;
    Drop();
    for (QAbstractButton* button : buttons) {
        auto* action = new QAction(button->icon(), button->toolTip(), m_menu);
        action->setObjectName(button->objectName());
        action->setCheckable(button->isCheckable());
        action->setChecked(button->isChecked());
        action->setEnabled(button->isEnabled());
        connect(action, &QAction::triggered, button, [button] { button->click(); });
        connect(button, &QAbstractButton::toggled, action, [action, button](bool checked) {
            action->setCheckable(button->isCheckable());
            action->setChecked(checked);
        });
        button->installEventFilter(this);
        m_menu->addAction(action);
        m_entries.push_back({button, action});
    }
}

bool ToolbarOverflowButton::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::EnabledChange || type == QEvent::ToolTipChange)
        for (const Entry& entry : m_entries)
            if (entry.button == watched) {
                entry.action->setEnabled(entry.button->isEnabled());
                entry.action->setText(entry.button->toolTip());
            }
    return QToolButton::eventFilter(watched, event);
}

} // namespace md
