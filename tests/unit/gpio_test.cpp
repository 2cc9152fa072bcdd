// The GPIO/LED driver interface against the fake /dev/gpio: the requests
// it sends by the bank table, LED limits, failures.
#include "boardutil/gpio.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "tests/support/testbed.h"

namespace {

using testing::internal::CaptureStderr;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStderr;
using testing::internal::GetCapturedStdout;
using Lines = std::vector<std::string>;

class GpioTest : public testing::Test {
 protected:
  void SetUp() override {
    testbed::reset();
    fd_ = open("/dev/gpio", O_RDONLY);
    ASSERT_GE(fd_, 0);
    testbed::clear_logs();
  }
  void TearDown() override { close(fd_); }
  int fd_ = -1;
};

TEST_F(GpioTest, LedRequestsWithinTheLimitsReachTheDriver) {
  EXPECT_EQ(led_request(72, 4000, 4000, 4000, 4000, 4000), 0);
  EXPECT_EQ(testbed::requests("gpio"),
            Lines{"gpio led pin=72 on=4000 off=4000 blinks=4000 rests=4000 times=4000"});
}

TEST_F(GpioTest, LedRequestsBeyondTheLimitsNeverOpenTheDevice) {
  testbed::gpio_missing(true);  // an open would print the perror message
  CaptureStderr();
  EXPECT_EQ(led_request(73, 0, 0, 0, 0, 0), -1);
  EXPECT_EQ(led_request(8, 4001, 0, 0, 0, 0), -1);
  EXPECT_EQ(led_request(8, 0, 4001, 0, 0, 0), -1);
  EXPECT_EQ(led_request(8, 0, 0, 4001, 0, 0), -1);
  EXPECT_EQ(led_request(8, 0, 0, 0, 4001, 0), -1);
  EXPECT_EQ(led_request(8, 0, 0, 0, 0, 4001), -1);
  EXPECT_EQ(GetCapturedStderr(), "");
  EXPECT_TRUE(testbed::requests("gpio").empty());
}

TEST_F(GpioTest, LedFailuresAreReportedAndSetLedHidesThem) {
  testbed::gpio_fail("led");
  CaptureStderr();
  EXPECT_EQ(led_request(10, 1, 1, 1, 1, 1), -1);
  EXPECT_EQ(set_led(10, 1), 0);
  std::string err = GetCapturedStderr();
  EXPECT_EQ(err.rfind("ioctl: ", 0), 0u) << err;
  testbed::gpio_fail("");
  testbed::gpio_missing(true);
  CaptureStderr();
  EXPECT_EQ(led_request(10, 1, 1, 1, 1, 1), -1);
  EXPECT_EQ(GetCapturedStderr().rfind("/dev/gpio: ", 0), 0u);
}

TEST_F(GpioTest, SetLedSendsTheFourFixedPatternsAndNothingElse) {
  for (int mode : {-1, 0, 1, 2, 3, 4}) EXPECT_EQ(set_led(8, mode), 0);
  EXPECT_EQ(testbed::requests("gpio led"),
            (Lines{"gpio led pin=8 on=0 off=4000 blinks=1 rests=0 times=4000",
                   "gpio led pin=8 on=4000 off=0 blinks=1 rests=0 times=4000",
                   "gpio led pin=8 on=10 off=10 blinks=4000 rests=0 times=4000",
                   "gpio led pin=8 on=3 off=3 blinks=4000 rests=0 times=4000"}));
}

TEST_F(GpioTest, ReadingTheButtonUsesBankZeroAndBitOne) {
  testbed::button_script("0 1");
  EXPECT_EQ(gpio_read(fd_, 1), 0);
  EXPECT_EQ(gpio_read(fd_, 1), 1);
  Lines requests = testbed::requests("gpio");
  ASSERT_EQ(requests.size(), 4u);
  EXPECT_EQ(requests[0], "gpio dir-in cmd=0x11 mask=0x2");
  EXPECT_EQ(requests[1].rfind("gpio read cmd=0x02 -> ", 0), 0u);
  EXPECT_EQ(requests[2], "gpio dir-in cmd=0x11 mask=0x2");
}

TEST_F(GpioTest, EveryBankIsAddressedByItsOwnCommandsAndBit) {
  testbed::gpio_bank_levels(1, 1u << 15);  // pin 39 high, the rest low
  testbed::gpio_bank_levels(2, 1u << 31);  // pin 71 high
  testbed::gpio_bank_levels(3, 0);         // pin 72 low
  EXPECT_EQ(gpio_read(fd_, 39), 1);
  EXPECT_EQ(gpio_read(fd_, 24), 0);
  EXPECT_EQ(gpio_read(fd_, 71), 1);
  EXPECT_EQ(gpio_read(fd_, 40), 0);
  EXPECT_EQ(gpio_read(fd_, 72), 0);
  testbed::gpio_bank_levels(3, 1);
  EXPECT_EQ(gpio_read(fd_, 72), 1);
  Lines dir = testbed::requests("gpio dir-in");
  EXPECT_EQ(dir, (Lines{"gpio dir-in cmd=0x13 mask=0x8000", "gpio dir-in cmd=0x13 mask=0x1",
                        "gpio dir-in cmd=0x15 mask=0x80000000", "gpio dir-in cmd=0x15 mask=0x1",
                        "gpio dir-in cmd=0x17 mask=0x1", "gpio dir-in cmd=0x17 mask=0x1"}));
  Lines reads = testbed::requests("gpio read");
  ASSERT_EQ(reads.size(), 6u);
  EXPECT_EQ(reads[0].rfind("gpio read cmd=0x52", 0), 0u);
  EXPECT_EQ(reads[2].rfind("gpio read cmd=0x62", 0), 0u);
  EXPECT_EQ(reads[4].rfind("gpio read cmd=0x72", 0), 0u);
}

TEST_F(GpioTest, PinsOutsideTheTableAreRefusedWithoutARequest) {
  EXPECT_EQ(gpio_read(fd_, 73), -1);
  EXPECT_EQ(gpio_read(fd_, -1), -1);
  EXPECT_EQ(gpio_set_dir_in(fd_, 73), -1);
  unsigned word = 77;
  EXPECT_EQ(gpio_read_int(fd_, 96, &word), -1);
  EXPECT_EQ(word, 0u);
  EXPECT_EQ(gpio_enable_irq(73), -1);
  EXPECT_TRUE(testbed::requests("gpio").empty());
}

TEST_F(GpioTest, FailedRequestsPrintTheirMessagesAndKeepTheDescriptor) {
  testbed::gpio_fail("read");
  CaptureStdout();
  EXPECT_EQ(gpio_read(fd_, 1), -1);
  EXPECT_EQ(GetCapturedStdout(), "gpio_read_int =  ioctl");
  testbed::gpio_fail("dir");
  testbed::button_script("0");
  CaptureStdout();
  EXPECT_EQ(gpio_read(fd_, 1), 0);  // a failed direction request does not stop the read
  EXPECT_EQ(GetCapturedStdout(), "gpio_set_dir_in ioctl");
  unsigned word = 77;
  testbed::gpio_fail("read");
  CaptureStdout();
  EXPECT_EQ(gpio_read_int(fd_, 1, &word), -1);
  GetCapturedStdout();
  EXPECT_EQ(word, 0u);
}

TEST_F(GpioTest, InterruptRegistrationSendsThreeRequestsInOrder) {
  EXPECT_EQ(gpio_enable_irq(30), 0);
  EXPECT_EQ(testbed::requests("gpio"),
            (Lines{"gpio dir-in cmd=0x13 mask=0x40", "gpio irq-enable cmd=0x08",
                   "gpio register pin=30 pid=" + std::to_string(getpid())}));
  testbed::clear_logs();
  testbed::gpio_fail("irq");
  CaptureStderr();
  EXPECT_EQ(gpio_enable_irq(1), -1);
  EXPECT_EQ(GetCapturedStderr().rfind("ioctl: ", 0), 0u);
  Lines requests = testbed::requests("gpio");
  ASSERT_EQ(requests.size(), 2u);  // stops at the refused request
  EXPECT_EQ(requests[1].rfind("gpio refused cmd=0x08", 0), 0u);
}

}  // namespace
