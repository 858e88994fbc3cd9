#include "core/posix/IniProfile.h"

#include "core/io/IniFile.h"

#include <cstdlib>
#include <string>

namespace md {

std::filesystem::path IniProfile::DefaultPath()
{
    std::filesystem::path base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
        base = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        base = std::filesystem::path(home) / ".config";
    else
        base = std::filesystem::temp_directory_path();
    return base / "ModuleDesignUIPlugin" / "profile.ini";
}

int IniProfile::GetInt(std::string_view section, std::string_view key, int fallback) const
{
    return IniFile::Load(m_path).IntOr(section, key, fallback);
}

bool IniProfile::SetInt(std::string_view section, std::string_view key, int value)
{
    IniFile ini = IniFile::Load(m_path);
    ini.SetValue(section, key, std::to_string(value));
    return ini.Save(m_path);
}

} // namespace md
