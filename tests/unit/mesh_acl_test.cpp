// The mesh access-control list: merging the fake driver's list of rai3 into
// the stored list, the own apclii0 address, and the compact form.
#include "boardutil/mesh_acl.h"

#include <gtest/gtest.h>
#include <stdio.h>

#include <string>
#include <vector>

#include "nvram.h"
#include "tests/support/testbed.h"
#include "tests/unit/console_capture.h"

namespace {

constexpr char kOwnMac[] = "0A:1B:2C:3D:4E:5F";
constexpr char kOwnEntry[] = "0A:1B:2C:3D:4E:5F;";

// A distinct station address per number.
std::string station(unsigned i) {
  char mac[18];
  snprintf(mac, sizeof mac, "C0:FF:EE:00:%02X:%02X", (i / 256) & 0xFF, i % 256);
  return mac;
}

std::vector<std::string> stations(unsigned first, unsigned count) {
  std::vector<std::string> macs;
  for (unsigned i = first; i < first + count; ++i) macs.push_back(station(i));
  return macs;
}

std::string as_list(const std::vector<std::string> &macs) {
  std::string list;
  for (const std::string &mac : macs) list += mac + ";";
  return list;
}

std::string compact(const std::string &list) {
  std::string digits;
  for (char c : list) {
    if (c != ':' && c != ';') digits += c;
  }
  return digits;
}

// Splits a stored list into its entries, failing the test on any entry that
// is not a whole "XX:XX:XX:XX:XX:XX;".
std::vector<std::string> entries_of(const std::string &list) {
  std::vector<std::string> entries;
  EXPECT_EQ(list.size() % 18, 0u) << list;
  for (size_t at = 0; at + 18 <= list.size(); at += 18) {
    std::string entry = list.substr(at, 18);
    EXPECT_EQ(entry[17], ';') << entry;
    for (size_t colon : {2, 5, 8, 11, 14}) EXPECT_EQ(entry[colon], ':') << entry;
    entries.push_back(entry.substr(0, 17));
  }
  return entries;
}

class MeshAclTest : public testing::Test {
 protected:
  void SetUp() override {
    testbed::reset();
    testbed::set_time_divisor(100);
    testbed::set_mac("apclii0", kOwnMac);
  }

