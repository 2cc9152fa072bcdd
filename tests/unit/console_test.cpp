// Console messages, shell commands, pid files and the interval timer, inside
// the sandbox: /dev/console is the sandbox's capture FIFO.
#include "boardutil/console.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "boardutil/pause.h"
#include "boardutil/pidfile.h"
#include "boardutil/shell.h"
#include "boardutil/timer.h"
#include "tests/support/refused_signal.h"
#include "tests/support/testbed.h"

namespace {

class ConsoleTest : public testing::Test {
 protected:
  void SetUp() override { testbed::reset(); }
};

constexpr char kChildOut[] = "/tmp/child.out";

// Runs body in a child process whose standard output goes to kChildOut and
// returns its exit status, so tests of process-wide state (saved_pidfile,
// the exit action) start afresh.
int in_child(const std::function<int()> &body) {
  fflush(stdout);
  pid_t pid = fork();
  if (pid == 0) {
    int fd = open(kChildOut, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(fd, STDOUT_FILENO);
    close(fd);
    exit(body());
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(ConsoleTest, DebugMessagesFollowTheSwitchFileMessageByMessage) {
  console_debug("hidden %d\n\n", 1);
  testbed::write_file("/tmp/log", "");
  console_debug("shown %d\n\n", 2);
  testbed::remove_file("/tmp/log");
  console_debug("hidden %d\n\n", 3);
  console_print("always %s\n\n\n", "here");
  ASSERT_TRUE(testbed::wait_for_text(testbed::kConsoleLog, "always here\n\n\n"));
  EXPECT_EQ(testbed::console(), "shown 2\n\nalways here\n\n\n");
}

TEST_F(ConsoleTest, DoSystemWaitsForTheShellAndReportsItsStatus) {
  EXPECT_EQ(do_system("echo done > /tmp/out"), 0);
  EXPECT_EQ(testbed::read_file("/tmp/out"), "done\n");
  int status = do_system("exit 3");
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 3);
}

TEST_F(ConsoleTest, BackgroundCommandReturnsBeforeTheJobEnds) {
  testbed::write_file("/tmp/gate", "");
  // The job waits for the gate to go; do_system must return before that.
  EXPECT_EQ(do_system("(while [ -e /tmp/gate ]; do sleep 0.01; done; echo late > /tmp/job) &"), 0);
  EXPECT_FALSE(testbed::file_exists("/tmp/job"));
  testbed::remove_file("/tmp/gate");
  EXPECT_TRUE(testbed::wait_for_text("/tmp/job", "late"));
}

TEST_F(ConsoleTest, CommandsStartWithoutTheSignalsBlockedForThePauses) {
  // "exec" makes the shell become the command, so the mask seen is the one
  // the shell was started with (a forked child of some shells starts clean).
  int status = in_child([] {
    pause_block_signal(SIGTERM);
    pause_block_signal(SIGALRM);
    do_system("exec grep SigBlk /proc/self/status > /tmp/do_system.mask");
    shell_run("exec grep SigBlk /proc/self/status > /tmp/shell_run.mask");
    FILE *output = shell_open("exec grep SigBlk /proc/self/status", "r");
    char line[128] = "";
    if (output == nullptr || fgets(line, sizeof line, output) == nullptr) return 1;
    if (shell_close(output) != 0) return 2;
    testbed::write_file("/tmp/shell_open.mask", line);
    sigset_t blocked;
    sigprocmask(SIG_SETMASK, nullptr, &blocked);
    return sigismember(&blocked, SIGTERM) && sigismember(&blocked, SIGALRM) ? 0 : 3;
  });
  EXPECT_EQ(status, 0);
  for (const char *file : {"/tmp/do_system.mask", "/tmp/shell_run.mask", "/tmp/shell_open.mask"}) {
    EXPECT_EQ(testbed::read_file(file), "SigBlk:\t0000000000000000\n") << file;
  }
}

TEST_F(ConsoleTest, PidFileHoldsExactlyThePidAndIsRemovedAtExit) {
  // An older, longer content must not leave its tail behind.
  testbed::write_file("/var/run/test.pid", "1234567890\nold tail\n");
  int status = in_child([] {
    pidfile_write_release(pidfile_acquire("/var/run/test.pid"));
    std::string expected = std::to_string(getpid()) + "\n";
    return testbed::read_file("/var/run/test.pid") == expected ? 0 : 1;
  });
  EXPECT_EQ(status, 0);
  EXPECT_FALSE(testbed::file_exists("/var/run/test.pid"));
}

// A second starter waits on the lock of the first, then writes exactly its
// own pid over the first one's longer content.
TEST_F(ConsoleTest, ASecondStarterWaitsForThePidFileLock) {
  constexpr char kPidFile[] = "/var/run/second.pid";
  int first = open(kPidFile, O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
  ASSERT_GE(first, 0);
  ASSERT_EQ(lockf(first, F_LOCK, 0), 0);
  ASSERT_EQ(write(first, "99999999 first starter\n", 23), 23);
  fflush(stdout);
  pid_t second = fork();
  ASSERT_GE(second, 0);
  if (second == 0) {
    pidfile_write_release(pidfile_acquire(kPidFile));
    _exit(testbed::read_file(kPidFile) == std::to_string(getpid()) + "\n" ? 0 : 1);
  }
  // The kernel lists a blocked lock request with "->".
  EXPECT_TRUE(testbed::wait_for(
      [] { return testbed::read_file("/proc/locks").find("->") != std::string::npos; }));
  EXPECT_EQ(waitpid(second, nullptr, WNOHANG), 0) << "still waiting";
  close(first);
  int status = -1;
  EXPECT_EQ(waitpid(second, &status, 0), second);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

TEST_F(ConsoleTest, SecondAcquisitionRegistersTheExitActionOnce) {
  int status = in_child([] {
    pidfile_write_release(pidfile_acquire("/var/run/first.pid"));
    pidfile_write_release(pidfile_acquire("/var/run/second.pid"));
    return saved_pidfile != nullptr && std::string(saved_pidfile) == "/var/run/second.pid" ? 0 : 1;
  });
  EXPECT_EQ(status, 0);
  // The exit action ran once, for the second path.
  EXPECT_EQ(testbed::read_file(kChildOut), "saved_pidfile:/var/run/second.pid\n");
  EXPECT_TRUE(testbed::file_exists("/var/run/first.pid"));
  EXPECT_FALSE(testbed::file_exists("/var/run/second.pid"));
}

TEST_F(ConsoleTest, PidFileFailuresAndDeletionWithoutAcquisition) {
  EXPECT_EQ(pidfile_acquire(nullptr), -1);
  int status = in_child([] {
    int fd = pidfile_acquire("/var/run/missing-dir/x.pid");
    pidfile_write_release(fd);
    int deleted = pidfile_delete("/var/run/x.pid");
    return fd < 0 && deleted == 0 && saved_pidfile == nullptr ? 0 : 1;
  });
  EXPECT_EQ(status, 0);
  // No exit action was registered, so nothing follows the two messages.
  EXPECT_EQ(testbed::read_file(kChildOut),
            "Unable to open pidfile /var/run/missing-dir/x.pid\nsaved_pidfile:(none)\n");
}

TEST_F(ConsoleTest, DeletingBeforeExitLeavesTheExitActionAQuietFailure) {
  int status = in_child([] {
    pidfile_write_release(pidfile_acquire("/var/run/term.pid"));
    int first = pidfile_delete("/var/run/term.pid");
    int second = pidfile_delete("/var/run/term.pid");
    return first == 0 && second == -1 ? 0 : 1;
  });
  EXPECT_EQ(status, 0);
  std::string line = "saved_pidfile:/var/run/term.pid\n";
  EXPECT_EQ(testbed::read_file(kChildOut), line + line + line);
  EXPECT_FALSE(testbed::file_exists("/var/run/term.pid"));
}

volatile sig_atomic_t g_alarms = 0;
void count_alarm(int) { g_alarms = g_alarms + 1; }

TEST_F(ConsoleTest, TimerCallsItsHandlerUntilStopped) {
  testbed::set_time_divisor(100);
  g_alarms = 0;
  ASSERT_EQ(setTimer(2, count_alarm), 0);
  ASSERT_TRUE(testbed::wait_for([] { return g_alarms >= 3; }));
  ASSERT_EQ(stopTimer(), 0);
  int after_stop = g_alarms;
  usleep(500000);                       // 100 scaled periods
  EXPECT_LE(g_alarms, after_stop + 1);  // at most one already in flight
}

TEST_F(ConsoleTest, TimerOfZeroSecondsInstallsTheHandlerOnly) {
  g_alarms = 0;
  ASSERT_EQ(setTimer(0, count_alarm), 0);
  itimerval value{};
  getitimer(ITIMER_REAL, &value);
  EXPECT_EQ(value.it_value.tv_sec, 0);
  EXPECT_EQ(value.it_value.tv_usec, 0);
  raise(SIGALRM);
  EXPECT_EQ(g_alarms, 1);
}

// Like stopTimer, a timer of 0 seconds drops an alarm that fired while
// SIGALRM was blocked, so it never reaches the handler.
TEST_F(ConsoleTest, TimerOfZeroSecondsDropsAPendingAlarm) {
  sigset_t alarm, previous;
  sigemptyset(&alarm);
  sigaddset(&alarm, SIGALRM);
  ASSERT_EQ(sigprocmask(SIG_BLOCK, &alarm, &previous), 0);
  g_alarms = 0;
  ASSERT_EQ(setTimer(2, count_alarm), 0);
  raise(SIGALRM);
  EXPECT_EQ(setTimer(0, count_alarm), 0);
  sigset_t pending;
  ASSERT_EQ(sigpending(&pending), 0);
  EXPECT_EQ(sigismember(&pending, SIGALRM), 0);
  sigprocmask(SIG_SETMASK, &previous, nullptr);
  EXPECT_EQ(g_alarms, 0);
}

// An alarm whose handler could not be installed would end the process, so
// such a timer is not armed, and one that was running is stopped.
TEST_F(ConsoleTest, TimerIsNeverArmedWithoutItsHandler) {
  constexpr int kNoFilter = 2;
  int status = in_child([] {
    if (setTimer(5, count_alarm) != 0) return 1;
    if (!testbed::refuse_signal_action(SIGALRM)) return kNoFilter;
    if (setTimer(2, count_alarm) != -1) return 1;
    itimerval value{};
    getitimer(ITIMER_REAL, &value);
    return value.it_value.tv_sec == 0 && value.it_value.tv_usec == 0 ? 0 : 1;
  });
  if (status == kNoFilter) GTEST_SKIP() << "no seccomp filter here to refuse the handler";
  EXPECT_EQ(status, 0);
}

}  // namespace
