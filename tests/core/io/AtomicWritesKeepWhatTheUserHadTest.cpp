// Saves through the one atomic writer with real files: the replaced file's mode and links are
// kept, what an interrupted save left is cleared, and a failed save leaves the old file whole.
#include "core/io/FileIo.h"
#include "core/parameters/TempProgramFolder.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <set>

namespace md::test {
namespace {

class AtomicWriteTest : public TempProgramFolder
{
protected:
    static std::vector<std::uint8_t> Bytes(const std::string& text)
    {
        return {text.begin(), text.end()};
    }
    static unsigned Mode(const std::filesystem::path& path)
    {
        struct stat info
        {};
        return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0u;
    }
    std::set<std::string> Entries(const std::filesystem::path& relative = {}) const
    {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_root / relative))
            names.insert(entry.path().filename().string());
        return names;
    }
};

TEST_F(AtomicWriteTest, AReplacedFileKeepsItsModeAndANewOneFollowsTheUmask)
{
    for (const unsigned mode : {0664u, 0600u, 0444u}) {
        const auto path = Write("library.MDR", "old");
        ::chmod(path.c_str(), mode);
        ASSERT_TRUE(fileio::WriteAtomic(path, Bytes("new")));
        EXPECT_EQ(Read("library.MDR"), "new");
        EXPECT_EQ(Mode(path), mode) << std::oct << mode;
    }
    const mode_t previous = ::umask(022);
    EXPECT_TRUE(fileio::WriteAtomic(m_root / "a.MDR", Bytes("a")));
    ::umask(002);
    EXPECT_TRUE(fileio::WriteAtomic(m_root / "b.MDR", Bytes("b")));
    ::umask(previous);
    EXPECT_EQ(Mode(m_root / "a.MDR"), 0644u);
    EXPECT_EQ(Mode(m_root / "b.MDR"), 0664u);
}

TEST_F(AtomicWriteTest, ASymbolicLinkStaysALinkAndItsTargetIsReplaced)
{
    const auto real = Write("lib/real.MDR", "old");
    ::chmod(real.c_str(), 0664);
    std::filesystem::create_symlink("lib/real.MDR", m_root / "link.MDR");
    std::filesystem::create_symlink(m_root / "link.MDR", m_root / "chain.MDR");
    ASSERT_TRUE(fileio::WriteAtomic(m_root / "chain.MDR", Bytes("new")));
    EXPECT_TRUE(std::filesystem::is_symlink(m_root / "chain.MDR"));
    EXPECT_TRUE(std::filesystem::is_symlink(m_root / "link.MDR"));
    EXPECT_EQ(Read("lib/real.MDR"), "new");
    EXPECT_EQ(Mode(real), 0664u);
    EXPECT_EQ(Entries("lib"), (std::set<std::string>{"real.MDR"}));

    // A link to a file not yet there creates it; a loop of links is refused.
    std::filesystem::create_symlink("lib/made.MDR", m_root / "ahead.MDR");
    ASSERT_TRUE(fileio::WriteAtomic(m_root / "ahead.MDR", Bytes("made")));
    EXPECT_TRUE(std::filesystem::is_symlink(m_root / "ahead.MDR"));
    EXPECT_EQ(Read("lib/made.MDR"), "made");
    std::filesystem::create_symlink("loop2", m_root / "loop1");
    std::filesystem::create_symlink("loop1", m_root / "loop2");
    EXPECT_FALSE(fileio::WriteAtomic(m_root / "loop1", Bytes("x")));
    EXPECT_EQ(Entries().size(), 6u); // lib, link, chain, ahead, loop1, loop2
}

TEST_F(AtomicWriteTest, TheNextSaveRemovesWhatAnInterruptedSaveLeft)
{
    Write("m.MDR", "old");
    Write(".m.MDR.tmp-Ab3xYz", "half of an interrupted save");
    Write(".other.MDR.tmp-Ab3xYz", "another file's");
    Write(".m.MDR.tmp-longer1", "not one of ours");
    // A save of the same file running in another process holds its temporary file locked.
    const auto running = Write(".m.MDR.tmp-Run123", "being written");
    const int held = ::open(running.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);

    ASSERT_TRUE(fileio::WriteAtomic(m_root / "m.MDR", Bytes("new")));
    ::close(held);
    EXPECT_EQ(Read("m.MDR"), "new");
    EXPECT_EQ(Entries(), (std::set<std::string>{"m.MDR", ".other.MDR.tmp-Ab3xYz",
                                                ".m.MDR.tmp-longer1", ".m.MDR.tmp-Run123"}));
    // Once that save is gone, its file is a left-over too.
    ASSERT_TRUE(fileio::WriteAtomic(m_root / "m.MDR", Bytes("newer")));
    EXPECT_FALSE(Entries().contains(".m.MDR.tmp-Run123"));
}

TEST_F(AtomicWriteTest, AFailedSaveLeavesTheOldFileWholeAndNothingBeside)
{
    // The disk fills up in the middle of the write (as a file size limit makes it).
    Write("m.MDR", "old");
    struct rlimit previous
    {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = previous;
    small.rlim_cur = 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = fileio::WriteAtomic(m_root / "m.MDR", std::vector<std::uint8_t>(4096, 7));
    const int error = errno;
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, handler);
    EXPECT_FALSE(written);
    EXPECT_EQ(error, EFBIG); // the reason stays for the message
    EXPECT_EQ(Read("m.MDR"), "old");
    EXPECT_EQ(Entries(), (std::set<std::string>{"m.MDR"}));

    // The name is taken by a folder: the rename fails, the folder stays as it was.
    Write("taken/inside.txt", "kept");
    EXPECT_FALSE(fileio::WriteAtomic(m_root / "taken", Bytes("new")));
    EXPECT_EQ(errno, EISDIR);
    EXPECT_EQ(Read("taken/inside.txt"), "kept");
    EXPECT_EQ(Entries(), (std::set<std::string>{"m.MDR", "taken"}));

    // A folder that does not exist: the write fails and nothing appears.
    EXPECT_FALSE(fileio::WriteAtomic(m_root / "missing" / "x.bin", Bytes("x")));
    EXPECT_FALSE(fileio::ReadAll(m_root / "missing" / "x.bin"));
}

} // namespace
} // namespace md::test
