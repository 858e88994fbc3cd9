#include "gui/transform/TransformGridModel.h"

#include "core/transform/ModuleTransform.h"

#include <QColor>

namespace md {

TransformGridModel::TransformGridModel(const ModuleTransform& transform, bool result,
                                       QObject* parent)
    : QAbstractTableModel(parent), m_transform(transform), m_result(result)
{}

int TransformGridModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return static_cast<int>(m_result ? m_transform.ResultHeight() : m_transform.SourceHeight());
}

int TransformGridModel::columnCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return static_cast<int>(m_result ? m_transform.ResultWidth() : m_transform.SourceWidth());
}

QVariant TransformGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const std::uint32_t key = static_cast<std::uint32_t>(index.column()) |
                              (static_cast<std::uint32_t>(index.row()) << 16);
    bool led = false;
    std::uint32_t source = 0;
    if (m_result) {
        const std::optional<std::uint32_t> found = m_transform.SourceAt(key);
        led = found.has_value();
        source = found.value_or(0);
    } else {
        led = m_transform.IsSourcePoint(key);
    }
    switch (role) {
    case Qt::BackgroundRole:
        return led ? QColor(0x00, 0xA0, 0x00) : QColor(0x96, 0x96, 0x96);
    case Qt::DisplayRole:
        if (m_result && led)
            return QString::asprintf("%d,%d", int(source & 0xFFFF) + 1, int(source >> 16) + 1);
        return {};
    case Qt::TextAlignmentRole:
        return int(Qt::AlignCenter);
    default:
        return {};
    }
}

QVariant TransformGridModel::headerData(int section, Qt::Orientation, int role) const
{
    return role == Qt::DisplayRole ? QVariant(QString::asprintf("%d", section + 1)) : QVariant();
}

void TransformGridModel::Reset()
{
    beginResetModel();
    endResetModel();
}

} // namespace md
