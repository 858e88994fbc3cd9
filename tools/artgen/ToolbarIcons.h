#pragma once

namespace md::artgen {

class PictureSet;

/// The layout step's 28 x 28 toolbar icons: zoom in and out, undo, finish, options and
/// insert virtual points, drawn in one line weight and palette.
void AddToolbarIcons(PictureSet& pictures);

} // namespace md::artgen
