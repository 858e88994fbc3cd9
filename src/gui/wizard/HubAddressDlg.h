#pragma once

#include "core/wizard/HubAddressArranger.h"
#include "core/wizard/SmartWizard.h"

#include <QDialog>

class QComboBox;
class QTableWidget;

namespace md {

class CommandChannel;

/// The HUB connector address dialog (20110): the connector and scan-row addresses point
/// lighting uses, and the arrangement of the multi-clock connector slots, dragged by letter.
class HubAddressDlg : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kResourceId = 20110;

    /// Both addresses are written through the pointers as soon as a combo changes. A pressed
    /// slot is lit through the channel with the wizard's polarities and scan rows.
    HubAddressDlg(std::int32_t* connectorAddress, std::int32_t* scanRowAddress,
                  ConnectorTable& table, int multiClock, const WizardMemory& memory,
                  CommandChannel& channel, QWidget* parent = nullptr);

    QTableWidget* Grid() const { return m_grid; }
    /// Presses and drops on grid cells (row and column 0 are the headers), as the mouse does.
    void PressCell(int row, int column);
    void DropOnCell(int row, int column);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FillGrid();

    std::int32_t* m_connector;
    std::int32_t* m_scanRow;
    ConnectorTable& m_table;
    const WizardMemory& m_memory;
    CommandChannel& m_channel;
    HubAddressArranger m_arranger;
    int m_size;
    QTableWidget* m_grid = nullptr;
};

} // namespace md
