#include "gui/layout/LedLayoutTableModel.h"

#include "core/layout/LayoutModel.h"

#include <QColor>

namespace md {

LedLayoutTableModel::LedLayoutTableModel(const LayoutModel& layout, QObject* parent)
    : QAbstractTableModel(parent), m_layout(layout)
{}

int LedLayoutTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_layout.Height());
}

int LedLayoutTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_layout.Width());
}

QVariant LedLayoutTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const std::int32_t pixel = m_layout.IndexOf(index.column(), index.row());
    if (pixel < 0)
        return {};
    const LedPoint& point = m_layout.Points()[static_cast<std::size_t>(pixel)];
    const std::uint32_t position =
        static_cast<std::size_t>(pixel) < m_order.size() ? m_order[std::size_t(pixel)] : 0;
    if (point.label == 0 && position != 0) {
        if (role == Qt::DisplayRole)
            return QString::number(position);
        if (role == Qt::BackgroundRole)
            return QColor(208, 228, 255);
    }
    switch (role) {
    case Qt::DisplayRole:
        return point.label ? QString::number(point.label) : QString();
    case Qt::BackgroundRole:
        return point.label ? QColor(255, 208, 208) : QColor(208, 255, 208);
    case Qt::TextAlignmentRole:
        return int(Qt::AlignCenter);
    case kPixelRole:
        return pixel;
    default:
        return {};
    }
}

QVariant LedLayoutTableModel::headerData(int section, Qt::Orientation, int role) const
{
    if (role == Qt::DisplayRole)
        return QString::number(section + 1);
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    return {};
}

void LedLayoutTableModel::Refresh()
{
    if (rowCount() > 0 && columnCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

void LedLayoutTableModel::ShowOrder(std::vector<std::uint32_t> order)
{
    m_order = std::move(order);
    Refresh();
}

void LedLayoutTableModel::Rebuild()
{
    beginResetModel();
    endResetModel();
}

} // namespace md
