#pragma once

namespace md::artgen {

class PictureSet;

/// The application icon for the desktop entry: a module's LED matrix on its dark board, one
/// traced serpentine chain lit across it.
void AddAppIcon(PictureSet& pictures);

} // namespace md::artgen
