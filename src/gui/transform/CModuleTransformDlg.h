#pragma once

#include "core/transform/TransformPresenter.h"
#include "gui/platform/QtDesignPorts.h"

#include <QDialog>

#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QTableView;

namespace md {

class TransformGridModel;

/// The module transform dialog (20116): a driver or combined file opened, its LEDs mirrored,
/// scaled and rotated, the source and the result side by side in two grids with their figures,
/// and the result saved or tested on the controller.
class CModuleTransformDlg : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kResourceId = 20116;
    enum ControlId
    {
        kOpen = 20568,
        kSave = 20571,
        kTest = 20580,
        kTransform = 20581,
        kResultLarger = 20593,
        kResultSmaller = 20594,
        kSourceSmaller = 20596,
        kSourceLarger = 20597,
    };

    /// programFolder: where "temp" lies for the extracted and the test files.
    explicit CModuleTransformDlg(const std::filesystem::path& programFolder,
                                 QWidget* parent = nullptr);
    ~CModuleTransformDlg() override;

    TransformPresenter& Presenter() { return *m_presenter; }
    QTableView* SourceGrid() const { return m_sourceGrid; }
    QTableView* ResultGrid() const { return m_resultGrid; }
    /// The figures shown: "W x H, N LEDs, V valid" before and after.
    QString SourceFigures() const;
    QString ResultFigures() const;
    /// Opens a file as the "..." button does after its dialog.
    bool OpenPath(const std::filesystem::path& path);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    TransformSettings Settings() const;
    void ShowSource();
    void ShowResult();
    static void ZoomGrid(QTableView* grid, int step);

    QtDesignPorts m_ports;
    std::unique_ptr<TransformPresenter> m_presenter;
    TransformGridModel* m_sourceModel = nullptr;
    TransformGridModel* m_resultModel = nullptr;
    QTableView* m_sourceGrid = nullptr;
    QTableView* m_resultGrid = nullptr;
    QLabel* m_sourceFigures = nullptr;
    QLabel* m_resultFigures = nullptr;
    QCheckBox* m_mirrorX = nullptr;
    QCheckBox* m_mirrorY = nullptr;
    QCheckBox* m_zoomXOn = nullptr;
    QCheckBox* m_zoomYOn = nullptr;
    QComboBox* m_angle = nullptr;
    QComboBox* m_zoomX = nullptr;
    QComboBox* m_zoomY = nullptr;
};

} // namespace md
