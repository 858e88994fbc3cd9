#pragma once

#include <cstdint>

namespace md {

class ModuleDesignDocument;

/// A 64-bit digest of everything a design holds that the user would lose by closing it: the
/// module information, the socket's signals, the background's size, markers and picture, the
/// cell, the connector table, the grid's points and every step of tracing. What only a view
/// holds (zoom and the drawn cell size, scroll, selection, the highlighted pixel, the layer
/// shown) is left out, so
/// moving about a design never makes it modified, and undoing back to the saved design makes
/// it unmodified again.
class DesignFingerprint
{
public:
    static std::uint64_t Of(const ModuleDesignDocument& document);
    /// The same of everything but the grid and its tracing: cheap on the largest module.
    static std::uint64_t OfSections(const ModuleDesignDocument& document);
};

} // namespace md
