// The board's C library where the daemons depend on it, from libc-probe's
// facts: the WPS poll's timer keeps its handler, the 50 ms pause pauses and
// lets the daemons' signals in, commands start with those signals
// unblocked, a held pid file lock keeps a second locker out. Where uClibc-ng
// and musl differ (time_t, a failed posix_spawn), each library's answer is
// pinned, so a change of library or version shows here.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <sstream>
#include <string>

#include "tests/board/board_fixture.h"

namespace board_test {
namespace {

// libc-probe's "NAME VALUE..." lines, run once.
const std::map<std::string, std::string> &facts() {
  static const std::map<std::string, std::string> parsed = [] {
    std::map<std::string, std::string> lines;
    std::istringstream output(sh("libc-probe", 120s));
    std::string line;
    while (std::getline(output, line)) {
      size_t space = line.find(' ');
      if (space != std::string::npos) lines[line.substr(0, space)] = line.substr(space + 1);
    }
    return lines;
  }();
  return parsed;
}

std::string fact(const std::string &name) {
  auto found = facts().find(name);
  return found == facts().end() ? "(missing)" : found->second;
}

TEST(BoardLibc, IsTheBoardBuildsLibrary) {
  for (const auto &[name, value] : facts())
    printf("libc-probe: %s %s\n", name.c_str(), value.c_str());
  EXPECT_EQ(fact("libc"), BOARD_LIBC);
}

TEST(BoardLibc, SignalKeepsTheHandlerSoTheTimerPollsEverySecond) {
  EXPECT_EQ(fact("signal-handler-kept"), "1");
  EXPECT_EQ(fact("signal-flags").find("resethand"), std::string::npos) << fact("signal-flags");
  // A 1-second timer over 4.5 s of pauses: a handler reset after its first
  // call would have ended the probe at the second alarm.
  EXPECT_GE(std::stoi(fact("timer-polls")), 3) << fact("timer-polls");
}

TEST(BoardLibc, PpollPausesKeepsItsTimeoutAndLetsTheBlockedSignalIn) {
  EXPECT_EQ(fact("ppoll-result"), "0 0");
  EXPECT_GE(std::stol(fact("ppoll-10x50ms")), 500) << "ten 50 ms pauses took less than 500 ms";
  EXPECT_EQ(fact("ppoll-timeout-kept"), "1");
  EXPECT_EQ(fact("ppoll-lets-signal-in"), "-1 EINTR 1");
  EXPECT_EQ(fact("sigtimedwait-takes-pending"), "1");
}

TEST(BoardLibc, CommandsStartWithTheDaemonsBlockedSignalsUnblocked) {
  EXPECT_EQ(fact("spawn-parent-blocks-term"), "1");
  const std::string blocked = fact("spawn-sigblk");
  ASSERT_FALSE(blocked.empty());
  EXPECT_EQ(blocked.find_first_not_of('0'), std::string::npos) << "SigBlk " << blocked;
}

TEST(BoardLibc, LockfKeepsASecondLockerOut) {
  for (const char *name : {"lockf-tlock-held", "lockf-test-held"}) {
    const std::string answer = fact(name);
    EXPECT_TRUE(answer == "-1 EAGAIN" || answer == "-1 EACCES") << name << " " << answer;
  }
}

TEST(BoardLibc, TimeTWidthAndFailedSpawnAreTheLibrarysOwn) {
  const std::string libc = BOARD_LIBC;
  if (libc == "uclibc") {
    EXPECT_EQ(fact("time_t-bits"), "32");
    EXPECT_EQ(fact("spawn-missing"), "exit 127");
  } else {
    EXPECT_EQ(fact("time_t-bits"), "64");
    EXPECT_EQ(fact("spawn-missing"), "error ENOENT");
  }
}

}  // namespace
}  // namespace board_test
