#pragma once

#include <QString>

namespace md::artgen {

class PictureSet;

/// The top view of every light of the light list "Lightlibrary/lights.json" in the program
/// folder, saved under the light's name beside the list. False when the list cannot be read or
/// holds an unusable entry (the reason goes to stderr).
bool AddLightPictures(PictureSet& pictures, const QString& programFolder);

} // namespace md::artgen
