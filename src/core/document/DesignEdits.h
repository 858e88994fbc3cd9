#pragma once

#include "core/design/BackgroundDesign.h"
#include "core/document/UndoStack.h"
#include "core/layout/PointTracer.h"
#include "core/parameters/ConnectorTable.h"

#include <functional>
#include <optional>

namespace md {

class ModuleDesignDocument;

/// The design's undo history: every view makes its edits through here (or, for tracing, the
/// tracer reports its steps), and Ctrl+Z / Ctrl+Y in any view reach the same stack. Small
/// edits keep the part they changed before and after (the socket's pins, the two markers, the
/// connector table, the cell's slots and pictures); tracing steps keep only the step, undone by
/// the tracer's own undo and done again through the tracer, so deduction runs as by hand.
class DesignEdits
{
public:
    explicit DesignEdits(ModuleDesignDocument& document);

    UndoStack& Stack() { return m_stack; }
    const UndoStack& Stack() const { return m_stack; }
    /// Undo and redo; a tracing step is neither undone nor redone while point-go holds the
    /// layout (its Ctrl+Z steps back point-go's last LED instead).
    bool Undo();
    bool Redo();

    /// Runs an edit of the socket's pins and keeps it when the pins changed; returns the
    /// edit's own result.
    bool Socket(const std::function<bool()>& edit);
    /// Runs an edit of the cell (its slots, pictures, background or size) and keeps it when
    /// the cell changed.
    bool Cell(const std::function<bool()>& edit);
    /// Runs an arrangement of the HUB connectors and keeps it when the design's connector
    /// table or the layout's copy of it changed.
    void Connectors(const std::function<void()>& edit);
    /// Runs an edit of the grid's marks as a whole (point-go's mark all and unmark all) and
    /// keeps it when a mark changed; undone and redone through the tracer, so the recovery
    /// record hears of it.
    void Marks(const std::function<void()>& edit);
    /// A marker drag starts (the left button went down on the background view) ...
    void MarkersPressed();
    /// ... and ends: one edit for the whole drag when a marker moved.
    void MarkersReleased();

    /// The tracer's step report, connected when the layout is made.
    void OnTracing(const PointTracer::Event& event);

private:
    ModuleDesignDocument& m_document;
    UndoStack m_stack;
    std::optional<std::pair<BackgroundDesign::Point, BackgroundDesign::Point>> m_dragStart;
};

} // namespace md
