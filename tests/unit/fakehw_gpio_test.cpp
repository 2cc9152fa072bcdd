// The fake GPIO driver decodes requests as the real one: the bank table's
// one-pin masks, reads of each bank, LED and registration records, and
// refuses (and logs) everything else; other files are left to the kernel.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "sim/fakehwctl/control.h"
#include "tests/support/testbed.h"

namespace {

using Lines = std::vector<std::string>;

class FakeGpio : public testing::Test {
 protected:
  void SetUp() override {
    testbed::reset();
    fd_ = open("/dev/gpio", O_RDONLY);
    ASSERT_GE(fd_, 0);
  }
  void TearDown() override { close(fd_); }

  // The request's result and errno (0 when it succeeded).
  std::pair<int, int> request(unsigned long command, unsigned long value) {
    errno = 0;
    int result = ioctl(fd_, command, value);
    return {result, result < 0 ? errno : 0};
  }
  std::pair<int, int> request(unsigned long command, void *record) {
    return request(command, reinterpret_cast<unsigned long>(record));
  }
  // Reads a bank through a raw little-endian word.
  uint32_t read_bank(unsigned long command) {
    unsigned char word[4] = {};
    EXPECT_EQ(request(command, word), std::make_pair(0, 0));
    return word[0] | word[1] << 8 | word[2] << 16 | static_cast<uint32_t>(word[3]) << 24;
  }
  static void put_words(unsigned char *record, std::initializer_list<uint32_t> words) {
    for (uint32_t word : words) {
      for (int i = 0; i < 4; ++i) *record++ = static_cast<unsigned char>(word >> (8 * i));
    }
  }

