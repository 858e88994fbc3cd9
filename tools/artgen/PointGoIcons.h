#pragma once

namespace md::artgen {

class PictureSet;

/// The toolbar pictures of the work-area and point-go commands of the layout step.
void AddPointGoIcons(PictureSet& pictures);

} // namespace md::artgen
