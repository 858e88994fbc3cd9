#pragma once

#include <nlohmann/json.hpp>

#include <optional>
#include <string>

namespace md {

/// Parses a whole JSON text (nlohmann/json); nothing on failure, with error set to
/// "line N: what is wrong".
std::optional<nlohmann::json> ParseJsonText(const std::string& text, std::string& error);

} // namespace md
