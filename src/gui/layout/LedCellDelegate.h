#pragma once

#include <QStyledItemDelegate>

namespace md {

class LayoutModel;

/// Paints one pixel cell: its background, the LEDs of its cell slot scaled into the cell (only
/// the LEDs visible at this pixel; inactive ones as outlines), and the tracing ordinal.
class LedCellDelegate final : public QStyledItemDelegate
{
public:
    explicit LedCellDelegate(const LayoutModel& layout, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

    /// Number of cells painted so far (for measuring that only visible cells are painted).
    std::uint64_t Painted() const { return m_painted; }

private:
    const LayoutModel& m_layout;
    mutable std::uint64_t m_painted = 0;
};

} // namespace md
