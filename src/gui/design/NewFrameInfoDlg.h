#pragma once

#include <QPixmap>
#include <QWidget>

#include <map>

namespace md {

class SocketDesign;

/// Draws the socket as two columns of pin boxes (frame picture, signal picture, pin number)
/// and selects a pin on a pointer press. The socket model belongs to the page.
class NewFrameInfoDlg : public QWidget
{
    Q_OBJECT
public:
    static constexpr QRgb kBackground = 0x333333;

    NewFrameInfoDlg(SocketDesign& socket, QWidget* parent = nullptr);

    /// Drops cached pictures (after the picture folder changed).
    void ReloadPictures();

signals:
    void PinSelected(int pin);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    const QPixmap& Picture(const QString& fileName);

    SocketDesign& m_socket;
    std::map<QString, QPixmap> m_pictures;
};

} // namespace md
