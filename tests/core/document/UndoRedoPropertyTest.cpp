// Random runs of edits in every view, undos and redos: each undo and redo lands exactly on the
// design it stood for, undoing everything gives back the starting design and redoing everything
// the end, and the design counts as modified exactly when it differs from the saved one.
#include "DesignCycleFixture.h"

#include "core/document/DesignFingerprint.h"
#include "core/driverfile/DriverFile.h"

#include <map>
#include <random>

namespace md::test {
namespace {

class UndoRedoPropertyTest : public DesignCycleFixture
{
protected:
    std::uint32_t Pick(std::uint32_t low, std::uint32_t high)
    {
        return std::uniform_int_distribution<std::uint32_t>(low, high)(random);
    }
    std::uint64_t Print() const { return DesignFingerprint::Of(*document); }
    /// The driver file outside its identity block, written with the grid's highlight on the
    /// first point: the highlight follows where the user looks, which undo does not keep.
    std::vector<std::uint8_t> Bytes(const std::string& name)
    {
        document->Layout().SetCurrent(0);
        const auto path = m_root / name;
        EXPECT_TRUE(step->WriteDriverFile(path));
        auto bytes = *fileio::ReadAll(path);
        bytes.resize(bytes.size() - DriverFile::kIdentitySize);
        return bytes;
    }

    /// A half-traced 16 x 8 module with a socket, saved; the history starts here.
    void Start()
    {
        ASSERT_EQ(HandOver(Record()), 0);
        CompleteSocket();
        ASSERT_TRUE(step->NewLayout());
        document->Tracer()->Create();
        for (int x = 0; x < 6; ++x)
            document->Tracer()->Click(x, 0);
        document->Edits().Stack().Clear();
        document->SetRefreshScheduler([this] { refreshDue = true; });
        document->SetModifiedHandler([this](bool modified) { reported = modified; });
        document->MarkSaved();
        saved = Print();
    }

    /// One random edit in one of the views (or on the tracer); returns its name.
    const char* Edit()
    {
        DesignEdits& edits = document->Edits();
        PointTracer& tracer = *document->Tracer();
        switch (Pick(0, 12)) {
        case 0:
            edits.Socket([&] {
                document->Socket().Select(static_cast<int>(Pick(0, 15)));
                return document->Socket().Assign(static_cast<int>(Pick(0, 11)));
            });
            return "assign a pin";
        case 1:
            edits.Socket([&] {
                document->Socket().Select(static_cast<int>(Pick(0, 15)));
                return document->Socket().Clear();
            });
            return "clear a pin";
        case 2: {
            // A drag of many moves is one edit.
            BackgroundDesign& background = document->Background();
            edits.MarkersPressed();
            for (std::uint32_t i = Pick(1, 5); i > 0; --i)
                background.SetPoints(
                    {background.Point1().x + static_cast<int>(Pick(0, 4)) - 2,
                     background.Point1().y},
                    {background.Point2().x, background.Point2().y + static_cast<int>(Pick(0, 2))});
            edits.MarkersReleased();
            return "drag a marker";
        }
        case 3: {
            ConnectorTable table;
            table.rows = Pick(1, 3);
            table.columns = Pick(1, 3);
            for (std::uint32_t r = 0; r < table.rows; ++r)
                for (std::uint32_t c = 0; c < table.columns; ++c)
                    table.cells[r][c] = static_cast<std::int32_t>(Pick(0, 5));
            edits.Connectors([&] {
                document->Connectors() = table;
                if (Pick(0, 1) == 1)
                    step->TakeConnectorTable();
            });
            return "arrange the connectors";
        }
        case 4:
            edits.Cell([&] {
                CellDesign& cell = document->Cell();
                switch (Pick(0, 2)) {
                case 0: {
                    CellLed led;
                    led.widthTenthMm = led.heightTenthMm = 20;
                    led.x = static_cast<std::uint16_t>(Pick(0, 200));
                    led.y = static_cast<std::uint16_t>(Pick(0, 200));
                    led.colour = static_cast<std::uint16_t>(Pick(0, 2));
                    led.name = u"led";
                    cell.Append(led);
                    return true;
                }
                case 1:
                    cell.SetCellSize(static_cast<std::uint16_t>(Pick(50, 200)));
                    return true;
                default:
                    if (cell.Current() == nullptr || cell.Current()->empty())
                        return false;
                    cell.Current()->front().selected = 1;
                    const bool moved = cell.Move(CellMove::Right);
                    cell.DeselectAll();
                    return moved;
                }
            });
            return "edit the cell";
        case 5:
        case 6:
            // Mostly the next position of the top row, so that rows complete and deduce.
            if (Pick(0, 9) > 0) {
                int x = 0;
                for (const LedPoint& p : document->Layout().Points())
                    if (p.y == 0 && p.traced != 0)
                        x = std::max(x, static_cast<int>(p.x) + 1);
                tracer.Click(x % 16, 0);
            } else {
                tracer.Click(static_cast<int>(Pick(0, 15)), static_cast<int>(Pick(0, 7)));
            }
            return "trace";
        case 7:
            if (Pick(0, 1) == 0) {
                tracer.InsertVirtual(Pick(1, 3));
                return "insert virtual points";
            }
            [[fallthrough]];
        case 8:
            tracer.Analyse(true);
            return "finish";
        case 9:
        case 10: {
            // The paint or erase marks mode: a click marks or unmarks, and may trace as well; a
            // drag over several pixels is one edit, whatever it marked or traced.
            edits.Stack().BeginMacro();
            tracer.SetEditMode(Pick(2, 3));
            for (std::uint32_t i = Pick(1, 6); i > 0; --i)
                tracer.Click(static_cast<int>(Pick(0, 15)), static_cast<int>(Pick(0, 7)));
            tracer.SetEditMode(0);
            edits.Stack().EndMacro();
            return "paint or erase a drag";
        }
        case 11:
            edits.Marks([&] { tracer.MarkAll(Pick(0, 1) == 1); });
            return "mark or unmark all";
        default:
            tracer.Undo();
            return "repeat button";
        }
    }

