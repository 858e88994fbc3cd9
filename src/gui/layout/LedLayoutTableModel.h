#pragma once

#include <QAbstractTableModel>

#include <cstdint>
#include <vector>

namespace md {

class LayoutModel;

/// The layout grid's pixels as a table: row y, column x. Headers number rows and columns from
/// 1; a traced pixel shows its tracing ordinal on light red, the others are light green. A
/// layout read from a file shows each pixel's output position on light blue until tracing
/// starts again.
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
    /// Output positions per point (index as in the layout's point list, 0 for none); an empty
    /// list shows none.
    void ShowOrder(std::vector<std::uint32_t> order);
    bool ShowsOrder() const { return !m_order.empty(); }

private:
    const LayoutModel& m_layout;
    std::vector<std::uint32_t> m_order;
};

} // namespace md
