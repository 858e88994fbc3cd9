#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace md {

/// Whole-file reads and atomic whole-file writes.
namespace fileio {

/// The file's bytes; nothing when it cannot be read.
std::optional<std::vector<std::uint8_t>> ReadAll(const std::filesystem::path& path);

/// A file's bytes mapped read-only into memory (no copy, no fresh memory to fault in); for
/// files that are read whole and parsed at once. Empty when the file cannot be mapped.
class MappedFile
{
public:
    explicit MappedFile(const std::filesystem::path& path);
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    bool IsMapped() const { return m_data != nullptr; }
    std::span<const std::uint8_t> Bytes() const { return {m_data, m_size}; }

private:
    const std::uint8_t* m_data = nullptr;
    std::size_t m_size = 0;
};

/// Writes to a temporary file in the same folder and renames it over the target, so a failed
/// save leaves the old file whole; every file the product writes for the user goes through here.
/// A replaced file keeps its mode, owner and group, a new one gets the mode from the umask; a
/// symbolic link is followed and its target replaced; the folder is synced after the rename; what
/// an interrupted earlier save of the same file left behind is removed. False on any failure,
/// with errno telling why (this save's temporary file is removed).
bool WriteAtomic(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

/// Writes a file no one reads yet (a part of a set that another file will name once the set is
/// whole): created or emptied, written, its data synced; nothing is renamed. False on a failure,
/// with errno telling why.
bool WriteNew(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

/// Adds the bytes at the end of an existing file in one write and syncs its data; for logs that
/// grow while their start stays (a reader drops a last line that was cut off). False when the
/// file does not exist or a call fails, with errno telling why.
bool Append(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

} // namespace fileio
} // namespace md
