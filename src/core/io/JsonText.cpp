#include "core/io/JsonText.h"

#include <algorithm>

namespace md {

std::optional<nlohmann::json> ParseJsonText(const std::string& text, std::string& error)
{
    try {
        return nlohmann::json::parse(text);
    } catch (const nlohmann::json::parse_error& e) {
        // The library's message names the line and column after a prefix of its own; the line
        // is counted here so the message reads like every other reader's.
        const std::size_t at = std::min<std::size_t>(e.byte > 0 ? e.byte - 1 : 0, text.size());
        const auto line = 1 + std::count(text.begin(), text.begin() + static_cast<long>(at), '\n');
        std::string what = e.what();
        if (const std::size_t colon = what.find(": "); colon != std::string::npos)
            what = what.substr(colon + 2);
        error = "line " + std::to_string(line) + ": " + what;
        return std::nullopt;
    }
}

} // namespace md
