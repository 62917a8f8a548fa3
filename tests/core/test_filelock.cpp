#include "core/filelock.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace tarvello;
using Kind = FileLock::Kind;
using Outcome = FileLock::Outcome;

namespace
{

// Descriptors of one file, each with an open description of its own, as two programs (or two
// archive sessions of one program) have them.
class FileLockTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("Clienti.pro")));
    std::vector<int> fds;

    int open()
    {
        const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        EXPECT_GE(fd, 0);
        fds.push_back(fd);
        return fd;
    }
    void TearDown() override
    {
        for (int fd : fds)
            ::close(fd);
    }
};

constexpr qint64 kFar = qint64(1) << 62; // where the archives take theirs

} // namespace

TEST_F(FileLockTest, ExclusiveKeepsOutEveryOtherDescriptorUntilUnlocked)
{
    FileLock first(open(), kFar, 1);
    FileLock second(open(), kFar, 1);
    ASSERT_EQ(first.tryLock(Kind::Exclusive), Outcome::Granted);
    EXPECT_TRUE(first.isLocked());
    EXPECT_EQ(second.tryLock(Kind::Exclusive), Outcome::Busy);
    EXPECT_EQ(second.tryLock(Kind::Shared), Outcome::Busy);
    EXPECT_FALSE(second.isLocked());
    EXPECT_EQ(second.heldElsewhere(Kind::Shared), std::optional<bool>(true));
    EXPECT_EQ(first.heldElsewhere(Kind::Exclusive), std::optional<bool>(false))
        << "its own lock is no other's";

    EXPECT_TRUE(first.unlock());
    EXPECT_FALSE(first.isLocked());
    EXPECT_EQ(second.heldElsewhere(Kind::Exclusive), std::optional<bool>(false));
    EXPECT_EQ(second.tryLock(Kind::Exclusive), Outcome::Granted);
}

TEST_F(FileLockTest, SharedLetsSharedInAndKeepsExclusiveOut)
{
    FileLock reader(open(), kFar, 1);
    FileLock another(open(), kFar, 1);
    FileLock writer(open(), kFar, 1);
    ASSERT_EQ(reader.tryLock(Kind::Shared), Outcome::Granted);
    EXPECT_EQ(another.tryLock(Kind::Shared), Outcome::Granted);
    EXPECT_EQ(writer.heldElsewhere(Kind::Shared), std::optional<bool>(false));
    EXPECT_EQ(writer.heldElsewhere(Kind::Exclusive), std::optional<bool>(true));
    EXPECT_EQ(writer.tryLock(Kind::Exclusive), Outcome::Busy);

    // A reader alone may turn its lock into a writer's; refused, it keeps the one it had.
    EXPECT_EQ(reader.tryLock(Kind::Exclusive), Outcome::Busy);
    EXPECT_TRUE(reader.isLocked());
    EXPECT_EQ(writer.tryLock(Kind::Exclusive), Outcome::Busy);
    another.unlock();
    EXPECT_EQ(reader.tryLock(Kind::Exclusive), Outcome::Granted);
    EXPECT_EQ(another.tryLock(Kind::Shared), Outcome::Busy);
}

TEST_F(FileLockTest, OnlyItsRangeIsLocked)
{
    FileLock far(open(), kFar, 1);
    ASSERT_EQ(far.tryLock(Kind::Exclusive), Outcome::Granted);
    FileLock records(open(), 0, 4096);
    EXPECT_EQ(records.tryLock(Kind::Exclusive), Outcome::Granted);
    FileLock whole(open(), 0, 0); // to the end of the file, however far
    EXPECT_EQ(whole.heldElsewhere(Kind::Shared), std::optional<bool>(true));
    EXPECT_EQ(whole.tryLock(Kind::Shared), Outcome::Busy);
}

TEST_F(FileLockTest, ClosingAnotherDescriptorOfTheFileLetsNothingGo)
{
    FileLock held(open(), kFar, 1);
    ASSERT_EQ(held.tryLock(Kind::Exclusive), Outcome::Granted);
    const int passing = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(passing, 0);
    ::close(passing);
    FileLock other(open(), kFar, 1);
    EXPECT_EQ(other.tryLock(Kind::Shared), Outcome::Busy);
}

