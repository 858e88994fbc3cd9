#pragma once

#include "core/driverfile/DesignPartsFile.h"
#include "core/layout/LayoutRange.h"

namespace md {

class ModuleDesignDocument;

/// The open design's parts for its driver file.
class DesignFile
{
public:
    /// The range of a whole W x H module: origin 0, every pixel inside, no split.
    static LayoutRange WholeModule(std::uint32_t width, std::uint32_t height);

    /// The document's layout section for a range, taken from its grid (an empty layout when it
    /// has none). The grid and its layout result stay as they are.
    static LayoutDesign CaptureLayout(ModuleDesignDocument& document, const LayoutRange& range);

    /// The open design's parts for a save: module information, socket, the whole layout and
    /// the background.
    static DesignParts PartsOf(ModuleDesignDocument& document);
};

} // namespace md
