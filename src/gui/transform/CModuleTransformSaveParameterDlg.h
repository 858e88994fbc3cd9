#pragma once

#include "core/transform/TransformPresenter.h"

#include <QDialog>

#include <optional>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace md {

class FileChooser;

/// The save-option dialog (20117): whether to save the combined file, and the HUB file to
/// combine with (browse enabled only while the box is checked; OK refuses a missing file).
class CModuleTransformSaveParameterDlg : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kResourceId = 20117;

    CModuleTransformSaveParameterDlg(FileChooser& chooser, QWidget* parent = nullptr);

    /// Runs modally; the options on OK.
    std::optional<TransformSaveOptions> Run();
    QCheckBox* CombineBox() const { return m_combine; }
    QLineEdit* HubField() const { return m_hub; }
    QPushButton* BrowseButton() const { return m_browse; }

private:
    void Confirm();

    FileChooser& m_chooser;
    QCheckBox* m_combine = nullptr;
    QLineEdit* m_hub = nullptr;
    QPushButton* m_browse = nullptr;
};

} // namespace md
