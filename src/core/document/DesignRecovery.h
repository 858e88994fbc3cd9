#pragma once

#include "core/driverfile/DesignPartsFile.h"
#include "core/layout/LayoutDesign.h"
#include "core/layout/PointTracer.h"
#include "core/parameters/ConnectorTable.h"
#include "md/ModuleRecord.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace md {

class Clock;
class ModuleDesignDocument;
class ProgramFolder;

/// The recovery record of a design with unsaved work, in the program folder's temp/recovery/:
/// the driver file of the design's sections as far as they can be written, with the grid as it
/// stood when the tracing steps since began (a new, opened or finished layout, or tracing
/// started over), and those steps as trace-script lines ("click X Y", "mark X Y 1", "virtual
/// N", "undo"), and point-go's result, so a half-traced layout survives a killed process. Written
/// at most once per interval and after each completed scan row; a write after steps alone adds them
/// to the steps file, any other change writes every file anew, each atomically, and a record file
/// names the set that belongs together. Removed once the design is unmodified.
class DesignRecovery
{
public:
    static constexpr std::uint32_t kInterval = 30000;

    /// What a record found at start-up holds.
    struct Found
    {
        std::filesystem::path driverFile; ///< the record's driver file, to open
        std::filesystem::path original;   ///< the design's own file (empty for a new design)
        std::u16string name;              ///< the design's file name or module name
        std::filesystem::file_time_type time;
        std::vector<std::string> steps; ///< the trace-script lines to replay
        /// What a driver file does not hold: the wizard's module record (which gives the
        /// tracing its groups and rows) and the two connector tables.
        std::optional<ModuleRecord> record;
        ConnectorTable connectors;
        ConnectorTable layoutConnectors;
        /// The module size the background view was set up for (0 before it was).
        std::uint32_t backgroundWidth = 0;
        std::uint32_t backgroundHeight = 0;
        /// Point-go's result as PointGoResult::Describe gives it (empty without one).
        std::string pointGo;
    };

    DesignRecovery(ModuleDesignDocument& document, DesignFilePorts ports, const Clock& clock);
    /// A clean close: the record goes.
    ~DesignRecovery();
    DesignRecovery(const DesignRecovery&) = delete;
    DesignRecovery& operator=(const DesignRecovery&) = delete;

    static std::filesystem::path FolderOf(const ProgramFolder& folder);
    /// The record left by a run that ended without closing its design, if any.
    static std::optional<Found> Find(const ProgramFolder& folder);
    /// Deletes the record (No to restoring it).
    static void Discard(const ProgramFolder& folder);
    /// Brings back, on the record's driver file just opened, what the file does not hold, then
    /// starts the tracing afresh and replays the steps; the design keeps its own path and is
    /// unsaved. False at a step it cannot read.
    static bool Restore(ModuleDesignDocument& document, const Found& found);
    /// Replays trace-script steps; false at a line it cannot read.
    static bool Replay(PointTracer& tracer, const std::vector<std::string>& steps);

    /// Called from the view's timer: the record goes when the design is unmodified; it is
    /// written when the design is modified and the interval has passed or a scan row was
    /// completed since the last write.
    void Tick();
    /// Writes the record now; false when a file could not be written.
    bool Write();
    /// The layout was made, opened or restored: the steps start from the grid as it is now.
    void Rebase();
    /// The longest time between two writes while the design is modified (kInterval unless a
    /// test shortens it).
    void SetInterval(std::uint32_t milliseconds) { m_interval = milliseconds; }
    std::uint32_t Interval() const { return m_interval; }
    std::uint32_t WriteCount() const { return m_writes; }
    const std::vector<std::string>& Steps() const { return m_steps; }

private:
    void OnTracing(const PointTracer::Event& event);
    void Remove();
    /// Adds the steps taken since the last write to the steps file.
    bool AppendSteps();
    /// Writes every file of the record as a new generation.
    bool WriteWhole(std::uint64_t sections, std::vector<std::uint8_t> setup, std::string record,
                    std::string pointGo);
    std::vector<std::string> Prefix(const PointTracer& tracer) const;

    ModuleDesignDocument& m_document;
    DesignFilePorts m_ports;
    const Clock& m_clock;
    const PointTracer* m_baseTracer = nullptr;
    LayoutDesign m_base;
    std::vector<std::string> m_prefix;
    std::vector<std::string> m_steps;
    bool m_rowDue = false;
    bool m_rowWasComplete = false;
    bool m_onDisk = false;
    std::uint64_t m_baseId = 0; ///< counts the grids the steps began from
    /// What the record on disk holds: a write that finds the same adds only the new steps.
    struct Written
    {
        std::uint64_t generation = 0;
        std::uint64_t baseId = 0;
        std::uint64_t sections = 0;
        std::vector<std::uint8_t> setup;
        std::string record;
        std::string pointGo;
        std::size_t steps = 0;
    };
    Written m_written;
    std::uint32_t m_lastWrite = 0;
    std::uint32_t m_interval = kInterval;
    std::uint32_t m_writes = 0;
};

} // namespace md
