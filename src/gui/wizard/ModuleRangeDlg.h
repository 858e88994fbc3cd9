#pragma once

#include <QDialog>

class QCheckBox;
class QTableView;

namespace md {

class RangeSelection;

/// The real-range dialog (20113): the module's pixels as a grid in which the user selects the
/// part of the module that is really there.
class ModuleRangeDlg : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kResourceId = 20113;

    ModuleRangeDlg(RangeSelection& selection, QWidget* parent = nullptr);
    QTableView* Grid() const { return m_grid; }

private:
    void Confirm();

    RangeSelection& m_selection;
    QTableView* m_grid = nullptr;
    QCheckBox* m_replace = nullptr;
};

} // namespace md
