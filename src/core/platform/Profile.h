#pragma once

#include <string_view>

namespace md {

/// The per-user application profile: integers by section and key, kept in an ini file.
class Profile
{
public:
    virtual ~Profile() = default;
    virtual int GetInt(std::string_view section, std::string_view key, int fallback) const = 0;
    virtual bool SetInt(std::string_view section, std::string_view key, int value) = 0;
};

} // namespace md
