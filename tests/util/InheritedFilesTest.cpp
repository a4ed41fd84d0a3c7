// A file inherited from the launcher stays open in the window but is not passed on to the
// programs the window starts.
#include "util/InheritedFiles.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

TEST(InheritedFiles, KeptOpenButNotPassedOn)
{
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0); // no O_CLOEXEC: as inherited
    EXPECT_GE(mirel::keepInheritedFilesFromChildren(), 2);
    for (const int fd : ends) {
        const int flags = ::fcntl(fd, F_GETFD);
        EXPECT_NE(flags, -1) << "closed";
        EXPECT_TRUE(flags & FD_CLOEXEC);
        ::close(fd);
    }
    EXPECT_EQ(::fcntl(STDERR_FILENO, F_GETFD) & FD_CLOEXEC, 0);
}
