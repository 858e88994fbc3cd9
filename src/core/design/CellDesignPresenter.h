#pragma once

#include "core/design/CellDesign.h"
#include "core/design/CellPointer.h"
#include "core/io/ProgramFolder.h"
#include "core/platform/FileChooser.h"
#include "core/platform/HostServices.h"
#include "core/platform/PictureCodec.h"
#include "core/platform/Prompter.h"
#include "core/platform/Texts.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace md {

/// What the info fields of the cell design show.
struct CellInfoTexts
{
    std::u16string total;    ///< LEDs in all slots
    std::u16string size;     ///< "%.1f * %.1f (mm)" of the first selected LED
    std::u16string pixels;   ///< "%d * %d (pix)"
    std::u16string position; ///< "(%d , %d)"
};

/// The logic of the cell design dialog: the checks and messages of every command, the light
/// library look-ups and the picture files. The view draws the model and forwards input.
class CellDesignPresenter
{
public:
    /// The light library; looked up anew on every use.
    using LightSource = std::function<std::vector<HostLight>()>;

    struct Ports
    {
        Prompter& prompter;
        const Texts& texts;
        const PictureCodec& codec;
        FileChooser& chooser;
        LightSource lights;
    };

    static constexpr const char* kDefaultBackground = "moduledesign_bkground.bmp";
    static constexpr std::uint16_t kDefaultCellSizeGenerated = 80;

    /// model: the design's cell; the presenter keeps one of its own when none is given.
    CellDesignPresenter(Ports ports, ProgramFolder folder, CellDesign* model = nullptr);

    CellDesign& Model() { return m_design; }
    const CellDesign& Model() const { return m_design; }
    CellPointer& Pointer() { return m_pointer; }

    /// Prepares an opening: the default background when none is loaded, no selection, no press.
    void Open();
    /// Light names per colour (red, green, blue), in library order.
    std::array<std::vector<std::u16string>, 3> LightNames() const;
    /// The size line of a chosen light; nothing when the library has no such light.
    std::optional<std::u16string> SizeLine(int colour, std::u16string_view name) const;
    /// The cell size as the edit shows it ("10.0").
    std::u16string CellSizeText() const;
    /// Validates an edit of the cell size; true when the size changed (redraw with rescaling).
    bool EditCellSize(std::u16string_view text);

    /// Adds the selected light of a colour list; nothing selected is an empty name. True when an
    /// LED was added.
    bool AddLight(int colour, const std::optional<std::u16string>& selected);
    /// Lets the user choose a background picture; true when it was replaced.
    bool ChooseBackground();
    bool Delete();
    bool Merge();
    bool Split();
    void Copy() { m_design.Copy(); }
    void Paste();
    void ToggleInfo() { m_design.ToggleInfo(); }
    /// True when the dialog may close with confirm.
    bool Confirm();
    /// Everything designed is dropped.
    void Exit();

    /// A cell of one LED per colour of the pixel (1 to 4 entries, 0 red, 1 green, 2 blue) from
    /// the last light of each colour in the library; false when a picture file is missing.
    bool GenerateDefault(const std::vector<int>& colours);

    CellInfoTexts Info() const;
    /// The text of the show/hide info button.
    std::u16string InfoButtonText() const;

private:
    void Say(std::u16string_view text);
    std::optional<HostLight> FindLight(int colour, std::u16string_view name) const;
    /// The id of the light's picture, loaded into the image list on first use; nothing (with a
    /// message when asked) when the light's file cannot be read.
    std::optional<std::uint16_t> Picture(const std::u16string& name, bool tell);
    CellLed MakeLed(const HostLight& light, int colour, std::uint16_t imageId) const;
    void LoadDefaultBackground();

    Ports m_ports;
    ProgramFolder m_folder;
    std::unique_ptr<CellDesign> m_own;
    CellDesign& m_design;
    CellPointer m_pointer{m_design};
};

} // namespace md
