// The fake register driver on /dev/rdm0: the accept request, reads of the
// WAN port's link bit in switch register 0x113408, and its refusals.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "tests/support/testbed.h"

namespace {

using Lines = std::vector<std::string>;

class FakeRdm : public testing::Test {
 protected:
  void SetUp() override {
    testbed::reset();
    fd_ = open("/dev/rdm0", O_RDONLY);
    ASSERT_GE(fd_, 0);
  }
  void TearDown() override { close(fd_); }

  // The register's value, or -errno when refused.
  long read_register(uint32_t offset) {
    unsigned char word[4] = {
        static_cast<unsigned char>(offset), static_cast<unsigned char>(offset >> 8),
        static_cast<unsigned char>(offset >> 16), static_cast<unsigned char>(offset >> 24)};
    if (ioctl(fd_, 0x6B03, word) < 0) return -errno;
    return word[0] | word[1] << 8 | word[2] << 16 | static_cast<long>(word[3]) << 24;
  }

  int fd_ = -1;
};

TEST_F(FakeRdm, WanLinkIsBitZeroOfTheSwitchRegister) {
  EXPECT_EQ(ioctl(fd_, 0x6B0E, 0ul), 0);
  EXPECT_EQ(read_register(0x113408), 1);
  testbed::wan_link(false);
  EXPECT_EQ(read_register(0x113408), 0);
  EXPECT_EQ(testbed::requests(), (Lines{"rdm cmd=0x6B0E arg=0", "rdm read reg=0x113408 -> 0x1",
                                        "rdm read reg=0x113408 -> 0x0"}));
}

TEST_F(FakeRdm, OtherArgumentsRegistersAndCommandsAreRefused) {
  errno = 0;
  EXPECT_EQ(ioctl(fd_, 0x6B0E, 1ul), -1);
  EXPECT_EQ(errno, EINVAL);
  EXPECT_EQ(read_register(0x113400), -EINVAL);
  EXPECT_EQ(ioctl(fd_, 0x6B03, nullptr), -1);
  EXPECT_EQ(ioctl(fd_, 0x02, 0ul), -1);
  EXPECT_EQ(testbed::requests(), (Lines{"rdm refused cmd=0x6B0E (argument 0x1, not 0)",
                                        "rdm refused cmd=0x6B03 (register 0x113400 unknown)",
                                        "rdm refused cmd=0x6B03 (null argument)",
                                        "rdm refused cmd=0x0002 (unknown command)"}));
}

TEST_F(FakeRdm, ScriptedFailuresAndAMissingDevice) {
  testbed::rdm_fail("0x6b03");
  EXPECT_EQ(ioctl(fd_, 0x6B0E, 0ul), 0);
  EXPECT_EQ(read_register(0x113408), -EIO);
  testbed::rdm_fail("0x6B0E");
  EXPECT_EQ(ioctl(fd_, 0x6B0E, 0ul), -1);
  EXPECT_EQ(read_register(0x113408), 1);
  testbed::rdm_missing(true);
  errno = 0;
  EXPECT_EQ(open("/dev/rdm0", O_RDONLY), -1);
  EXPECT_EQ(errno, ENOENT);
  int gpio = open("/dev/gpio", O_RDONLY);
  EXPECT_GE(gpio, 0);
  close(gpio);
}

}  // namespace
