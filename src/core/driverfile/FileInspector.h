#pragma once

#include <cstdint>
#include <span>
#include <string>

#include <nlohmann/json_fwd.hpp>

namespace md {

class CodePage;

/// Recognises a driver (.MDR/.BDT), combined (.MHR), socket (.mjk) or HUB (.HDR) file by its
/// mark, checks it whole and describes it as JSON (names converted to UTF-8).
class FileInspector
{
public:
    /// What a file without a known mark (an empty one too) is called.
    static constexpr const char* kUnknownKind = "not a driver, combined or HUB file";

    explicit FileInspector(const CodePage& codePage) : m_codePage(codePage) {}

    /// The JSON description; false with a one-line reason (section and offset) on a bad file.
    bool Describe(std::span<const std::uint8_t> bytes, std::string& json, std::string& error) const;
    /// The kind of file it is ("MDR", "MHR", "MJK", "HDR"), empty when the mark is unknown.
    static std::string Kind(std::span<const std::uint8_t> bytes);

private:
    bool WriteAny(std::span<const std::uint8_t> bytes, nlohmann::ordered_json& json,
                  std::string& error) const;
    bool WriteDriver(std::span<const std::uint8_t> bytes, nlohmann::ordered_json& json,
                     std::string& error) const;
    bool WriteCombined(std::span<const std::uint8_t> bytes, nlohmann::ordered_json& json,
                       std::string& error) const;
    bool WriteSocketFile(std::span<const std::uint8_t> bytes, nlohmann::ordered_json& json,
                         std::string& error) const;
    bool WriteHub(std::span<const std::uint8_t> bytes, nlohmann::ordered_json& json,
                  std::string& error) const;

    const CodePage& m_codePage;
};

} // namespace md
