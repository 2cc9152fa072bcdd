// uplinkd's SIGTERM arriving while the daemon is outside a pause: it waits
// for the next pause, then ends the daemon cleanly. The daemon runs in a
// forked child, since the handler exits.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

#include "tests/support/testbed.h"
#include "uplinkd/uplinkd.h"

namespace {

TEST(UplinkdSigterm, ASignalOutsideAPauseEndsTheDaemonAtItsFirstPause) {
  testbed::reset();
  testbed::set_time_divisor(1000);
  testbed::write_file("/tmp/log", "");
  testbed::wan_link(true);
  fflush(nullptr);
  pid_t daemon = fork();
  ASSERT_GE(daemon, 0);
  if (daemon == 0) {
    // The signal arrives before the start-up, while it is blocked as it is
    // everywhere outside the pauses.
    sigset_t term;
    sigemptyset(&term);
    sigaddset(&term, SIGTERM);
    sigprocmask(SIG_BLOCK, &term, nullptr);
    raise(SIGTERM);
    uplinkd_main();
    _exit(99);
  }
  int status = -1;
  bool ended = testbed::wait_for([&] { return waitpid(daemon, &status, WNOHANG) == daemon; });
  if (!ended) kill(daemon, SIGKILL);
  ASSERT_TRUE(ended);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  // The start-up ran to its first pause (the first /tmp/Link is published)
  // and the handler removed the pid file.
  EXPECT_FALSE(testbed::file_exists("/var/run/uplinkd.pid"));
  EXPECT_TRUE(testbed::wait_for([] { return testbed::read_file("/tmp/Link") == "1\n"; }));
  EXPECT_TRUE(testbed::wait_for_text(testbed::kConsoleLog, "remove_pid_Handler:SIGTERM\n\n"));
}

}  // namespace
