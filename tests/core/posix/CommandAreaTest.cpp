#include "core/posix/PosixCommandArea.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace md {
namespace {

TEST(CommandAreaTest, OpensOnlyAnAreaThatAlreadyExistsAtItsSize)
{
    const std::string name = "/md-test-area-" + std::to_string(getpid());
    shm_unlink(name.c_str());
    PosixCommandArea area(name);
    EXPECT_FALSE(area.Open());
    EXPECT_TRUE(area.Bytes().empty());
    // The plug-in never creates the area.
    const int probe = shm_open(name.c_str(), O_RDONLY, 0);
    EXPECT_LT(probe, 0);

    // An area too small for the command words is refused.
    const int fd = shm_open(name.c_str(), O_RDWR | O_CREAT, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(ftruncate(fd, 16), 0);
    EXPECT_FALSE(area.Open());
    ASSERT_EQ(ftruncate(fd, 32), 0);
    auto* owner =
        static_cast<std::uint8_t*>(mmap(nullptr, 32, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0));
    ASSERT_NE(owner, MAP_FAILED);

    ASSERT_TRUE(area.Open());
    ASSERT_EQ(area.Bytes().size(), 32u);
    area.Bytes()[24] = 0xA0;
    EXPECT_EQ(owner[24], 0xA0); // the writer and the owner share the bytes
    area.Close();
    EXPECT_FALSE(area.IsOpen());

    munmap(owner, 32);
    close(fd);
    shm_unlink(name.c_str());
}

} // namespace
} // namespace md