  int fd_ = -1;
};

TEST_F(FakeGpio, DirectionTakesExactlyOnePinOfTheCommandsBank) {
  const std::pair<int, int> accepted{0, 0}, refused{-1, EINVAL};
  EXPECT_EQ(request(0x11, 1ul << 23), accepted);
  EXPECT_EQ(request(0x13, 1ul << 15), accepted);
  EXPECT_EQ(request(0x15, 1ul << 31), accepted);
  EXPECT_EQ(request(0x17, 1ul), accepted);
  EXPECT_EQ(request(0x11, 0ul), refused);
  EXPECT_EQ(request(0x11, 0x3ul), refused);
  EXPECT_EQ(request(0x11, 1ul << 24), refused);  // pin 24 is bank 1's
  EXPECT_EQ(request(0x13, 1ul << 16), refused);  // pin 40 is bank 2's
  EXPECT_EQ(request(0x17, 0x2ul), refused);      // bank 3 is pin 72 alone
  EXPECT_EQ(testbed::requests(),
            (Lines{"gpio dir-in cmd=0x11 mask=0x800000", "gpio dir-in cmd=0x13 mask=0x8000",
                   "gpio dir-in cmd=0x15 mask=0x80000000", "gpio dir-in cmd=0x17 mask=0x1",
                   "gpio refused cmd=0x11 (mask 0x0 is not one pin of bank 0)",
                   "gpio refused cmd=0x11 (mask 0x3 is not one pin of bank 0)",
                   "gpio refused cmd=0x11 (mask 0x1000000 is not one pin of bank 0)",
                   "gpio refused cmd=0x13 (mask 0x10000 is not one pin of bank 1)",
                   "gpio refused cmd=0x17 (mask 0x2 is not one pin of bank 3)"}));
}

TEST_F(FakeGpio, ReadsAnswerEachBanksLevelsAndBankZeroCarriesTheButton) {
  testbed::gpio_bank_levels(0, 0x00a5a5a0);
  testbed::gpio_bank_levels(1, 0x1234);
  testbed::gpio_bank_levels(2, 0x89abcdef);
  testbed::gpio_bank_levels(3, 0);
  testbed::button_script("0 1");
  EXPECT_EQ(read_bank(0x02), 0x00a5a5a0u);  // pressed: bit 1 low
  EXPECT_EQ(read_bank(0x02), 0x00a5a5a2u);  // released: bit 1 high
  EXPECT_EQ(read_bank(0x52), 0x1234u);
  EXPECT_EQ(read_bank(0x62), 0x89abcdefu);
  EXPECT_EQ(read_bank(0x72), 0u);
  EXPECT_EQ(request(0x02, nullptr), std::make_pair(-1, EINVAL));
  EXPECT_EQ(testbed::requests(),
            (Lines{"gpio read cmd=0x02 -> 0xa5a5a0", "gpio read cmd=0x02 -> 0xa5a5a2",
                   "gpio read cmd=0x52 -> 0x1234", "gpio read cmd=0x62 -> 0x89abcdef",
                   "gpio read cmd=0x72 -> 0x0", "gpio refused cmd=0x02 (null argument)"}));
}

TEST_F(FakeGpio, LedRecordsAreCheckedFieldByField) {
  unsigned char info[24];
  put_words(info, {72, 4000, 0, 1, 4000, 3});
  EXPECT_EQ(request(0x41, info), std::make_pair(0, 0));
  put_words(info, {73, 1, 1, 1, 1, 1});
  EXPECT_EQ(request(0x41, info), std::make_pair(-1, EINVAL));
  for (unsigned field = 1; field < 6; ++field) {
    put_words(info, {8, 0, 0, 0, 0, 0});
    put_words(info + 4 * field, {4001});
    EXPECT_EQ(request(0x41, info), std::make_pair(-1, EINVAL)) << field;
  }
  EXPECT_EQ(request(0x41, nullptr), std::make_pair(-1, EINVAL));
  EXPECT_EQ(testbed::requests(), (Lines{"gpio led pin=72 on=4000 off=0 blinks=1 rests=4000 times=3",
                                        "gpio refused cmd=0x41 (pin=73 out of range)",
                                        "gpio refused cmd=0x41 (on=4001 out of range)",
                                        "gpio refused cmd=0x41 (off=4001 out of range)",
                                        "gpio refused cmd=0x41 (blinks=4001 out of range)",
                                        "gpio refused cmd=0x41 (rests=4001 out of range)",
                                        "gpio refused cmd=0x41 (times=4001 out of range)",
                                        "gpio refused cmd=0x41 (null argument)"}));
}

TEST_F(FakeGpio, InterruptsAreEnabledAndRegisteredForAPinAndProcess) {
  unsigned char info[8];
  put_words(info, {1, 123});
  EXPECT_EQ(request(0x08, 0ul), std::make_pair(0, 0));
  EXPECT_EQ(request(0x0A, info), std::make_pair(0, 0));
  put_words(info, {73, 123});
  EXPECT_EQ(request(0x0A, info), std::make_pair(-1, EINVAL));
  EXPECT_EQ(request(0x0A, nullptr), std::make_pair(-1, EINVAL));
  EXPECT_EQ(request(0x42, 0ul), std::make_pair(-1, EINVAL));
  EXPECT_EQ(request(0x6B03, 0ul), std::make_pair(-1, EINVAL));  // the register driver's
  EXPECT_EQ(testbed::requests(), (Lines{"gpio irq-enable cmd=0x08", "gpio register pin=1 pid=123",
                                        "gpio refused cmd=0x0A (pin=73 out of range)",
                                        "gpio refused cmd=0x0A (null argument)",
                                        "gpio refused cmd=0x42 (unknown command)",
                                        "gpio refused cmd=0x6B03 (unknown command)"}));
}

TEST_F(FakeGpio, ScriptedFailuresRefuseOnlyTheNamedRequests) {
  unsigned char info[24];
  put_words(info, {8, 0, 0, 0, 0, 0});
  testbed::gpio_fail("led register");
  EXPECT_EQ(request(0x41, info), std::make_pair(-1, EIO));
  EXPECT_EQ(request(0x0A, info), std::make_pair(-1, EIO));
  EXPECT_EQ(request(0x11, 0x2ul), std::make_pair(0, 0));
  EXPECT_EQ(request(0x08, 0ul), std::make_pair(0, 0));
  testbed::gpio_fail("dir read irq");
  EXPECT_EQ(request(0x11, 0x2ul), std::make_pair(-1, EIO));
  EXPECT_EQ(request(0x08, 0ul), std::make_pair(-1, EIO));
  EXPECT_EQ(request(0x41, info), std::make_pair(0, 0));
  EXPECT_EQ(testbed::requests("gpio refused cmd=0x41"),
            Lines{"gpio refused cmd=0x41 (failing on request)"});
  EXPECT_EQ(testbed::requests("gpio refused").size(), 4u);
}

TEST_F(FakeGpio, MissingDeviceFailsTheOpenAlone) {
  testbed::gpio_missing(true);
  errno = 0;
  EXPECT_EQ(open("/dev/gpio", O_RDONLY), -1);
  EXPECT_EQ(errno, ENOENT);
  EXPECT_EQ(request(0x11, 0x2ul), std::make_pair(0, 0)) << "an open descriptor keeps working";
  int rdm = open("/dev/rdm0", O_RDONLY);
  EXPECT_GE(rdm, 0);
  close(rdm);
  testbed::gpio_missing(false);
  int again = open("/dev/gpio", O_RDONLY);
  EXPECT_GE(again, 0);
  close(again);
}

TEST_F(FakeGpio, OtherFilesAndAClosedDevicesNumberAreTheKernels) {
  ASSERT_EQ(close(fd_), 0);
  int null = open("/dev/null", O_RDONLY);  // takes the number the device had
  ASSERT_EQ(null, fd_);
  int word = 7;
  EXPECT_EQ(ioctl(null, 0x72, &word), -1);  // ENOTTY, or ENOSYS from qemu
  EXPECT_EQ(word, 7);
  close(null);
  int created = open("/tmp/made", O_CREAT | O_WRONLY | O_EXCL, 0640);
  ASSERT_GE(created, 0);
  struct stat status {};
  ASSERT_EQ(fstat(created, &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0640u) << "the mode reaches the kernel";
  close(created);
  EXPECT_TRUE(testbed::requests().empty());
  fd_ = open("/dev/gpio", O_RDONLY);
}

TEST_F(FakeGpio, RequestsGoUnloggedWhileLoggingIsOff) {
  ASSERT_TRUE(fakehwctl::set_logging(false));
  testbed::button_script("0");
  EXPECT_EQ(read_bank(0x02), 0xfffffffdu);
  EXPECT_EQ(request(0x42, 0ul), std::make_pair(-1, EINVAL));
  EXPECT_TRUE(testbed::requests().empty());
  ASSERT_TRUE(fakehwctl::set_logging(true));
  EXPECT_EQ(read_bank(0x02), 0xfffffffdu);
  EXPECT_EQ(testbed::requests(), Lines{"gpio read cmd=0x02 -> 0xfffffffd"});
}

}  // namespace