    /// Looks at a burst of changes as the event loop would, then checks the modified state.
    void CheckModified(const std::string& what)
    {
        if (refreshDue) {
            refreshDue = false;
            document->Refresh();
        }
        EXPECT_EQ(reported, Print() != saved) << what;
        EXPECT_EQ(document->Modified(), Print() != saved) << what;
    }

    std::mt19937 random;
    bool refreshDue = false;
    bool reported = false;
    std::uint64_t saved = 0;
};

TEST_F(UndoRedoPropertyTest, EveryUndoAndRedoLandsOnTheDesignItStoodFor)
{
    std::map<std::string, int> kept;
    for (unsigned seed = 1; seed <= 25; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        random.seed(seed);
        MakeDocument();
        reported = refreshDue = false;
        Start();
        const UndoStack& stack = document->Edits().Stack();
        const auto startBytes = Bytes("start.MDR");
        // states[i] is the design with i edits done.
        std::vector<std::uint64_t> states{Print()};
        bool restarted = false;
        std::vector<std::string> kinds;
        for (int step = 0; step < 120; ++step) {
            const std::size_t before = stack.UndoCount();
            const std::uint64_t print = Print();
            std::string what;
            const std::uint32_t choice = Pick(0, 9);
            if (choice < 2) {
                what = "undo";
                document->Edits().Undo();
            } else if (choice < 4) {
                what = "redo";
                document->Edits().Redo();
            } else {
                what = Edit();
            }
            what += " at step " + std::to_string(step);
            const std::size_t after = stack.UndoCount();
            const bool repeat = what.rfind("repeat", 0) == 0;
            if ((stack.UndoCount() == 0 && stack.RedoCount() == 0 && before > 0) ||
                (repeat && after == before)) {
                // The repeat button took back a step from before the history: it starts over.
                states = {Print()};
                kinds.clear();
                restarted = true;
            } else if (what.rfind("undo", 0) == 0 || what.rfind("redo", 0) == 0 ||
                       after + 1 == before) {
                ASSERT_EQ(Print(), states.at(after))
                    << what << " of " << (after < kinds.size() ? kinds[after] : "-");
            } else if (after == before + 1) {
                ASSERT_EQ(stack.RedoCount(), 0u) << what << ": a new edit drops the redo tail";
                states.resize(before + 1);
                states.push_back(Print());
                ++kept[what.substr(0, what.find(" at step"))];
                kinds.resize(before);
                kinds.push_back(what);
            } else {
                // An edit that kept nothing must have changed nothing.
                ASSERT_EQ(Print(), print) << what;
            }
            CheckModified(what);
            if (step == 60 && Pick(0, 1) == 1) {
                document->MarkSaved();
                saved = Print();
            }
        }
        // The end is the last edit kept: what was undone last is done again first.
        while (document->Edits().Redo()) {
            ASSERT_EQ(Print(), states.at(stack.UndoCount())) << "redoing the tail";
            CheckModified("redoing the tail");
        }
        const std::uint64_t end = Print();
        ASSERT_EQ(end, states.back());
        const auto endBytes = Bytes("end.MDR");
        while (document->Edits().Undo()) {
            ASSERT_EQ(Print(), states.at(stack.UndoCount()))
                << "undoing " << kinds.at(stack.UndoCount()) << " at " << stack.UndoCount()
                << " after "
                << (stack.UndoCount() + 1 < kinds.size() ? kinds[stack.UndoCount() + 1] : "");
            CheckModified("undoing all");
        }
        EXPECT_EQ(Print(), states.front());
        EXPECT_EQ(stack.RedoCount(), states.size() - 1);
        if (!restarted) {
            EXPECT_EQ(Bytes("undone.MDR"), startBytes);
        }
        while (document->Edits().Redo()) {
            ASSERT_EQ(Print(), states.at(stack.UndoCount())) << "redoing all";
            CheckModified("redoing all");
        }
        EXPECT_EQ(Print(), end);
        EXPECT_EQ(Bytes("redone.MDR"), endBytes);
    }
    // Every kind of edit was kept (and so undone and redone) many times over the runs.
    for (const char* kind :
         {"assign a pin", "clear a pin", "drag a marker", "arrange the connectors", "edit the cell",
          "trace", "insert virtual points", "paint or erase a drag", "mark or unmark all"})
        EXPECT_GE(kept[kind], 5) << kind;
}

} // namespace
} // namespace md::test
