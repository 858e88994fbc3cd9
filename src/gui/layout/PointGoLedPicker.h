#pragma once

#include "core/design/CellLed.h"

#include <QPoint>

#include <optional>
#include <vector>

class QWidget;

namespace md {

class CellDesign;

/// Point-go's choice among the candidate LEDs of one pixel (their indices in leds), made on the
/// parallel LED picker centred on the given point: the candidates drawn where they sit in the
/// cell with their numbers, over the cell's background. A click on one picks it; Escape picks
/// none.
std::optional<std::size_t> ChoosePointGoLed(const CellDesign& cell,
                                            const std::vector<CellLed>& leds,
                                            const std::vector<std::size_t>& candidates,
                                            QPoint centre, QWidget* parent);

} // namespace md
