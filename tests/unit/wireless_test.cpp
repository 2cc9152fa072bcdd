// Wireless driver queries against the fake driver (request numbers, OIDs,
// record offsets, failures) and the MAC addresses of the sandbox's links.
#include "boardutil/wireless.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "boardutil/mac_address.h"
#include "boardutil/wireless_internal.h"
#include "tests/support/testbed.h"
#include "tests/unit/console_capture.h"

namespace {

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;
using Lines = std::vector<std::string>;

unsigned u16_at(const unsigned char *record, size_t offset) {
  return record[offset] | record[offset + 1] << 8;
}

class WirelessTest : public testing::Test {
 protected:
  void SetUp() override { testbed::reset(); }
};

TEST_F(WirelessTest, MacAddressesInAllThreeForms) {
  testbed::set_mac("ra0", "0a:1b:2c:3d:4e:5f");
  EXPECT_STREQ(get_mac_addr_with_colon("ra0"), "0A:1B:2C:3D:4E:5F");
  EXPECT_STREQ(get_mac_addr("ra0"), "0A1B2C3D4E5F");
  const unsigned char expected[6] = {0x0a, 0x1b, 0x2c, 0x3d, 0x4e, 0x5f};
  EXPECT_EQ(memcmp(get_mac_addr_hex("ra0"), expected, 6), 0);
  // Each form has its own buffer, overwritten by its next call.
  const char *first = get_mac_addr_with_colon("ra0");
  get_mac_addr_with_colon("apclii0");
  EXPECT_STREQ(first, "02:00:00:00:00:21");
}

TEST_F(WirelessTest, MacOfAMissingInterfaceIsTheEmptyTextAndAMessage) {
  CaptureStderr();
  EXPECT_STREQ(get_mac_addr("nosuch0"), "");
  EXPECT_STREQ(get_mac_addr_with_colon("nosuch0"), "");
  const unsigned char zeros[6] = {};
  EXPECT_EQ(memcmp(get_mac_addr_hex("nosuch0"), zeros, 6), 0) << "six readable zero bytes";
  // A name longer than an interface name is cut, not copied past the record.
  EXPECT_STREQ(get_mac_addr(std::string(64, 'r').c_str()), "");
  EXPECT_EQ(GetCapturedStderr(),
            "get_mac_addr: ioctl fail\n"
            "get_mac_addr_with_colon: ioctl fail\n"
            "get_mac_addr_hex: ioctl fail\n"
            "get_mac_addr: ioctl fail\n");
}

TEST_F(WirelessTest, WscStatusFollowsTheDriversSequence) {
  testbed::wifi_status("ra0", "0 34 265");
  EXPECT_EQ(getWscStatus("ra0"), 0);
  EXPECT_EQ(getWscStatus("ra0"), 34);
  EXPECT_EQ(getWscStatus("ra0"), 265);
  EXPECT_EQ(testbed::requests("wifi").at(0), "wifi ra0 oid=0x0751 len=4");
}

TEST_F(WirelessTest, FailedStatusQueryIsZeroAndADebugMessage) {
  testbed::wifi_status("rai0", "34");
  testbed::wifi_fail("rai0", "oid=0x0751");
  EXPECT_EQ(getWscStatus("rai0"), 0);
  EXPECT_EQ(console_so_far(), "");
  testbed::write_file("/tmp/log", "");
  EXPECT_EQ(getWscStatus("rai0"), 0);
  EXPECT_EQ(console_so_far(), "ioctl error\n");
}

TEST_F(WirelessTest, ProfileRecordCarriesTheCredentialAtItsOffsets) {
  testbed::wifi_profile("rai0", {"HomeNet", 32, 8, "0123456789", 10, 3});
  wsc_profile profile{};
  getWscProfile("rai0", &profile);
  EXPECT_EQ(testbed::requests("wifi"), Lines{"wifi rai0 oid=0x0750 len=936"});
  const wsc_credential &credential = profile.Profile[0];
  EXPECT_EQ(profile.ProfileCnt, 1u);
  EXPECT_STREQ(credential.Ssid, "HomeNet");
  EXPECT_EQ(credential.SsidLen, 7u);
  EXPECT_EQ(credential.AuthType, 32u);
  EXPECT_EQ(credential.EncrType, 8u);
  EXPECT_EQ(memcmp(credential.Key, "0123456789", 10), 0);
  EXPECT_EQ(credential.KeyLen, 10u);
  EXPECT_EQ(credential.KeyIndex, 3);
  // The same fields at the record's documented byte offsets, low byte first.
  const auto *bytes = reinterpret_cast<const unsigned char *>(&profile);
  EXPECT_STREQ(reinterpret_cast<const char *>(bytes + 12), "HomeNet");
  EXPECT_EQ(u16_at(bytes, 44), 32u);
  EXPECT_EQ(u16_at(bytes, 112), 10u);
  EXPECT_EQ(bytes[120], 3);

  testbed::wifi_fail("rai0", "all");
  testbed::write_file("/tmp/log", "");
  wsc_profile untouched{};
  getWscProfile("rai0", &untouched);
  EXPECT_EQ(console_so_far(), "ioctl error\n\n");
  EXPECT_EQ(untouched.Profile[0].Ssid[0], 0);
}

TEST_F(WirelessTest, ConfiguredValueIsReadFromThePackedRecord) {
  testbed::wifi_configured_value("apcli0", {"Upstream", 34, 12, 1, "secretkey", 8});
  WSC_CONFIGURED_VALUE value;
  memset(&value, 0xAA, sizeof value);
  getCurrentWscProfile("apcli0", &value, sizeof value);
  EXPECT_EQ(testbed::requests("wifi"), Lines{"wifi apcli0 wsc-profile len=107"});
  EXPECT_STREQ(value.WscSsid, "Upstream");
  EXPECT_EQ(value.WscAuthMode, 34u);
  EXPECT_EQ(value.WscEncrypType, 12u);
  EXPECT_EQ(value.WscKeyIdx, 1);
  EXPECT_STREQ(value.WscKey, "secretkey");
  EXPECT_EQ(value.WscSsidLen, 8);
  // The 16-bit fields at their odd offsets, low byte first.
  const auto *bytes = reinterpret_cast<const unsigned char *>(&value);
  EXPECT_EQ(u16_at(bytes, 35), 34u);
  EXPECT_EQ(u16_at(bytes, 37), 12u);
}

TEST_F(WirelessTest, FailedConfiguredValueLeavesTheRequestText) {
  testbed::wifi_fail("apclii0", "wsc-profile");
  testbed::write_file("/tmp/log", "");
  unsigned char record[WSC_CONFIGURED_VALUE_SIZE];
  memset(record, 0xAA, sizeof record);
  getCurrentWscProfile("apclii0", record, sizeof record);
  EXPECT_EQ(memcmp(record, "get_wsc_profile", 16), 0);
  EXPECT_EQ(record[16], 0xAA);
  EXPECT_EQ(record[WSC_CONFIGURED_VALUE_SIZE - 1], 0xAA);
  EXPECT_EQ(console_so_far(), "ioctl -> RTPRIV_IOCTL_WSC_PROFILE Fail !\n");
  // A buffer shorter than the request text gets only what fits.
  unsigned char small[4];
  memset(small, 0xAA, sizeof small);
  getCurrentWscProfile("apclii0", small, sizeof small);
  EXPECT_EQ(memcmp(small, "get_", 4), 0);
}

TEST_F(WirelessTest, OidQueriesOnTheCallersSocketLeaveItOpen) {
  testbed::wifi_acl("rai3", {"AA:BB:CC:DD:EE:01", "AA:BB:CC:DD:EE:02"});
  testbed::wifi_channel("apcli0", 11);
  int sock = socket(AF_INET, SOCK_DGRAM, 0);
  ASSERT_GE(sock, 0);
  acl_list acl{};
  EXPECT_EQ(ap_oid_query_info(OID_ACL_LIST, sock, "rai3", &acl, sizeof acl), 0);
  EXPECT_EQ(acl.EntryCount, 2u);
  EXPECT_EQ(acl.Entries[1].Mac[5], 0x02);
  unsigned char channel = 0;
  EXPECT_EQ(ap_oid_query_info(OID_APCLI_CHANNEL, sock, "apcli0", &channel, 1), 0);
  EXPECT_EQ(channel, 11);
  close(sock);
  EXPECT_EQ(testbed::requests("wifi").at(0), "wifi rai3 oid=0x052A len=520");
}

TEST_F(WirelessTest, OidQueryOnItsOwnSocketReportsTheResult) {
  testbed::wifi_bssid("apclii0", "00:11:22:33:44:55");
  unsigned char bssid[6] = {};
  EXPECT_EQ(boardutil::OidQuery(OID_APCLI_BSSID, "apclii0", bssid, sizeof bssid).result(), 0);
  EXPECT_EQ(bssid[5], 0x55);
  testbed::wifi_fail("apclii0", "oid=0x0766");
  EXPECT_TRUE(boardutil::OidQuery(OID_APCLI_BSSID, "apclii0", bssid, sizeof bssid).failed());
}

}  // namespace
