#pragma once

namespace md::artgen {

class PictureSet;

/// The plug-in's backgrounds and connector pictures: the cell canvas background, the module
/// picture, the empty pin box and one pin box per connector signal.
void AddPanelPictures(PictureSet& pictures);

} // namespace md::artgen
