#pragma once

#include <filesystem>

namespace md {

/// The program folder (the folder of the host's executable) and the folders under it. The root
/// is always injected; core never looks it up.
class ProgramFolder
{
public:
    explicit ProgramFolder(std::filesystem::path root) : m_root(std::move(root)) {}

    const std::filesystem::path& Root() const { return m_root; }
    /// Temporary design files; see EnsureTemp.
    std::filesystem::path Temp() const { return m_root / "temp"; }
    std::filesystem::path ModLib() const { return m_root / "ModLib"; }
    std::filesystem::path LightLibrary() const { return m_root / "Lightlibrary"; }
    /// The plug-in's own pictures and ChipLib.xml.
    std::filesystem::path PluginData() const { return m_root / "Modules" / "ModuleDesignUIPlugin"; }
    std::filesystem::path RunInfo() const { return m_root / "runinfo.ini"; }
    /// Creates the temp folder with its parents when missing; false when that fails.
    bool EnsureTemp() const;

private:
    std::filesystem::path m_root;
};

} // namespace md
