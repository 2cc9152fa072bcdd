// uplinkd's mesh link-change handler: the commands for the mesh interface
// by mesh mode and operation mode, the access-control list handed over
// whole and as hexadecimal digits only, and the Ethernet-backhaul flag.
#include <gtest/gtest.h>
#include <malloc.h>
#include <sys/mount.h>

#include <regex>
#include <string>
#include <vector>

#include "boardutil/console.h"
#include "nvram.h"
#include "tests/support/covered_path.h"
#include "tests/support/scarce_memory.h"
#include "tests/support/testbed.h"
#include "uplinkd/uplinkd.h"

namespace {

using Lines = std::vector<std::string>;
using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

constexpr char kBanner[] = "============= result == CONNECTED ============\n";
constexpr char kUpdate21[] = "iwpriv rai3 set SmartLinkUpdate=21";
constexpr char kUpdate20[] = "iwpriv rai3 set SmartLinkUpdate=20";
constexpr char kSmartLink[] = "iwpriv rai3 set SmartLink=1";

class MeshLink : public testing::Test {
 protected:
  void SetUp() override {
    testbed::reset();
    mesh_link_status = 3;
    mesh_acl_sent = 0;
    mesh_mode = "2";
    operation_mode = "3";
    acl("AA:BB:CC:DD:EE:FF;");
  }

  static void acl(const std::string &list) { nvram_bufset(1, "AccessControlList3", list.c_str()); }
  // The commands once the background mesh script (always the last) has run.
  static Lines commands_ending_with(const std::string &last) {
    EXPECT_TRUE(testbed::wait_for([&] {
      Lines lines = testbed::commands();
      return !lines.empty() && lines.back() == last;
    })) << "last: "
        << last;
    return testbed::commands();
  }
  static size_t banners() {
    std::string mark = "--mark--\n";
    console_print("%s", mark.c_str());
    EXPECT_TRUE(testbed::wait_for_text(testbed::kConsoleLog, mark));
    std::string log = testbed::console();
    size_t count = 0;
    for (size_t at = log.find(kBanner); at != std::string::npos; at = log.find(kBanner, at + 1)) {
      ++count;
    }
    testbed::clear_logs();
    return count;
  }
};

TEST_F(MeshLink, ConnectedInMeshRepeaterModeSendsTheListOncePerLinkUp) {
  update_mesh_link(1);
  EXPECT_EQ(commands_ending_with("mesh_load.sh"),
            (Lines{kUpdate21, "iwpriv rai3 set SmartLinkUpdate=5AABBCCDDEEFF", kSmartLink,
                   "mesh_load.sh"}));
  EXPECT_EQ(banners(), 1u);
  EXPECT_EQ(mesh_acl_sent, 1);

  // The same state again does nothing.
  update_mesh_link(1);
  EXPECT_EQ(banners(), 0u);
  EXPECT_TRUE(testbed::commands().empty());

  // Disconnected, then connected again without the link having come up in
  // the status loop: the list is not sent a second time.
  update_mesh_link(0);
  EXPECT_EQ(commands_ending_with("mesh_unload.sh"), (Lines{kUpdate20, "mesh_unload.sh"}));
  testbed::clear_logs();
  update_mesh_link(1);
  EXPECT_EQ(commands_ending_with("mesh_load.sh"), (Lines{kUpdate21, kSmartLink, "mesh_load.sh"}));
  EXPECT_EQ(banners(), 1u);
}

TEST_F(MeshLink, EveryStateButOneIsNotConnected) {
  update_mesh_link(2);
  EXPECT_EQ(commands_ending_with("mesh_unload.sh"), (Lines{kUpdate20, "mesh_unload.sh"}));
  testbed::clear_logs();
  update_mesh_link(0);  // 2 and 0 differ
  EXPECT_EQ(commands_ending_with("mesh_unload.sh"), (Lines{kUpdate20, "mesh_unload.sh"}));
  EXPECT_EQ(banners(), 0u);
}

TEST_F(MeshLink, MeshModeOneOnlyUpdatesWhateverTheOperationMode) {
  mesh_mode = "1";
  for (const char *operation : {"3", "1"}) {
    operation_mode = operation;
    update_mesh_link(1);
    EXPECT_EQ(testbed::commands(), Lines{kUpdate21}) << operation;
    EXPECT_EQ(banners(), 1u);
    update_mesh_link(0);
    EXPECT_EQ(testbed::commands(), Lines{kUpdate20}) << operation;
    testbed::clear_logs();
  }
  EXPECT_EQ(mesh_acl_sent, 0);
}

TEST_F(MeshLink, OtherModesShowOnlyTheBanner) {
  for (auto [mesh, operation] : {std::pair{"0", "3"}, std::pair{"2", "1"}}) {
    mesh_mode = mesh;
    operation_mode = operation;
    update_mesh_link(1);
    EXPECT_EQ(banners(), 1u) << mesh << " " << operation;
    update_mesh_link(0);
    EXPECT_EQ(banners(), 0u);
    EXPECT_TRUE(testbed::commands().empty()) << mesh << " " << operation;
  }
}

TEST_F(MeshLink, TheWholeListIsHandedOver) {
  // Twenty addresses: more than a 170-byte command line could hold.
  std::string list, digits;
  for (int i = 0; i < 20; ++i) {
    char mac[19], compact[13];
    snprintf(mac, sizeof mac, "02:00:00:00:10:%02X;", i);
    snprintf(compact, sizeof compact, "0200000010%02X", i);
    list += mac;
    digits += compact;
  }
  acl(list);
  update_mesh_link(1);
  Lines lines = commands_ending_with("mesh_load.sh");
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[1], "iwpriv rai3 set SmartLinkUpdate=5" + digits);
}

