// One owner per node: the lock taken by opens that write, shared within the process and
// refused to a second owner. A temporary file stands in for the node (flock works on any
// file); a second open of it with a lock of its own stands in for another process, since
// locks on two open files of one file conflict whoever holds them.

#include "transport/NodeLock.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

using transport::AcquireNodeLock;
using transport::CheckNodeFree;
using transport::kNodeInUse;
using transport::LockExclusively;

class NodeLockTest : public ::testing::Test {
protected:
    void SetUp() override {
        char name[] = "/tmp/quarin-node-XXXXXX";
        const int fd = ::mkstemp(name);
        ASSERT_GE(fd, 0);
        ::close(fd);
        m_path = name;
    }
    void TearDown() override {
        for (int fd : m_open)
            ::close(fd);
        ::unlink(m_path.c_str());
    }
    int OpenNode() {
        const int fd = ::open(m_path.c_str(), O_RDWR | O_CLOEXEC);
        EXPECT_GE(fd, 0);
        m_open.push_back(fd);
        return fd;
    }
    void CloseNode(int fd) {
        std::erase(m_open, fd);
        ::close(fd);
    }
    // What another program gets when it tries to own the node now; it lets go at once.
    int OtherProgramTries() {
        const int fd = ::open(m_path.c_str(), O_RDWR | O_CLOEXEC);
        const int result = LockExclusively(fd);
        ::close(fd);
        return result;
    }

private:
    std::string m_path;
    std::vector<int> m_open;
};

TEST_F(NodeLockTest, ASecondExclusiveLockIsRefusedAsInUseUntilTheFirstCloses) {
    const int first = OpenNode();
    const int second = OpenNode();
    EXPECT_EQ(LockExclusively(first), 0);
    EXPECT_EQ(LockExclusively(second), kNodeInUse);
    CloseNode(first);
    EXPECT_EQ(LockExclusively(second), 0);
}

TEST_F(NodeLockTest, AnOpenOfANodeAnotherProgramOwnsFailsAndTheOwnerStaysUsable) {
    const int owner = OpenNode();
    ASSERT_EQ(LockExclusively(owner), 0);

    int error = 0;
    EXPECT_EQ(AcquireNodeLock(OpenNode(), &error), nullptr);
    EXPECT_EQ(error, kNodeInUse);

    const char report[] = "\x06\x01";
    EXPECT_EQ(::write(owner, report, 2), 2) << "the refused open leaves the owner's file alone";
    EXPECT_EQ(LockExclusively(owner), 0) << "and its lock";
}

TEST_F(NodeLockTest, OpensInOneProcessShareTheLockUntilTheLastOneGoes) {
    const int command = OpenNode();
    const int events = OpenNode();
    int error = -1;
    auto commandLock = AcquireNodeLock(command, &error);
    ASSERT_NE(commandLock, nullptr);
    EXPECT_EQ(error, 0);
    auto eventLock = AcquireNodeLock(events, &error);
    ASSERT_NE(eventLock, nullptr) << "the collections of one interface share their node";
    EXPECT_EQ(eventLock, commandLock);

    // The first open closing does not free the node while the second is open.
    CloseNode(command);
    commandLock.reset();
    EXPECT_EQ(OtherProgramTries(), kNodeInUse);
    eventLock.reset();
    EXPECT_EQ(OtherProgramTries(), 0);
}

TEST_F(NodeLockTest, AReadOnlyCheckTellsAnotherOwnerAndTakesNothing) {
    const int looker = OpenNode();
    EXPECT_EQ(CheckNodeFree(looker), 0);
    EXPECT_EQ(OtherProgramTries(), 0) << "the check left no lock behind";

    const int other = OpenNode();
    ASSERT_EQ(LockExclusively(other), 0);
    EXPECT_EQ(CheckNodeFree(looker), kNodeInUse);
    CloseNode(other);
    EXPECT_EQ(CheckNodeFree(looker), 0);
}

TEST_F(NodeLockTest, AReadOnlyCheckPassesANodeThisProcessOwns) {
    int error = 0;
    const auto lock = AcquireNodeLock(OpenNode(), &error);
    ASSERT_NE(lock, nullptr);
    EXPECT_EQ(CheckNodeFree(OpenNode()), 0);
    EXPECT_EQ(OtherProgramTries(), kNodeInUse) << "the check kept the process's lock";
}

} // namespace
