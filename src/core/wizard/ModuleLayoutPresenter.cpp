#include "core/wizard/ModuleLayoutPresenter.h"

namespace md {

ModuleLayoutPresenter::ModuleLayoutPresenter(CellDesignPresenter::Ports ports, ProgramFolder folder,
                                             md::CellDesign* cell)
    : m_ports(std::move(ports)), m_folder(std::move(folder)), m_cell(cell)
{}

CellDesignPresenter& ModuleLayoutPresenter::CellDesign()
{
    if (!m_cellDesign)
        m_cellDesign = std::make_unique<CellDesignPresenter>(m_ports, m_folder, m_cell);
    return *m_cellDesign;
}

int ModuleLayoutPresenter::RunCellDesign(const CellDialogRunner& run)
{
    const bool existed = m_cellDesign != nullptr;
    CellDesignPresenter& cell = CellDesign();
    bool open = true;
    if (existed && cell.Model().HasLeds()) {
        const PromptAnswer answer = m_ports.prompter.Ask(
            PromptButtons::YesNo, m_ports.texts.Text("ID_PROMPT"),
            m_ports.texts.TextOr("ID_MODULE_UNIT_DESIGNED_EDIT_CONTINUE",
                                 u"The cell is already designed. Edit it again?"));
        open = answer == PromptAnswer::Yes;
    }
    if (open)
        run(cell);
    return cell.Model().PixelCount();
}

} // namespace md
