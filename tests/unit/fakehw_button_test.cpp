// The button script: one sample per answered read of bank 0, whatever the
// timing, from one cursor shared by every process of the sandbox; the last
// level (or the held one) once the samples are used up.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <string>

#include "sim/fakehwctl/control.h"
#include "tests/support/testbed.h"

namespace {

class FakeButton : public testing::Test {
 protected:
  void SetUp() override {
    testbed::reset();
    fd_ = open("/dev/gpio", O_RDONLY);
    ASSERT_GE(fd_, 0);
  }
  void TearDown() override { close(fd_); }

  // The button as count reads of bank 0 see it: '1' released, '0' pressed.
  std::string levels(unsigned count) {
    std::string seen;
    for (unsigned i = 0; i < count; ++i) {
      uint32_t word = 0;
      if (ioctl(fd_, 0x02, &word) < 0) return seen + "!";
      seen += (word >> 1 & 1) != 0 ? '1' : '0';
    }
    return seen;
  }

  int fd_ = -1;
};

TEST_F(FakeButton, EachReadTakesTheNextSampleAndTheLastLevelHolds) {
  testbed::button_script("1x2 0x3 1");
  EXPECT_EQ(levels(9), "110001111");
  EXPECT_EQ(testbed::button_reads(), 9u);
  testbed::button_script("0x2");
  EXPECT_EQ(testbed::button_reads(), 0u) << "a new script starts over";
  EXPECT_EQ(levels(4), "0000");
  testbed::button_script("");
  EXPECT_EQ(levels(2), "11") << "no samples: released";
}

TEST_F(FakeButton, HeldLevelFollowsTheScriptUntilChanged) {
  testbed::button_script("1 0");
  testbed::button_hold(false);
  EXPECT_EQ(levels(4), "1011");
  testbed::button_hold(true);
  EXPECT_EQ(levels(2), "00");
}

TEST_F(FakeButton, OnlyAnsweredReadsOfBankZeroConsumeSamples) {
  testbed::button_script("0 1");
  uint32_t word = 0;
  EXPECT_EQ(ioctl(fd_, 0x52, &word), 0);
  EXPECT_EQ(ioctl(fd_, 0x11, 0x2ul), 0);
  EXPECT_EQ(ioctl(fd_, 0x02, nullptr), -1);
  testbed::gpio_fail("read");
  EXPECT_EQ(ioctl(fd_, 0x02, &word), -1);
  testbed::gpio_fail("");
  EXPECT_EQ(testbed::button_reads(), 0u);
  EXPECT_EQ(levels(2), "01");
}

TEST_F(FakeButton, ProcessesShareOneCursor) {
  testbed::button_script("0 1 0 1 1");
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) _exit(levels(3) == "010" ? 0 : 1);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(levels(2), "11");
  EXPECT_EQ(testbed::button_reads(), 5u);
}

TEST_F(FakeButton, MalformedScriptsAreRefusedAndChangeNothing) {
  testbed::button_script("0x4");
  for (const char *script : {"2", "1x", "1x0", "0x5y", "0x0x2", "x3", "1 0x65536"}) {
    EXPECT_FALSE(fakehwctl::set_button_script(script)) << script;
  }
  EXPECT_EQ(levels(5), "00000") << "the earlier script still runs";
  EXPECT_TRUE(fakehwctl::set_button_script("0x65536"));
  EXPECT_TRUE(fakehwctl::set_button_script("1x65535 0"));
  EXPECT_EQ(levels(1), "1");
}

}  // namespace
