#pragma once

#include "core/platform/Profile.h"

#include <filesystem>

namespace md {

/// The profile as "$XDG_CONFIG_HOME/ModuleDesignUIPlugin/profile.ini" (default ~/.config/...).
class IniProfile final : public Profile
{
public:
    explicit IniProfile(std::filesystem::path path) : m_path(std::move(path)) {}
    /// The per-user location, from the environment.
    static std::filesystem::path DefaultPath();

    int GetInt(std::string_view section, std::string_view key, int fallback) const override;
    bool SetInt(std::string_view section, std::string_view key, int value) override;
    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

} // namespace md
