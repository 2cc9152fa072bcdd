// Time scaling: timers are armed divisor times shorter (seen through
// getitimer, which is not scaled), report their time back in the program's
// scale, and every sleep and wait returns early by the divisor.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/select.h>
#include <sys/time.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <functional>

#include "tests/support/testbed.h"

namespace {

class TimeScaling : public testing::Test {
 protected:
  void SetUp() override {
    testbed::reset();
    sigset_t alarm;
    sigemptyset(&alarm);
    sigaddset(&alarm, SIGALRM);
    sigprocmask(SIG_BLOCK, &alarm, &saved_mask_);
  }
  void TearDown() override {
    itimerval off{};
    setitimer(ITIMER_REAL, &off, nullptr);
    sigset_t pending;
    sigpending(&pending);
    if (sigismember(&pending, SIGALRM)) {
      int taken = 0;
      sigset_t alarm;
      sigemptyset(&alarm);
      sigaddset(&alarm, SIGALRM);
      sigwait(&alarm, &taken);
    }
    sigprocmask(SIG_SETMASK, &saved_mask_, nullptr);
  }

  static long micros(const timeval &t) { return t.tv_sec * 1000000L + t.tv_usec; }

  sigset_t saved_mask_{};
};

TEST_F(TimeScaling, IntervalTimersAreArmedDivisorTimesShorter) {
  testbed::set_time_divisor(100);
  itimerval two_seconds{{2, 0}, {2, 0}};
  ASSERT_EQ(setitimer(ITIMER_REAL, &two_seconds, nullptr), 0);
  itimerval armed{};
  ASSERT_EQ(getitimer(ITIMER_REAL, &armed), 0);
  EXPECT_EQ(micros(armed.it_interval), 20000);
  EXPECT_GT(micros(armed.it_value), 0);
  EXPECT_LE(micros(armed.it_value), 20000);
  itimerval off{}, old{};
  ASSERT_EQ(setitimer(ITIMER_REAL, &off, &old), 0);
  EXPECT_EQ(micros(old.it_interval), 2000000) << "reported in the program's time";
}

TEST_F(TimeScaling, ShortDurationsKeepOneMicrosecond) {
  testbed::set_time_divisor(1000000);
  itimerval half_second{{0, 500000}, {0, 500000}};
  ASSERT_EQ(setitimer(ITIMER_REAL, &half_second, nullptr), 0);
  itimerval armed{};
  ASSERT_EQ(getitimer(ITIMER_REAL, &armed), 0);
  EXPECT_EQ(micros(armed.it_interval), 1);
}

TEST_F(TimeScaling, AlarmIsArmedScaledAndReportsWholeProgramSeconds) {
  testbed::set_time_divisor(100);
  EXPECT_EQ(alarm(30), 0u);
  itimerval armed{};
  ASSERT_EQ(getitimer(ITIMER_REAL, &armed), 0);
  EXPECT_GT(micros(armed.it_value), 0);
  EXPECT_LE(micros(armed.it_value), 300000);
  unsigned left = alarm(0);
  EXPECT_GE(left, 1u);
  EXPECT_LE(left, 30u);
}

TEST_F(TimeScaling, RealTimeByDefault) {
  itimerval two_seconds{{2, 0}, {2, 0}};
  ASSERT_EQ(setitimer(ITIMER_REAL, &two_seconds, nullptr), 0);
  itimerval armed{};
  ASSERT_EQ(getitimer(ITIMER_REAL, &armed), 0);
  EXPECT_EQ(micros(armed.it_interval), 2000000);
}

// Each asks for ten seconds; at divisor 1000 that is 10 ms. The bound is
// loose on purpose: only an unscaled call could take it.
TEST_F(TimeScaling, EverySleepAndWaitReturnsEarly) {
  testbed::set_time_divisor(1000);
  const timespec ten{10, 0};
  const std::pair<const char *, std::function<void()>> calls[] = {
      {"sleep", [] { sleep(10); }},
      {"usleep", [] { usleep(10000000); }},
      {"nanosleep", [&] { nanosleep(&ten, nullptr); }},
      {"clock_nanosleep", [&] { clock_nanosleep(CLOCK_MONOTONIC, 0, &ten, nullptr); }},
      {"clock_nanosleep absolute",
       [] {
         timespec deadline{};
         clock_gettime(CLOCK_MONOTONIC, &deadline);
         deadline.tv_sec += 10;
         clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr);
       }},
      {"ppoll", [&] { ppoll(nullptr, 0, &ten, nullptr); }},
      {"pselect", [&] { pselect(0, nullptr, nullptr, nullptr, &ten, nullptr); }},
      {"select",
       [] {
         timeval timeout{10, 0};
         select(0, nullptr, nullptr, nullptr, &timeout);
       }},
  };
  for (const auto &[name, call] : calls) {
    auto start = std::chrono::steady_clock::now();
    call();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << name;
  }
}

}  // namespace
