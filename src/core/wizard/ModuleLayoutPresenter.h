#pragma once

#include "core/design/CellDesignPresenter.h"

#include <functional>
#include <memory>

namespace md {

/// The logic of the layout step that is not tied to its window. So far: it owns the cell design
/// for its whole lifetime (created on first use, kept between openings).
class ModuleLayoutPresenter
{
public:
    /// Shows the cell design modally; the dialog's own buttons confirm or reset the model.
    using CellDialogRunner = std::function<void(CellDesignPresenter&)>;

    /// cell: the design's cell model; the cell design keeps its own when none is given.
    ModuleLayoutPresenter(CellDesignPresenter::Ports ports, ProgramFolder folder,
                          md::CellDesign* cell = nullptr);

    /// The cell design, created on first use.
    CellDesignPresenter& CellDesign();
    /// The cell design if it was ever used.
    const CellDesignPresenter* CellDesignIfAny() const { return m_cellDesign.get(); }

    /// Runs the cell design and returns the pixel count of the cell. An existing cell is only
    /// opened again when the user wants to go on editing it.
    int RunCellDesign(const CellDialogRunner& run);

private:
    CellDesignPresenter::Ports m_ports;
    ProgramFolder m_folder;
    md::CellDesign* m_cell = nullptr;
    std::unique_ptr<CellDesignPresenter> m_cellDesign;
};

} // namespace md
