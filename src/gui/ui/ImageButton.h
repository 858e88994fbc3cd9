#pragma once

#include <QAbstractButton>
#include <QPixmap>

namespace md {

/// A square button drawn from a picture file, with hover, pressed and disabled looks.
class ImageButton : public QAbstractButton
{
    Q_OBJECT
public:
    ImageButton(const QString& imagePath, int size, QWidget* parent = nullptr);

    QSize sizeHint() const override { return {m_size, m_size}; }
    bool HasPicture() const { return !m_picture.isNull(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QPixmap m_picture;
    int m_size;
    bool m_hover = false;
};

} // namespace md
