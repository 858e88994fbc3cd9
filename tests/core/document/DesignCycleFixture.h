#pragma once

#include "core/document/DesignPanelPresenter.h"
#include "core/document/ModuleDesignDocument.h"
#include "core/driverfile/DriverFileContents.h"
#include "core/io/FileIo.h"
#include "core/io/PictureHeaderCodec.h"
#include "core/layout/PointTracer.h"
#include "core/parameters/TempProgramFolder.h"
#include "core/platform/Clock.h"
#include "core/posix/CodePage.h"
#include "core/posix/RandomGuids.h"
#include "core/support/FakePorts.h"
#include "support/HandedOverRecord.h"

#include <memory>

namespace md::test {

/// The panel's window as the presenter sees it: records what it was asked to show.
class RecordingPanelView final : public DesignPanelView
{
public:
    bool RunNewModuleInfo(NewModuleInfoRecord& record) override
    {
        ++newModuleDialogs;
        if (!confirmNewModule)
            return false;
        record = newModule;
        return true;
    }
    void ShowSocketView() override { shown = "socket"; }
    void ShowLayoutView() override { shown = "layout"; }
    void ShowBackgroundView() override { shown = "background"; }
    bool SocketViewVisible() const override { return shown == "socket"; }
    bool LayoutViewVisible() const override { return shown == "layout"; }
    void DesignReset() override { ++resets; }
    void DesignReady(bool) override { ++readies; }
    int RunCellDesign() override { return 0; }

    std::string shown;
    int resets = 0;
    int readies = 0;
    int newModuleDialogs = 0;
    bool confirmNewModule = true;
    NewModuleInfoRecord newModule;
};

class SettableClock final : public Clock
{
public:
    std::uint32_t TickCount() const override { return tick; }
    std::uint32_t tick = 5000;
};

/// A design document with the layout step's and the panel's presenters over scripted ports.
class DesignCycleFixture : public TempProgramFolder
{
protected:
    /// An uncompressed 24-bit BMP of the given size.
    static std::string Bmp(int width, int height)
    {
        const int row = (width * 3 + 3) / 4 * 4;
        const int size = 54 + row * height;
        std::string b(static_cast<std::size_t>(size), '\0');
        auto u32 = [&](int at, int value) {
            for (int i = 0; i < 4; ++i)
                b[static_cast<std::size_t>(at + i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
        };
        b[0] = 'B';
        b[1] = 'M';
        u32(2, size);
        u32(10, 54);
        u32(14, 40);
        u32(18, width);
        u32(22, height);
        b[26] = 1;
        b[28] = 24;
        return b;
    }

    void SetUp() override
    {
        TempProgramFolder::SetUp();
        MakeDocument();
    }

    /// A fresh document with its presenters over the same program folder.
    void MakeDocument()
    {
        panel.reset();
        step.reset();
        document.reset();
        prompter = ScriptedPrompter{};
        chooser = ScriptedFileChooser{};
        view = RecordingPanelView{};
        // The socket's pictures: a pin keeps its type only when its picture is there.
        const std::filesystem::path pictures = "Modules/ModuleDesignUIPlugin";
        Write(pictures / "frame_background.bmp", Bmp(32, 32));
        for (int i = 0; i < 12; ++i)
            Write(pictures / ("socket_frame_background_" + std::to_string(i) + ".bmp"),
                  Bmp(32, 32));
        document = std::make_unique<ModuleDesignDocument>(ProgramFolder(m_root));
        step = std::make_unique<LayoutStepPresenter>(
            *document,
            LayoutStepPorts{prompter, texts, chooser,
                            DesignFilePorts{codePage, codec, guids, clock, VersionWords{1, 2, 3}},
                            [this] { ++hostNotified; }});
        panel = std::make_unique<DesignPanelPresenter>(
            *document, *step, view,
            DesignPanelPorts{prompter, texts, chooser, codePage, version,
                             [this] { ++panelNotified; }});
    }

    static ModuleRecord Record(std::uint16_t width = 16, std::uint16_t height = 8,
                               std::uint16_t scanRows = 4, std::uint16_t groups = 2)
    {
        return md::test::HandedOverRecord(width, height, scanRows, groups);
    }

    std::int32_t HandOver(const ModuleRecord& record)
    {
        return panel->OnNotify(18, reinterpret_cast<std::uintptr_t>(&record), 0);
    }
    /// Gives the socket its three required pins.
    void CompleteSocket()
    {
        auto& pins = document->Socket().Pins();
        pins.at(0).code = 16;
        pins.at(1).code = 47;
        pins.at(2).code = 63;
    }
    /// Hand-over, socket, new layout, the first row traced along the top and Finish.
    void TracedDesign()
    {
        ASSERT_EQ(HandOver(Record()), 0);
        CompleteSocket();
        ASSERT_TRUE(step->NewLayout());
        PointTracer* tracer = document->Tracer();
        ASSERT_NE(tracer, nullptr);
        tracer->Create();
        for (int x = 0; x < 16; ++x)
            tracer->Click(x, 0);
        ASSERT_TRUE(step->Finish());
    }
    /// An edit of the background: its first marker moves one unit.
    void MoveMarker()
    {
        BackgroundDesign& background = document->Background();
        background.SetPoints({background.Point1().x + 1, background.Point1().y},
                             background.Point2());
    }
    /// Saves to ModLib/name through the file dialog.
    int SaveAs(const std::string& name)
    {
        chooser.chosen = m_root / "ModLib" / name;
        return step->Save(true);
    }
    DriverFileContents ReadBack(const std::filesystem::path& path)
    {
        DriverFileContents contents;
        const auto bytes = fileio::ReadAll(path);
        EXPECT_TRUE(bytes.has_value()) << path;
        std::string error;
        EXPECT_TRUE(bytes && contents.Parse(*bytes, codePage, error)) << error;
        return contents;
    }

    KeyTexts texts;
    ScriptedPrompter prompter;
    ScriptedFileChooser chooser;
    CodePage codePage{"CP936"};
    PictureHeaderCodec codec;
    RandomGuids guids;
    SettableClock clock;
    VersionWords version{1, 2, 3};
    RecordingPanelView view;
    int hostNotified = 0;
    int panelNotified = 0;
    std::unique_ptr<ModuleDesignDocument> document;
    std::unique_ptr<LayoutStepPresenter> step;
    std::unique_ptr<DesignPanelPresenter> panel;
};

} // namespace md::test
