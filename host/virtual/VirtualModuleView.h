#pragma once

#include "VirtualModule.h"

#include <QWidget>

namespace md::host {

/// Draws what the virtual module shows: its LEDs as dots on a dark board, and a caption.
class VirtualModuleView : public QWidget
{
    Q_OBJECT
public:
    explicit VirtualModuleView(VirtualModule module, QWidget* parent = nullptr);

    /// Shows the module's answer to the command pair in the area's bytes (32 bytes).
    void ShowArea(const QByteArray& bytes);
    const VirtualModule::Frame& Current() const { return m_frame; }
    const VirtualModule& Module() const { return m_module; }
    /// Shows the LED the point-go test device lights: data group, scan row, position from 1
    /// and the LED within the pixel's cell.
    void ShowPointGo(int group, int scanRow, int position, int led);
    QSize sizeHint() const override { return {360, 240}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    VirtualModule m_module;
    VirtualModule::Frame m_frame;
};

} // namespace md::host
