#pragma once

#include <QAbstractTableModel>

namespace md {

class LayoutModel;

/// The layout grid's pixels as a table: row y, column x. Headers number rows and columns from
/// 1; a traced pixel shows its tracing ordinal on light red, the others are light green.
class LedLayoutTableModel final : public QAbstractTableModel
{
public:
    /// Role under which a cell hands the delegate the index of its pixel in the point list.
    static constexpr int kPixelRole = Qt::UserRole + 1;

    explicit LedLayoutTableModel(const LayoutModel& layout, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    /// The points changed: views repaint what they show.
    void Refresh();
    /// The point list itself was replaced (a restored layout).
    void Rebuild();

private:
    const LayoutModel& m_layout;
};

} // namespace md
