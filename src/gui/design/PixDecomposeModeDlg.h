#pragma once

#include "core/design/PixelDecompositionChoice.h"
#include "core/io/ProgramFolder.h"

#include <QDialog>

#include <array>

class QButtonGroup;
class QLabel;

namespace md {

/// The pixel decomposition dialog (resource 20021): per colour a row of ten mode pictures, each
/// above its radio button. Unset modes are confirmed as TU.
class PixDecomposeModeDlg : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kResourceId = 20021;

    explicit PixDecomposeModeDlg(ProgramFolder folder, QWidget* parent = nullptr);

    /// Red, green, blue; PixelDecomposition::kUnset for none.
    void SetModes(const std::array<std::uint32_t, 3>& modes) { m_choice.SetModes(modes); }
    /// The modes after a confirm.
    const std::array<std::uint32_t, 3>& Modes() const { return m_choice.Modes(); }
    int Run();

public slots:
    void accept() override;
    void reject() override;

private:
    void LoadPictures();

    ProgramFolder m_folder;
    PixelDecompositionChoice m_choice;
    std::array<std::uint32_t, 3> m_before{};
    std::array<QButtonGroup*, 3> m_groups{};
    std::array<std::array<QLabel*, PixelDecomposition::kModeCount>, 3> m_pictures{};
    bool m_picturesLoaded = false;
};

} // namespace md
