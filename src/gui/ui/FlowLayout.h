#pragma once

#include <QLayout>
#include <QList>

namespace md {

/// Lays its items out left to right at their preferred widths, going on to the next line where
/// an item does not fit, so that nothing is cut short in a narrow window. The last item may be a
/// filler: it takes the rest of its line, or a line of its own when less than its minimum width
/// is left, and its height follows its width (a word-wrapping label grows by lines).
class FlowLayout final : public QLayout
{
public:
    explicit FlowLayout(QWidget* parent = nullptr, int spacing = 6);
    ~FlowLayout() override;

    void addItem(QLayoutItem* item) override;
    /// Adds the filler, after every other item.
    void AddFiller(QWidget* widget);

    int count() const override { return static_cast<int>(m_items.size()); }
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    Qt::Orientations expandingDirections() const override { return {}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void setGeometry(const QRect& rect) override;

private:
    /// Places the items within rect (only measures when not applying); the height used.
    int Arrange(const QRect& rect, bool apply) const;

    QList<QLayoutItem*> m_items;
    QLayoutItem* m_filler = nullptr;
    int m_gap;
};

} // namespace md
