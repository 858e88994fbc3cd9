#pragma once

class QObject;

namespace md {

/// Windows and controls carry their numeric resource identifier (decimal) as their objectName,
/// so tests and automation can find them.
void SetResourceId(QObject* object, int id);

} // namespace md
