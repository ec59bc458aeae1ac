// The record file under kill -9 at every step of its write: a child process is
// stopped at each system call of StoreRecord in turn (ptrace) and killed there.
// "dat.bin" is always four whole bytes, the old record or the new one.
#include "game/state.h"
#include "reader_support.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/ptrace.h>
#include <sys/wait.h>
#include <unistd.h>

TEST(RecordUnderKill, IsAlwaysTheOldOrTheNewRecordWhole)
{
    bm::ScratchDir dir;
    const std::string path = dir.path + "/dat.bin";
    record_path = path.c_str();
    const bm::Bytes old_record = {0xD2, 0x04, 0, 0}, new_record = {0x2E, 0x16, 0, 0}; // 1234, 5678
    for (int stops = 0;; ++stops) {
        dir.Write("dat.bin", old_record);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ptrace(PTRACE_TRACEME, 0, nullptr, nullptr);
            raise(SIGSTOP);
            user_score = 5678;
            StoreRecord();
            _exit(0);
        }
        int status = 0;
        waitpid(child, &status, 0); // stopped before the write begins
        // Runs to the entry or the exit of one system call after another.
        for (int i = 0; i < stops && !WIFEXITED(status); ++i) {
            ptrace(PTRACE_SYSCALL, child, nullptr, nullptr);
            waitpid(child, &status, 0);
        }
        const bool finished = WIFEXITED(status);
        if (!finished) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
        }
        const bm::Bytes now = dir.Read("dat.bin");
        EXPECT_TRUE(now == old_record || now == new_record) << "killed after " << stops << " stops";
        if (finished) {
            EXPECT_EQ(now, new_record);
            EXPECT_GT(stops, 8) << "the write makes several system calls";
            break;
        }
    }
    record_path = "dat.bin";
}
