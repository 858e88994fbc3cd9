#pragma once

#include "platform/QtPictureCodec.h"
#include "plugin/HostTexts.h"
#include "wizard/ModuleLayoutPresenter.h"

#include <QDialog>

#include <memory>

namespace md {

class CCellDesignCtrl;

/// The layout step (dialog 20006). For now the object only: it owns the cell design for its
/// whole lifetime and runs it for the design panel; its window comes with the layout grid.
class ModuleLayoutDlg : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kResourceId = 20006;

    /// lights: the light library; the host's record set when not given.
    explicit ModuleLayoutDlg(QWidget* parent = nullptr,
                             CellDesignPresenter::LightSource lights = {});
    ~ModuleLayoutDlg() override;

    ModuleLayoutPresenter& Presenter() { return *m_presenter; }
    /// The cell design dialog; created on first use.
    CCellDesignCtrl* CellDesignCtrl() const { return m_cellDesign; }
    /// Runs the cell design (asking first when a cell exists) and returns its pixel count.
    int RunCellDesign();

private:
    std::unique_ptr<Prompter> m_prompter;
    std::unique_ptr<FileChooser> m_chooser;
    HostTexts m_texts;
    QtPictureCodec m_codec;
    std::unique_ptr<ModuleLayoutPresenter> m_presenter;
    CCellDesignCtrl* m_cellDesign = nullptr;
};

} // namespace md
