#include "gui/layout/PointGoLedPicker.h"

#include "core/design/CellDesign.h"
#include "gui/design/ParallelLEDSelectedCtrl.h"

namespace md {

std::optional<std::size_t> ChoosePointGoLed(const CellDesign& cell,
                                            const std::vector<CellLed>& leds,
                                            const std::vector<std::size_t>& candidates,
                                            QPoint centre, QWidget* parent)
{
    if (candidates.empty())
        return std::nullopt;
    ParallelLEDSelectedCtrl window(parent);
    ParallelLedPicker& picker = window.Picker();
    picker.SetLeds(leds);
    picker.SetOffered(candidates);
    picker.SetImages(cell.Images());
    picker.SetBackground(cell.Background());
    picker.SetCentre({centre.x(), centre.y()});
    if (window.Run() != QDialog::Accepted)
        return std::nullopt;
    return picker.PickedIndex();
}

} // namespace md
