#pragma once

#include "core/design/ParallelLedPicker.h"
#include "gui/design/CellPictureCache.h"

#include <QDialog>

namespace md {

/// The parallel LED picker: a 90 % opaque 256 x 256 window centred on the pointer that shows the
/// LEDs of one colour of the traced pixel with their group numbers; a click on one closes it with
/// confirm.
class ParallelLEDSelectedCtrl : public QDialog
{
    Q_OBJECT
public:
    explicit ParallelLEDSelectedCtrl(QWidget* parent = nullptr);

    ParallelLedPicker& Picker() { return m_picker; }
    /// Clears the last pick, places the window and runs it modally.
    int Run();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    ParallelLedPicker m_picker;
    CellPictureCache m_pictures;
};

} // namespace md
