#include "core/io/FileIo.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <random>
#include <string_view>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace md::fileio {

namespace {

/// Runs a system call again while a signal interrupts it.
template <typename Call>
auto Retry(Call call)
{
    decltype(call()) result;
    do
        result = call();
    while (result == -1 && errno == EINTR);
    return result;
}

constexpr std::size_t kTempRandomLength = 6;

/// Temporary files of a save are named ".<name>.tmp-XXXXXX" beside the file they replace, so the
/// next save of that file finds what an interrupted one left.
std::string TempPrefix(const std::filesystem::path& target)
{
    return "." + target.filename().string() + ".tmp-";
}

/// The file a save replaces: symbolic links are followed to their final target (which may not
/// exist yet), so the link stays a link. Nothing for a loop of links.
std::optional<std::filesystem::path> FollowLinks(std::filesystem::path path)
{
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        if (!std::filesystem::is_symlink(path, ec))
            return path;
        const std::filesystem::path link = std::filesystem::read_symlink(path, ec);
        if (ec)
            return std::nullopt;
        path = link.is_absolute() ? link : path.parent_path() / link;
    }
    return std::nullopt;
}

/// Removes the temporary files an earlier save of the same file left when it was cut short (a
/// crash, a power cut): those of this name that no running save holds locked.
void RemoveLeftovers(const std::filesystem::path& folder, const std::string& prefix)
{
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.size() != prefix.size() + kTempRandomLength || !name.starts_with(prefix))
            continue;
        const int fd = Retry([&] {
            return ::open(entry.path().c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        });
        if (fd < 0)
            continue;
        struct stat info
        {};
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(entry.path().c_str());
        ::close(fd);
    }
}

/// Creates a temporary file beside the target, locked while the save runs; -1 on failure.
int CreateTemp(const std::filesystem::path& folder, const std::string& prefix,
               std::filesystem::path& temp)
{
    static constexpr std::string_view kLetters =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::random_device random;
    for (int attempt = 0; attempt < 64; ++attempt) {
        std::string name = prefix;
        for (std::size_t i = 0; i < kTempRandomLength; ++i)
            name += kLetters[random() % kLetters.size()];
        temp = folder / name;
        const int fd = Retry(
            [&] { return ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666); });
        if (fd < 0 && errno != EEXIST)
            return -1;
        if (fd < 0)
            continue;
        // Another save's clean-up may have found the new file before it was locked; it removes
        // it then, so take another name.
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            return fd;
        ::close(fd);
    }
    return -1;
}

bool WriteAll(int fd, std::span<const std::uint8_t> bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = Retry([&] { return ::write(fd, bytes.data(), bytes.size()); });
        if (written <= 0)
            return false;
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    return true;
}

/// Makes the rename itself durable. A folder that cannot be opened for reading cannot be synced;
/// the save stands then, as it does on file systems without folder syncs.
bool SyncFolder(const std::filesystem::path& folder)
{
    const int fd =
        Retry([&] { return ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
    if (fd < 0)
        return true;
    const bool ok = Retry([&] { return ::fsync(fd); }) == 0 || errno == EINVAL;
    const int error = errno;
    ::close(fd);
    errno = error;
    return ok;
}

} // namespace

std::optional<std::vector<std::uint8_t>> ReadAll(const std::filesystem::path& path)
{
    const int fd = Retry([&] { return ::open(path.c_str(), O_RDONLY | O_CLOEXEC); });
    if (fd < 0)
        return std::nullopt;
    // Read straight into a buffer of the file's size; keep reading in case it grew.
    struct stat info
    {};
    std::size_t capacity = 65536;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0)
        capacity = static_cast<std::size_t>(info.st_size) + 1;
    std::vector<std::uint8_t> bytes(capacity);
    std::size_t size = 0;
    bool failed = false;
    while (true) {
        if (size == bytes.size())
            bytes.resize(bytes.size() * 2);
        const ssize_t got =
            Retry([&] { return ::read(fd, bytes.data() + size, bytes.size() - size); });
        if (got < 0) {
            failed = true;
            break;
        }
        if (got == 0)
            break;
        size += static_cast<std::size_t>(got);
    }
    ::close(fd);
    if (failed)
        return std::nullopt;
    bytes.resize(size);
    return bytes;
}

MappedFile::MappedFile(const std::filesystem::path& path)
{
    const int fd = Retry([&] { return ::open(path.c_str(), O_RDONLY | O_CLOEXEC); });
    if (fd < 0)
        return;
    struct stat info
    {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
        // Populated at once: one call maps every page instead of one fault per page.
        void* data = ::mmap(nullptr, static_cast<std::size_t>(info.st_size), PROT_READ,
                            MAP_PRIVATE | MAP_POPULATE, fd, 0);
        if (data != MAP_FAILED) {
            m_data = static_cast<const std::uint8_t*>(data);
            m_size = static_cast<std::size_t>(info.st_size);
        }
    }
    ::close(fd);
}

MappedFile::~MappedFile()
{
    if (m_data)
        ::munmap(const_cast<std::uint8_t*>(m_data), m_size);
}

bool WriteAtomic(const std::filesystem::path& path, std::span<const std::uint8_t> bytes)
{
    const auto target = FollowLinks(path);
    if (!target) {
        errno = ELOOP;
        return false;
    }
    const std::filesystem::path folder =
        target->has_parent_path() ? target->parent_path() : std::filesystem::path(".");
    const std::string prefix = TempPrefix(*target);
    RemoveLeftovers(folder, prefix);

    std::filesystem::path temp;
    const int fd = CreateTemp(folder, prefix, temp);
    if (fd < 0)
        return false;
    // A file that is replaced keeps its owner, group and mode; a new one has the mode any new
    // file gets (0666 less the umask, applied when the temporary file was created).
    struct stat old
    {};
    bool ok = true;
    if (Retry([&] { return ::stat(target->c_str(), &old); }) == 0 && S_ISREG(old.st_mode)) {
        if (::fchown(fd, old.st_uid, old.st_gid) != 0)
            (void)::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
        ok = Retry([&] { return ::fchmod(fd, old.st_mode & 07777); }) == 0;
    }
    ok = ok && WriteAll(fd, bytes) && Retry([&] { return ::fsync(fd); }) == 0;
    ok = ok && Retry([&] { return std::rename(temp.c_str(), target->c_str()); }) == 0;
    const int error = errno;
    ::close(fd); // after the rename: the lock tells other saves this temporary file is in use
    if (!ok) {
        ::unlink(temp.c_str());
        errno = error;
        return false;
    }
    return SyncFolder(folder);
}

namespace {

/// Writes the bytes to an open file, syncs its data and closes it.
bool WriteAndSync(int fd, std::span<const std::uint8_t> bytes)
{
    const bool ok = WriteAll(fd, bytes) && Retry([&] { return ::fdatasync(fd); }) == 0;
    const int error = errno;
    ::close(fd);
    errno = error;
    return ok;
}

} // namespace

bool WriteNew(const std::filesystem::path& path, std::span<const std::uint8_t> bytes)
{
    const int fd =
        Retry([&] { return ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666); });
    return fd >= 0 && WriteAndSync(fd, bytes);
}

bool Append(const std::filesystem::path& path, std::span<const std::uint8_t> bytes)
{
    const int fd = Retry([&] { return ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC); });
    return fd >= 0 && WriteAndSync(fd, bytes);
}

} // namespace md::fileio
