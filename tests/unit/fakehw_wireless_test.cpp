// The fake wireless driver's private requests: OID answers from the scripted
// files (status sequences consumed one query at a time), the configured
// value and connection status, refusals; other socket requests reach the
// kernel.
#include <gtest/gtest.h>
#include <linux/wireless.h>
#include <net/if_arp.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "tests/support/testbed.h"

namespace {

using Bytes = std::vector<unsigned char>;
using Lines = std::vector<std::string>;

constexpr unsigned long kOidQuery = 0x8BEE, kWscProfile = 0x8BF2, kConnStatus = 0x8BFC;

struct Answer {
  int result = 0;
  int error = 0;        // errno when refused
  unsigned length = 0;  // u.data.length afterwards
  Bytes data;
};

class FakeWireless : public testing::Test {
 protected:
  void SetUp() override {
    testbed::reset();
    socket_ = socket(AF_INET, SOCK_DGRAM, 0);
    ASSERT_GE(socket_, 0);
  }
  void TearDown() override { close(socket_); }

  // One private request with a buffer of size bytes, first filled with 0xAA.
  Answer ask(const char *ifname, unsigned long request, unsigned flags, size_t size,
             uint16_t length) {
    Answer answer;
    answer.data.assign(size, 0xAA);
    iwreq wrq{};
    strncpy(wrq.ifr_name, ifname, IFNAMSIZ);
    wrq.u.data.pointer = answer.data.data();
    wrq.u.data.length = length;
    wrq.u.data.flags = static_cast<uint16_t>(flags);
    errno = 0;
    answer.result = ioctl(socket_, request, &wrq);
    answer.error = answer.result < 0 ? errno : 0;
    answer.length = wrq.u.data.length;
    return answer;
  }
  Answer oid(const char *ifname, unsigned oid, uint16_t length) {
    return ask(ifname, kOidQuery, oid, length, length);
  }
  uint32_t status(const char *ifname) {
    Answer answer = oid(ifname, 0x0751, 4);
    EXPECT_EQ(answer.result, 0);
    return le32(answer.data, 0);
  }
  static uint32_t le32(const Bytes &b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
  }
  static unsigned le16(const Bytes &b, size_t at) { return b[at] | b[at + 1] << 8; }
  static std::string text(const Bytes &b, size_t at, size_t size) {
    return std::string(reinterpret_cast<const char *>(b.data()) + at, size);
  }

