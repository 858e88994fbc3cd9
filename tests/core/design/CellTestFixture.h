#pragma once

#include "core/design/CellDesignPresenter.h"
#include "core/io/Utf.h"
#include "core/support/FakePorts.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace md::test {

/// Pictures are files that start with "PIC".
class PrefixCodec final : public PictureCodec
{
public:
    bool Decode(std::span<const std::uint8_t> bytes, PictureSize& size) const override
    {
        if (bytes.size() < 3 || bytes[0] != 'P' || bytes[1] != 'I' || bytes[2] != 'C')
            return false;
        size = {16, 16};
        return true;
    }
};

/// A program folder in a temporary directory with a small light library.
class CellFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_root = std::filesystem::temp_directory_path() /
                 ("md-cell-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(m_root);
        std::filesystem::create_directories(m_root / "Lightlibrary");
        std::filesystem::create_directories(m_root / "Modules" / "ModuleDesignUIPlugin");
        lights = {
            {u"R3528", 35, 20, 0, 7},  {u"R5050", 50, 50, 0, 8},  {u"G3528", 35, 20, 1, 9},
            {u"G2020", 20, 20, 1, 10}, {u"B3528", 35, 20, 2, 11},
        };
        for (const HostLight& light : lights)
            WriteFile(m_root / "Lightlibrary" / utf::ToUtf8(light.name),
                      "PIC" + utf::ToUtf8(light.name));
        WriteFile(m_root / "Modules" / "ModuleDesignUIPlugin" / "moduledesign_bkground.bmp",
                  "PICbackground");
        presenter = std::make_unique<CellDesignPresenter>(
            CellDesignPresenter::Ports{prompter, texts, codec, chooser,
                                       [this] {
                                           ++lightLookups;
                                           return lights;
                                       }},
            ProgramFolder(m_root));
        presenter->Open();
    }
    void TearDown() override { std::filesystem::remove_all(m_root); }

    static void WriteFile(const std::filesystem::path& path, const std::string& bytes)
    {
        std::ofstream(path, std::ios::binary) << bytes;
    }

    CellDesign& Model() { return presenter->Model(); }
    std::vector<CellLed>& Cell() { return Model().Slot(1); }

    /// Adds a light of the library by name and places it.
    CellLed& Place(const std::u16string& name, int x, int y)
    {
        int colour = -1;
        for (const HostLight& light : lights)
            if (light.name == name)
                colour = light.colour;
        EXPECT_TRUE(presenter->AddLight(colour, name));
        CellLed& led = Cell().back();
        led.x = static_cast<std::uint16_t>(x);
        led.y = static_cast<std::uint16_t>(y);
        return led;
    }
    void Select(std::initializer_list<std::size_t> indices)
    {
        Model().DeselectAll();
        for (std::size_t i : indices)
            Cell()[i].selected = 1;
    }

    std::filesystem::path m_root;
    std::vector<HostLight> lights;
    int lightLookups = 0;
    ScriptedPrompter prompter;
    MapTexts texts;
    PrefixCodec codec;
    ScriptedFileChooser chooser;
    std::unique_ptr<CellDesignPresenter> presenter;
};

} // namespace md::test
