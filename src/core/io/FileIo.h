#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

namespace md {

/// Whole-file reads and atomic whole-file writes.
namespace fileio {

/// The file's bytes; nothing when it cannot be read.
std::optional<std::vector<std::uint8_t>> ReadAll(const std::filesystem::path& path);

/// Writes to a temporary file in the same folder and renames it over the target, so a failed
/// save leaves the old file whole. False on any failure (the temporary file is removed).
bool WriteAtomic(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

} // namespace fileio
} // namespace md