  static std::string stored(int index = 1, const char *key = "AccessControlList3") {
    return nvram_bufget(index, key);
  }
  static void store(const std::string &list) {
    nvram_bufset(1, "AccessControlList3", list.c_str());
  }
};

TEST_F(MeshAclTest, EmptyOrShortListBecomesOwnAddressThenStationsAndIsCommitted) {
  for (const char *seed : {"", "12:34:56;"}) {
    store(seed);
    testbed::wifi_acl("rai3", {"AA:BB:CC:DD:EE:01", "aa:bb:cc:dd:ee:02"});
    config_acl("rai3", 3, 1);
    EXPECT_EQ(stored(), std::string(kOwnEntry) + "AA:BB:CC:DD:EE:01;AA:BB:CC:DD:EE:02;")
        << "seed " << seed;
  }
  // Committed: another process reads the same list from the store.
  ASSERT_EQ(testbed::sh(testbed::program("nvram") + " get 1 AccessControlList3 > /tmp/acl"), 0);
  EXPECT_EQ(testbed::read_file("/tmp/acl"),
            std::string(kOwnEntry) + "AA:BB:CC:DD:EE:01;AA:BB:CC:DD:EE:02;\n");
}

TEST_F(MeshAclTest, OwnAddressIsMatchedExactlyAndStationsIgnoringCase) {
  // Own address present in uppercase: kept once. A driver station stored in
  // lowercase is not added again; a repeated station gives one entry.
  store("aa:bb:cc:dd:ee:01;" + std::string(kOwnEntry));
  testbed::wifi_acl("rai3", {"AA:BB:CC:DD:EE:01", "AA:BB:CC:DD:EE:02", "AA:BB:CC:DD:EE:02"});
  config_acl("rai3", 3, 1);
  EXPECT_EQ(stored(), "aa:bb:cc:dd:ee:01;" + std::string(kOwnEntry) + "AA:BB:CC:DD:EE:02;");

  // Own address present only in lowercase: the uppercase form is appended.
  store("0a:1b:2c:3d:4e:5f;");
  testbed::wifi_acl("rai3", {});
  config_acl("rai3", 3, 1);
  EXPECT_EQ(stored(), "0a:1b:2c:3d:4e:5f;" + std::string(kOwnEntry));

  // A stored list without its final ';' gets the address right after it.
  store("AA:BB:CC:DD:EE:01");
  config_acl("rai3", 3, 1);
  EXPECT_EQ(stored(), "AA:BB:CC:DD:EE:01" + std::string(kOwnEntry));
}

TEST_F(MeshAclTest, OtherListsAreReplacedByTheDriverList) {
  nvram_bufset(0, "AccessControlList2", "11:11:11:11:11:11;");
  store("AA:BB:CC:DD:EE:01;");
  testbed::wifi_acl("ra0", {"AA:BB:CC:DD:EE:07", "AA:BB:CC:DD:EE:07"});
  config_acl("ra0", 2, 0);
  EXPECT_EQ(stored(0, "AccessControlList2"), "AA:BB:CC:DD:EE:07;");
  testbed::wifi_acl("ra0", {});
  config_acl("ra0", 2, 0);
  EXPECT_EQ(stored(0, "AccessControlList2"), "");
  // Neither the mesh list nor the own address is involved.
  EXPECT_EQ(stored(), "AA:BB:CC:DD:EE:01;");
}

TEST_F(MeshAclTest, FailedQueryStoresTheSeededList) {
  store("");
  testbed::wifi_acl("rai3", {"AA:BB:CC:DD:EE:01"});
  testbed::wifi_fail("rai3", "all");
  config_acl("rai3", 3, 1);
  EXPECT_EQ(stored(), kOwnEntry);
}

TEST_F(MeshAclTest, MeshListGrowsAcrossCallsWithEveryEntryWhole) {
  // A stored list of 64 entries plus a full driver record (64 entries) is
  // more than one driver list's worth of text; nothing may be cut or lost.
  std::vector<std::string> expected = {kOwnMac};
  std::vector<std::string> old = stations(0, 63);
  expected.insert(expected.end(), old.begin(), old.end());
  store(as_list(expected));
  for (unsigned round = 1; round <= 2; ++round) {
    std::vector<std::string> fresh = stations(round * 100, 64);
    std::vector<std::string> driver = fresh;
    driver[0] = old[5];  // already stored: not added again
    testbed::wifi_acl("rai3", driver);
    config_acl("rai3", 3, 1);
    expected.insert(expected.end(), fresh.begin() + 1, fresh.end());
    EXPECT_EQ(entries_of(stored()), expected) << "round " << round;
  }
  EXPECT_EQ(expected.size(), 64u + 2 * 63u);
}

TEST_F(MeshAclTest, ADriverClaimingMoreThanSixtyFourEntriesGivesTheFirstSixtyFour) {
  testbed::write_file("/tmp/log", "");
  store("");
  std::vector<std::string> driver = stations(0, 64);
  testbed::wifi_acl("rai3", driver, 100);
  config_acl("rai3", 3, 1);
  std::vector<std::string> expected = {kOwnMac};
  expected.insert(expected.end(), driver.begin(), driver.end());
  EXPECT_EQ(entries_of(stored()), expected);
  std::string console = console_so_far();
  EXPECT_NE(console.find(station(63) + "\n"), std::string::npos);
  EXPECT_NE(console.find(station(63) + "\nconfig_acl is full, can not add more\n\n"),
            std::string::npos)
      << console;
}

TEST_F(MeshAclTest, CompactFormKeepsOnlyHexadecimalDigits) {
  EXPECT_STREQ(mesh_get_acl("AA:BB:CC:DD:EE:01;aa:bb:cc:dd:ee:02;"), "AABBCCDDEE01aabbccddee02");
  EXPECT_STREQ(mesh_get_acl(""), "");
  // Text another writer left in the store never reaches a command line:
  // of "`touch /tmp/x`" and "$(id)" only the letters c and d remain.
  const char *hostile = "AA:BB:CC:DD:EE:01;`touch /tmp/x`;$(id)|&><\"' \n\t11:22:33:44:55:66;";
  EXPECT_STREQ(mesh_get_acl(hostile), "AABBCCDDEE01cd112233445566");

  char out[64] = "prefix=";
  mesh_acl_append("AA:BB:CC:DD:EE:01;", out);
  mesh_acl_append("; rm -rf /;11:22:33:44:55:66;", out);
  EXPECT_STREQ(out, "prefix=AABBCCDDEE01f112233445566");
}

TEST_F(MeshAclTest, CompactFormOfALongListIsWhole) {
  std::string list = as_list(stations(0, 200));
  std::string first = mesh_get_acl(list.c_str());
  EXPECT_EQ(first.size(), 200u * 12);
  EXPECT_EQ(first, compact(list));
  const char *second = mesh_get_acl("AA:BB:CC:DD:EE:01;");
  EXPECT_STREQ(second, "AABBCCDDEE01");
}

// A result outlives the next call, even one that needs a larger buffer, so
// a caller may hold it while the next list is compacted.
TEST_F(MeshAclTest, AResultStaysValidThroughTheNextCall) {
  const char *first = mesh_get_acl("AA:BB:CC:DD:EE:01;");
  const char *second = mesh_get_acl("11:22:33:44:55:66;");
  EXPECT_STREQ(first, "AABBCCDDEE01");
  std::string list = as_list(stations(0, 300));
  const char *third = mesh_get_acl(list.c_str());
  EXPECT_STREQ(second, "112233445566");
  const char *fourth = mesh_get_acl(as_list(stations(0, 400)).c_str());
  EXPECT_EQ(third, compact(list));
  EXPECT_EQ(fourth, compact(as_list(stations(0, 400))));
}

}  // namespace
