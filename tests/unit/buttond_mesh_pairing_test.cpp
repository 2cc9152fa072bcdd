// The mesh pairing completion handler: the commands of each model and mesh
// mode (through the stubs' records), LED 9 dark, and the monitor's SIGHUP.
#include <gtest/gtest.h>
#include <malloc.h>

#include <string>
#include <vector>

#include "buttond/buttond.h"
#include "nvram.h"
#include "tests/support/scarce_memory.h"
#include "tests/support/testbed.h"

namespace {

constexpr char kLed9Dark[] = "gpio led pin=9 on=0 off=4000 blinks=1 rests=0 times=4000";
constexpr char kOwnMac[] = "02:00:00:00:00:21";  // apclii0 of the sandbox

class MeshPairingTest : public testing::Test {
 protected:
  void SetUp() override {
    testbed::reset();
    testbed::set_time_divisor(100);
    nvram_bufset(0, "Model", "KQ700");
    nvram_bufset(1, "AccessControlList3", "");
    testbed::wifi_acl("rai3", {});
  }

  // Runs the handler in mode and waits until the monitor was notified.
  static void pair(const char *mode) {
    mesh_mode = mode;
    testbed::start_monitor();
    send_signal();
    ASSERT_TRUE(testbed::wait_for([] { return testbed::monitor_hups() == 1; }));
    EXPECT_EQ(testbed::requests("gpio led"), std::vector<std::string>{kLed9Dark});
  }
};

TEST_F(MeshPairingTest, MeshModeOneMergesAndHandsTheListToTheMeshInterface) {
  testbed::wifi_acl("rai3", {"AA:BB:CC:DD:EE:01", "AA:BB:CC:DD:EE:02"});
  pair("1");
  ASSERT_TRUE(testbed::wait_for_lines(testbed::kCommandsLog, 4));
  EXPECT_EQ(testbed::commands(),
            (std::vector<std::string>{
                "iwpriv rai3 set SmartLinkUpdate=40",
                "iwpriv rai3 set SmartLinkUpdate=5020000000021AABBCCDDEE01AABBCCDDEE02",
                "iwpriv rai3 set touchlink=0",
                "killall -SIGUSR1 sync_server",
            }));
  EXPECT_EQ(std::string(nvram_bufget(1, "AccessControlList3")),
            std::string(kOwnMac) + ";AA:BB:CC:DD:EE:01;AA:BB:CC:DD:EE:02;");
  EXPECT_TRUE(
      testbed::wait_for_text(testbed::kConsoleLog, "notify monitor to update status..\n\n"));
  EXPECT_EQ(testbed::console(), "update acl\n\nnotify monitor to update status..\n\n");
  EXPECT_FALSE(testbed::file_exists("/tmp/Pair"));
}

TEST_F(MeshPairingTest, LongListIsHandedOverWhole) {
  std::vector<std::string> macs;
  std::string digits = "020000000021";
  for (unsigned i = 0; i < 40; ++i) {
    char mac[18];
    snprintf(mac, sizeof mac, "C0:FF:EE:00:00:%02X", i);
    macs.push_back(mac);
    digits += std::string("C0FFEE0000") + (mac + 15);
  }
  testbed::wifi_acl("rai3", macs);
  pair("1");
  ASSERT_TRUE(testbed::wait_for_lines(testbed::kCommandsLog, 4));
  EXPECT_EQ(testbed::commands().at(1), "iwpriv rai3 set SmartLinkUpdate=5" + digits);
}

// A list whose compact form finds no memory is not handed over as an
// empty one; the merge, short of memory too, stores nothing.
TEST_F(MeshPairingTest, AListWithoutMemoryForItsCompactFormIsNotHandedOver) {
  mallopt(M_MMAP_THRESHOLD, 128 << 10);  // no freed large block to reuse
  const std::string list(16 << 20, 'A');
  nvram_bufset(1, "AccessControlList3", list.c_str());
  nvram_bufget(1, "AccessControlList3");  // the text handed out exists from now on
  mesh_mode = "1";
  testbed::start_monitor();
  {
    testbed::ScarceMemory scarce(4 << 20);
    if (!scarce.holds()) GTEST_SKIP() << "the address space cannot be limited here";
    send_signal();
  }
  ASSERT_TRUE(testbed::wait_for([] { return testbed::monitor_hups() == 1; }));
  ASSERT_TRUE(testbed::wait_for_lines(testbed::kCommandsLog, 3));
  EXPECT_EQ(testbed::commands(), (std::vector<std::string>{"iwpriv rai3 set SmartLinkUpdate=40",
                                                           "iwpriv rai3 set touchlink=0",
                                                           "killall -SIGUSR1 sync_server"}));
}

TEST_F(MeshPairingTest, PairingOverWithoutTouchingTheList) {
  // Model KQ718D3 in mesh mode 1, and any model in mesh mode 2.
  for (const char *mode : {"1", "2"}) {
    testbed::reset();
    testbed::set_time_divisor(100);
    nvram_bufset(0, "Model", "KQ718D3");
    nvram_bufset(1, "AccessControlList3", "");
    testbed::wifi_acl("rai3", {"AA:BB:CC:DD:EE:01"});
    pair(mode);
    EXPECT_TRUE(testbed::wait_for_text("/tmp/Pair", "0\n")) << "mode " << mode;
    EXPECT_TRUE(testbed::commands().empty()) << "mode " << mode;
    EXPECT_STREQ(nvram_bufget(1, "AccessControlList3"), "") << "mode " << mode;
  }
}

TEST_F(MeshPairingTest, OtherMeshModesOnlyDimTheLedAndNotify) {
  for (const char *mode : {"0", ""}) {
    testbed::reset();
    testbed::set_time_divisor(100);
    pair(mode);
    EXPECT_TRUE(testbed::commands().empty()) << "mode " << mode;
    EXPECT_FALSE(testbed::file_exists("/tmp/Pair")) << "mode " << mode;
    EXPECT_TRUE(
        testbed::wait_for_text(testbed::kConsoleLog, "notify monitor to update status..\n\n"));
    EXPECT_EQ(testbed::console(), "notify monitor to update status..\n\n") << "mode " << mode;
  }
}

TEST_F(MeshPairingTest, MonitorWithoutUsablePidIsNotSignalled) {
  mesh_mode = "0";
  send_signal();
  EXPECT_TRUE(
      testbed::wait_for_text(testbed::kConsoleLog, "send_signal: application is not running\n\n"));
  EXPECT_EQ(testbed::requests("gpio led"), std::vector<std::string>{kLed9Dark});

  // A running monitor whose pid file says 1, or no number at all.
  testbed::start_monitor();
  testbed::clear_logs();
  testbed::write_file("/var/run/monitor.pid", "1\n");
  send_signal();
  testbed::write_file("/var/run/monitor.pid", "pid\n");
  send_signal();
  EXPECT_TRUE(testbed::wait_for_text(testbed::kConsoleLog,
                                     "send_signal: application pid(1) <= 1\n\n"
                                     "send_signal: application is not running\n\n"));
  EXPECT_EQ(testbed::monitor_hups(), 0u);
}

}  // namespace
