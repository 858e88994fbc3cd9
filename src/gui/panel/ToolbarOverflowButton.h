#pragma once

#include <QPointer>
#include <QToolButton>

#include <vector>

class QAbstractButton;
class QAction;
class QMenu;

namespace md {

/// The toolbar strip's "»" button at its right end: the buttons that do not fit in the strip,
/// offered in order as a menu. Each entry reads as its button's tooltip, does what the button
/// does, and follows the button's enabled and checked states.
class ToolbarOverflowButton final : public QToolButton
{
    Q_OBJECT
public:
    explicit ToolbarOverflowButton(QWidget* parent = nullptr);
    ~ToolbarOverflowButton() override;

    /// Offers these buttons, in this order (none: an empty menu).
    void Offer(const std::vector<QAbstractButton*>& buttons);
    QMenu* Menu() const { return m_menu; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Entry
    {
        QPointer<QAbstractButton> button;
        QAction* action = nullptr;
    };

    void Drop();

    QMenu* m_menu = nullptr;
    std::vector<Entry> m_entries;
};

} // namespace md
