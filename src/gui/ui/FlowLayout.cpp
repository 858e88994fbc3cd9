#include "gui/ui/FlowLayout.h"

#include <QWidget>

#include <algorithm>

namespace md {

FlowLayout::FlowLayout(QWidget* parent, int spacing) : QLayout(parent), m_gap(spacing) {}

FlowLayout::~FlowLayout()
{
    while (QLayoutItem* item = takeAt(0))
        delete item;
}

void FlowLayout::addItem(QLayoutItem* item)
{
    // Ordinary items go before the filler.
    const qsizetype at = m_filler ? m_items.indexOf(m_filler) : m_items.size();
    m_items.insert(at, item);
    invalidate();
}

void FlowLayout::AddFiller(QWidget* widget)
{
    addChildWidget(widget);
    m_filler = new QWidgetItem(widget);
    m_items.append(m_filler);
    invalidate();
}

QLayoutItem* FlowLayout::itemAt(int index) const
{
    return index >= 0 && index < m_items.size() ? m_items[index] : nullptr;
}

QLayoutItem* FlowLayout::takeAt(int index)
{
    if (index < 0 || index >= m_items.size())
        return nullptr;
    QLayoutItem* item = m_items.takeAt(index);
    if (item == m_filler)
        m_filler = nullptr;
    invalidate();
    return item;
}

int FlowLayout::heightForWidth(int width) const
{
    return Arrange(QRect(0, 0, width, 0), false);
}

QSize FlowLayout::sizeHint() const
{
    // All on one line.
    const QMargins margins = contentsMargins();
    int width = 0;
    int height = 0;
    for (QLayoutItem* item : m_items) {
        const QSize hint = item->sizeHint();
        width += hint.width() + (width > 0 ? m_gap : 0);
        height = std::max(height, hint.height());
    }
    return {width + margins.left() + margins.right(), height + margins.top() + margins.bottom()};
}

QSize FlowLayout::minimumSize() const
{
    // The widest item on a line of its own.
    const QMargins margins = contentsMargins();
    int width = 0;
    for (QLayoutItem* item : m_items)
        width = std::max(width,
                         item == m_filler ? item->minimumSize().width() : item->sizeHint().width());
    return {width + margins.left() + margins.right(), heightForWidth(width)};
}

void FlowLayout::setGeometry(const QRect& rect)
{
    QLayout::setGeometry(rect);
    Arrange(rect, true);
}

int FlowLayout::Arrange(const QRect& rect, bool apply) const
{
    const QRect area = rect.marginsRemoved(contentsMargins());
    const int right = area.x() + std::max(area.width(), 0);
    int x = area.x();
    int y = area.y();
    int lineHeight = 0;
    const auto startLine = [&](int wanted) {
        if (x > area.x() && x + wanted > right) {
            x = area.x();
            y += lineHeight + m_gap;
            lineHeight = 0;
        }
    };
    for (QLayoutItem* item : m_items) {
        if (item->isEmpty())
            continue;
        QSize size = item->sizeHint();
        if (item == m_filler) {
            startLine(item->minimumSize().width());
            size.setWidth(std::max(right - x, 0));
            if (item->hasHeightForWidth())
                size.setHeight(item->heightForWidth(size.width()));
        } else {
            startLine(size.width());
        }
        if (apply)
            item->setGeometry(QRect(QPoint(x, y), size));
        x += size.width() + m_gap;
        lineHeight = std::max(lineHeight, size.height());
    }
    const QMargins margins = contentsMargins();
    return y + lineHeight - rect.y() + margins.bottom();
}

} // namespace md
