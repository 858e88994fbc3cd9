#pragma once

#include <QAbstractTableModel>

namespace md {

class ModuleTransform;

/// One of the transform dialog's grids: the source (green where an LED sits) or the result
/// (green with "x,y" of the 1-based source position), grey elsewhere. Only what a view asks for
/// is computed, so a 256 x 256 module opens at once.
class TransformGridModel final : public QAbstractTableModel
{
public:
    TransformGridModel(const ModuleTransform& transform, bool result, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    /// The transform changed: the grid is laid out again.
    void Reset();

private:
    const ModuleTransform& m_transform;
    bool m_result;
};

} // namespace md
