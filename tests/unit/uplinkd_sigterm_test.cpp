// uplinkd's SIGTERM arriving while the daemon is outside a pause: it waits
// for the next pause, then ends the daemon cleanly. The daemon runs in a
// forked child, since the handler exits.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

#include <gtest/gtest.h>

#include "sim.h"
#include "uplinkd.h"

namespace {

TEST(UplinkdSigterm, ASignalOutsideAPauseEndsTheDaemonAtItsFirstPause) {
  sim::reset();
  sim::set_time_divisor(1000);
  sim::write_file("/tmp/log", "");
  sim::wan_link(true);
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
  bool ended = sim::wait_for([&] { return waitpid(daemon, &status, WNOHANG) == daemon; });
  if (!ended) kill(daemon, SIGKILL);
  ASSERT_TRUE(ended);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  // The start-up ran to its first pause (the first /tmp/Link is published)
  // and the handler removed the pid file.
  EXPECT_FALSE(sim::file_exists("/var/run/uplinkd.pid"));
  EXPECT_TRUE(sim::wait_for([] { return sim::read_file("/tmp/Link") == "1\n"; }));
  EXPECT_TRUE(sim::wait_for_text(sim::kConsoleLog, "remove_pid_Handler:SIGTERM\n\n"));
}

}  // namespace