TEST_F(FileLockTest, TheLockGoesWithTheObject)
{
    const int fd = open();
    {
        FileLock held(fd, kFar, 1);
        ASSERT_EQ(held.tryLock(Kind::Exclusive), Outcome::Granted);
    }
    FileLock other(open(), kFar, 1);
    EXPECT_EQ(other.tryLock(Kind::Exclusive), Outcome::Granted);
}

TEST_F(FileLockTest, AWaitWithATimeLimitGivesUpOrTakesTheLockReleasedMeanwhile)
{
    FileLock first(open(), kFar, 1);
    FileLock second(open(), kFar, 1);
    ASSERT_EQ(first.tryLock(Kind::Exclusive), Outcome::Granted);

    QElapsedTimer waited;
    waited.start();
    EXPECT_EQ(second.lockWithin(Kind::Shared, 0), Outcome::Busy) << "0 asks once";
    EXPECT_LT(waited.elapsed(), 100);
    waited.restart();
    EXPECT_EQ(second.lockWithin(Kind::Exclusive, 200), Outcome::Busy);
    EXPECT_GE(waited.elapsed(), 190) << "it gave up without waiting";
    EXPECT_LT(waited.elapsed(), 2000);

    std::thread releaser([&first] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        first.unlock();
    });
    waited.restart();
    const Outcome outcome = second.lockWithin(Kind::Exclusive, 5000);
    const qint64 elapsed = waited.elapsed();
    releaser.join();
    EXPECT_EQ(outcome, Outcome::Granted);
    EXPECT_GE(elapsed, 290) << "it did not wait for the holder";
    EXPECT_LT(elapsed, 4000) << "it went on waiting once the lock was free";
}

TEST_F(FileLockTest, AWaitWithoutLimitLastsUntilTheHolderLetsGo)
{
    FileLock first(open(), kFar, 1);
    FileLock second(open(), kFar, 1);
    ASSERT_EQ(first.tryLock(Kind::Shared), Outcome::Granted);
    std::thread releaser([&first] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        first.unlock();
    });
    QElapsedTimer waited;
    waited.start();
    const Outcome outcome = second.lock(Kind::Exclusive);
    const qint64 elapsed = waited.elapsed();
    releaser.join();
    EXPECT_EQ(outcome, Outcome::Granted);
    EXPECT_GE(elapsed, 290);
}

TEST_F(FileLockTest, ADescriptorThatIsNotOpenFailsAtOnceWithTheReason)
{
    FileLock closed(-1, kFar, 1);
    QElapsedTimer waited;
    waited.start();
    errno = 0;
    EXPECT_EQ(closed.lockWithin(Kind::Exclusive, 2000), Outcome::Failed);
    EXPECT_EQ(errno, EBADF);
    EXPECT_LT(waited.elapsed(), 1000) << "a failure is not waited out";
    EXPECT_EQ(closed.lock(Kind::Shared), Outcome::Failed);
    EXPECT_EQ(closed.heldElsewhere(Kind::Shared), std::nullopt);
    EXPECT_FALSE(closed.isLocked());
}

TEST_F(FileLockTest, AnotherProcessIsKeptOutUntilItsHolderLetsGo)
{
    int held[2], release[2];
    ASSERT_EQ(::pipe(held), 0);
    ASSERT_EQ(::pipe(release), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The other program: takes the lock, says so, and keeps it until told to let go.
        const int fd = ::open(path.constData(), O_RDWR | O_CREAT, 0666);
        FileLock lock(fd, kFar, 1);
        const char granted = lock.tryLock(Kind::Exclusive) == Outcome::Granted ? 'y' : 'n';
        char go = 0;
        const bool told = ::write(held[1], &granted, 1) == 1 && ::read(release[0], &go, 1) == 1;
        ::_exit(told ? 0 : 1);
    }
    ::close(held[1]);
    ::close(release[0]);
    char granted = 0;
    ASSERT_EQ(::read(held[0], &granted, 1), 1);
    EXPECT_EQ(granted, 'y');

    FileLock mine(open(), kFar, 1);
    EXPECT_EQ(mine.heldElsewhere(Kind::Shared), std::optional<bool>(true));
    EXPECT_EQ(mine.lockWithin(Kind::Shared, 100), Outcome::Busy);
    const char go = 'g';
    EXPECT_EQ(::write(release[1], &go, 1), 1);
    EXPECT_EQ(mine.lock(Kind::Exclusive), Outcome::Granted) << "the holder's end lets the lock go";
    int status = -1;
    EXPECT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ::close(held[0]);
    ::close(release[1]);
}