TEST_F(MeshLink, OnlyHexadecimalDigitsReachTheShell) {
  for (const std::string &list :
       {std::string(""), std::string("AA:BB:CC:DD:EE:FF;$(touch /tmp/owned);`touch /tmp/owned`"),
        std::string("AA:BB:CC:DD:EE:FF; touch /tmp/owned\n;11:22:33:44:55:66;")}) {
    testbed::clear_logs();
    mesh_link_status = 3;
    mesh_acl_sent = 0;
    acl(list);
    update_mesh_link(1);
    Lines lines = commands_ending_with("mesh_load.sh");
    ASSERT_EQ(lines.size(), 4u) << list;
    EXPECT_TRUE(
        std::regex_match(lines[1], std::regex("iwpriv rai3 set SmartLinkUpdate=5[0-9A-Fa-f]*")))
        << lines[1];
    EXPECT_FALSE(testbed::file_exists("/tmp/owned"));
  }
}

// The list is read at every call, one that changes nothing included; the
// read shows as the report of set 1's damaged file.
TEST_F(MeshLink, TheListIsReadAtEveryCall) {
  testbed::damage_store_set(1);
  CaptureStderr();
  update_mesh_link(3);  // the state it has already
  std::string errors = GetCapturedStderr();
  EXPECT_NE(errors.find("rtdev is damaged"), std::string::npos) << errors;
  EXPECT_TRUE(testbed::commands().empty());
}

// A list whose compact form finds no memory is not sent (as an empty list
// or otherwise), and stays due for the next link-up.
TEST_F(MeshLink, AListWithoutMemoryForItsCompactFormIsNotSent) {
  // Large blocks mapped alone and unmapped when freed, so no freed block can
  // hold the compact form once memory is short.
  mallopt(M_MMAP_THRESHOLD, 128 << 10);
  const std::string list(16 << 20, 'A');
  acl(list);
  nvram_bufget(1, "AccessControlList3");  // the text handed out exists from now on
  {
    testbed::ScarceMemory scarce(4 << 20);
    if (!scarce.holds()) GTEST_SKIP() << "the address space cannot be limited here";
    update_mesh_link(1);
  }
  EXPECT_EQ(commands_ending_with("mesh_load.sh"), (Lines{kUpdate21, kSmartLink, "mesh_load.sh"}));
  EXPECT_EQ(mesh_acl_sent, 0);
}

// The banner's result is not looked at: a shell that cannot start adds no
// message of its own.
TEST_F(MeshLink, ABannerThatCannotRunAddsNoMessage) {
  if (!testbed::spawn_reports_failed_exec()) GTEST_SKIP() << "this emulator cannot report it";
  mesh_mode = "0";  // the banner alone
  testbed::Covered shell("/bin/sh", "/dev/null", nullptr, MS_BIND);
  ASSERT_TRUE(shell.mounted());
  CaptureStderr();
  update_mesh_link(1);
  EXPECT_EQ(GetCapturedStderr(), "");
}

TEST_F(MeshLink, EtherBackhaulFlagIsTheFirstByteOne) {
  EXPECT_EQ(check_etherbh(), 0);
  for (const char *content : {"1", "1\n", "10"}) {
    testbed::write_file("/tmp/etherbh", content);
    EXPECT_EQ(check_etherbh(), 1) << content;
  }
  for (const char *content : {"0", "", " 1", "\n"}) {
    testbed::write_file("/tmp/etherbh", content);
    EXPECT_EQ(check_etherbh(), 0) << content;
  }
}

}  // namespace
