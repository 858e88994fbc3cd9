#include "wizard/ModuleLayoutDlg.h"

#include "design/CCellDesignCtrl.h"
#include "platform/QtFileChooser.h"
#include "platform/QtPrompter.h"
#include "ui/ProgramFolderLocator.h"
#include "ui/ResourceId.h"

#include <QApplication>

namespace md {

namespace {

/// The window that message boxes and file dialogs belong to: the modal dialog in front.
QWidget* FrontWindow()
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

class FrontPrompter final : public Prompter
{
public:
    PromptAnswer Ask(PromptButtons buttons, const std::u16string& caption,
                     const std::u16string& text) override
    {
        return QtPrompter(FrontWindow()).Ask(buttons, caption, text);
    }
};

class FrontFileChooser final : public FileChooser
{
public:
    std::optional<std::filesystem::path> ChooseOpen(const FileRequest& request) override
    {
        return QtFileChooser(FrontWindow()).ChooseOpen(request);
    }
    std::optional<std::filesystem::path> ChooseSave(const FileRequest& request) override
    {
        return QtFileChooser(FrontWindow()).ChooseSave(request);
    }
};

} // namespace

ModuleLayoutDlg::ModuleLayoutDlg(QWidget* parent, CellDesignPresenter::LightSource lights)
    : QDialog(parent), m_prompter(std::make_unique<FrontPrompter>()),
      m_chooser(std::make_unique<FrontFileChooser>())
{
    SetResourceId(this, kResourceId);
    if (!lights)
        lights = &HostLink::Lights;
    m_presenter = std::make_unique<ModuleLayoutPresenter>(
        CellDesignPresenter::Ports{*m_prompter, m_texts, m_codec, *m_chooser, std::move(lights)},
        LocateProgramFolder());
}

ModuleLayoutDlg::~ModuleLayoutDlg()
{
    // The dialog works on the presenter's model: it goes first.
    delete m_cellDesign;
}

int ModuleLayoutDlg::RunCellDesign()
{
    return m_presenter->RunCellDesign([this](CellDesignPresenter& cell) {
        if (!m_cellDesign)
            m_cellDesign = new CCellDesignCtrl(cell, this);
        m_cellDesign->Run();
    });
}

} // namespace md