  int socket_ = -1;
};

TEST_F(FakeWireless, StatusSequenceIsTakenOneQueryAtATimeAndTheLastRepeats) {
  testbed::wifi_status("ra0", "0 0 34");
  EXPECT_EQ(status("ra0"), 0u);
  pid_t child = fork();  // another process takes the next value
  ASSERT_GE(child, 0);
  if (child == 0) _exit(status("ra0") == 0 ? 0 : 1);
  int exit_status = -1;
  ASSERT_EQ(waitpid(child, &exit_status, 0), child);
  EXPECT_EQ(exit_status, 0);
  EXPECT_EQ(status("ra0"), 34u);
  EXPECT_EQ(status("ra0"), 34u);
  EXPECT_EQ(status("rai0"), 0u) << "an interface without answers";
  EXPECT_EQ(testbed::requests("wifi rai0"), Lines{"wifi rai0 oid=0x0751 len=4"});
}

TEST_F(FakeWireless, ProfileIsTheRecordAtItsOffsets) {
  testbed::wifi_profile("apcli0", {"HomeNet", 0x0020, 0x0008, "secret12", 8, 1});
  Answer answer = oid("apcli0", 0x0750, 936);
  ASSERT_EQ(answer.result, 0);
  const Bytes &p = answer.data;
  EXPECT_EQ(le32(p, 0), 1u);  // ProfileCnt
  EXPECT_EQ(le32(p, 4), 0u);  // ApplyProfileIdx
  EXPECT_EQ(le32(p, 8), 7u);  // SsidLen
  EXPECT_EQ(text(p, 12, 8), std::string("HomeNet\0", 8));
  EXPECT_EQ(le16(p, 8 + 36), 0x20u);
  EXPECT_EQ(le16(p, 8 + 38), 0x08u);
  EXPECT_EQ(text(p, 8 + 40, 9), std::string("secret12\0", 9));
  EXPECT_EQ(le16(p, 8 + 104), 8u);
  EXPECT_EQ(p[8 + 112], 1u);
  EXPECT_EQ(p[8 + 116], 0u) << "the second credential is empty";
  EXPECT_EQ(oid("ra0", 0x0750, 936).data, Bytes(936, 0)) << "no profile: zeros";
}

TEST_F(FakeWireless, ChannelBssidAndAclAnswers) {
  testbed::wifi_channel("apcli0", 11);
  testbed::wifi_bssid("apcli0", "FF:FF:FF:FF:FF:FF 00:11:22:aa:bb:cc");
  testbed::wifi_acl("rai3", {"02:00:00:00:00:99", "0A:0B:0C:0D:0E:0F"});
  EXPECT_EQ(oid("apcli0", 0x0765, 1).data, Bytes{11});
  EXPECT_EQ(oid("apcli0", 0x0766, 6).data, Bytes(6, 0xFF));
  const Bytes bssid{0x00, 0x11, 0x22, 0xAA, 0xBB, 0xCC};
  EXPECT_EQ(oid("apcli0", 0x0766, 6).data, bssid);
  EXPECT_EQ(oid("apcli0", 0x0766, 6).data, bssid);
  Answer acl = oid("rai3", 0x052A, 520);
  ASSERT_EQ(acl.result, 0);
  EXPECT_EQ(le32(acl.data, 4), 2u);
  EXPECT_EQ(Bytes(acl.data.begin() + 8, acl.data.begin() + 24),
            (Bytes{2, 0, 0, 0, 0, 0x99, 0, 0, 0xA, 0xB, 0xC, 0xD, 0xE, 0xF, 0, 0}));
  EXPECT_EQ(acl.data[24], 0u);
}

TEST_F(FakeWireless, ConfiguredValueIsCopiedUpToTheAskedLength) {
  testbed::wifi_configured_value("apcli0", {"Upstream", 0x20, 0x08, 2, "passphrase", 8});
  Answer whole = ask("apcli0", kWscProfile, 0, 107, 107);
  ASSERT_EQ(whole.result, 0);
  const Bytes &v = whole.data;
  EXPECT_EQ(text(v, 2, 9), std::string("Upstream\0", 9));
  EXPECT_EQ(le16(v, 35), 0x20u);
  EXPECT_EQ(le16(v, 37), 0x08u);
  EXPECT_EQ(v[39], 2u);
  EXPECT_EQ(text(v, 40, 11), std::string("passphrase\0", 11));
  EXPECT_EQ(v[105], 8u);
  Answer part = ask("apcli0", kWscProfile, 0, 107, 40);
  ASSERT_EQ(part.result, 0);
  EXPECT_EQ(Bytes(part.data.begin(), part.data.begin() + 40), Bytes(v.begin(), v.begin() + 40));
  EXPECT_EQ(part.data[40], 0xAA) << "nothing beyond the asked length";
  EXPECT_EQ(testbed::requests(),
            (Lines{"wifi apcli0 wsc-profile len=107", "wifi apcli0 wsc-profile len=40"}));
}

TEST_F(FakeWireless, ConnectionStatusIsTheTextAndItsLength) {
  testbed::wifi_connstatus("apcli0", "Connected to 00:11:22:33:44:55");
  Answer answer = ask("apcli0", kConnStatus, 0, 2048, 2048);
  ASSERT_EQ(answer.result, 0);
  EXPECT_EQ(answer.length, 30u);
  EXPECT_EQ(text(answer.data, 0, 31), std::string("Connected to 00:11:22:33:44:55\0", 31));
  Answer none = ask("apclii0", kConnStatus, 0, 2048, 2048);
  EXPECT_EQ(none.result, 0);
  EXPECT_EQ(none.length, 0u);
  EXPECT_EQ(testbed::requests("wifi apcli0"), Lines{"wifi apcli0 connstatus len=2048"});
}

TEST_F(FakeWireless, MalformedRequestsAreRefusedAndLeaveTheBufferAlone) {
  testbed::wifi_status("ra0", "34");
  const std::pair<Answer, int> refusals[] = {
      {oid("ra0", 0x0751, 3), EINVAL},
      {oid("ra0", 0x0750, 935), EINVAL},
      {oid("ra0", 0x1234, 4), EOPNOTSUPP},
      {ask("apcli0", kWscProfile, 0x0751, 107, 107), EINVAL},
      {ask("apcli0", kConnStatus, 0, 2048, 1024), EINVAL},
      {ask("apcli0", 0x8BE1, 0, 16, 16), EOPNOTSUPP},
  };
  for (const auto &[answer, error] : refusals) {
    EXPECT_EQ(answer.result, -1);
    EXPECT_EQ(answer.error, error);
    EXPECT_EQ(answer.data, Bytes(answer.data.size(), 0xAA));
  }
  EXPECT_EQ(testbed::requests(),
            (Lines{"wifi ra0 refused oid=0x0751 (length 3, expected 4)",
                   "wifi ra0 refused oid=0x0750 (length 935, expected 936)",
                   "wifi ra0 refused oid=0x1234 (unknown OID)",
                   "wifi apcli0 refused wsc-profile (flags 0x751, expected 0)",
                   "wifi apcli0 refused connstatus (length 1024, expected 2048)",
                   "wifi apcli0 refused cmd=0x8BE1 (unknown request)"}));
  EXPECT_EQ(status("ra0"), 34u) << "a refused query takes no value";
}

TEST_F(FakeWireless, ScriptedFailuresRefuseTheNamedRequestsOfOneInterface) {
  testbed::wifi_fail("apcli0", "oid=0x0751 connstatus");
  EXPECT_EQ(oid("apcli0", 0x0751, 4).error, EIO);
  EXPECT_EQ(ask("apcli0", kConnStatus, 0, 2048, 2048).error, EIO);
  EXPECT_EQ(oid("apcli0", 0x0765, 1).result, 0);
  EXPECT_EQ(ask("apcli0", kWscProfile, 0, 107, 107).result, 0);
  EXPECT_EQ(oid("ra0", 0x0751, 4).result, 0);
  testbed::wifi_fail("apcli0", "all");
  EXPECT_EQ(oid("apcli0", 0x0765, 1).error, EIO);
  EXPECT_EQ(ask("apcli0", kWscProfile, 0, 107, 107).error, EIO);
  testbed::wifi_fail("apcli0", "");
  EXPECT_EQ(oid("apcli0", 0x0751, 4).result, 0);
  EXPECT_EQ(testbed::requests("wifi apcli0 refused oid=0x0751"),
            Lines{"wifi apcli0 refused oid=0x0751 (failing on request)"});
}

TEST_F(FakeWireless, OtherSocketRequestsAndBadDescriptorsAreTheKernels) {
  ifreq request{};
  strncpy(request.ifr_name, "ra0", IFNAMSIZ);
  ASSERT_EQ(ioctl(socket_, SIOCGIFHWADDR, &request), 0);
  EXPECT_EQ(request.ifr_hwaddr.sa_family, ARPHRD_ETHER);
  EXPECT_EQ(Bytes(request.ifr_hwaddr.sa_data, request.ifr_hwaddr.sa_data + 6),
            (Bytes{0x02, 0, 0, 0, 0, 0x10}));
  testbed::interface_up("ra0", false);
  ASSERT_EQ(ioctl(socket_, SIOCGIFFLAGS, &request), 0);
  EXPECT_EQ(request.ifr_flags & IFF_UP, 0);
  int closed = dup(socket_);
  close(closed);
  iwreq wrq{};
  strncpy(wrq.ifr_name, "ra0", IFNAMSIZ);
  errno = 0;
  EXPECT_EQ(ioctl(closed, kOidQuery, &wrq), -1);
  EXPECT_EQ(errno, EBADF);
  EXPECT_TRUE(testbed::requests().empty());
}

}  // namespace
