#pragma once

namespace md::artgen {

class PictureSet;

/// The pixel decomposition pictures: for each colour and mode a 2 x 2 block of pixels showing in
/// which of them an LED of that colour lights, and the shared picture of the mode without LEDs.
void AddDecompositionPictures(PictureSet& pictures);

} // namespace md::artgen
