// The test side of the board: reset() undoes what a test changed (files,
// processes, fake drivers, store, network), and spawned processes report
// their output and exit status.
#include <gtest/gtest.h>
#include <net/if.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "tests/support/testbed.h"

#ifndef NVRAM_DIR
#define NVRAM_DIR "/var/lib/nvram"
#endif

namespace {

// The interface's MAC as the kernel has it, "" when it does not exist.
std::string mac_of(const char *ifname) {
  int fd = socket(AF_INET, SOCK_DGRAM, 0);
  ifreq request{};
  strncpy(request.ifr_name, ifname, IFNAMSIZ - 1);
  int result = ioctl(fd, SIOCGIFHWADDR, &request);
  close(fd);
  if (result < 0) return "";
  char text[18];
  const auto *b = reinterpret_cast<const unsigned char *>(request.ifr_hwaddr.sa_data);
  snprintf(text, sizeof text, "%02x:%02x:%02x:%02x:%02x:%02x", b[0], b[1], b[2], b[3], b[4], b[5]);
  return text;
}

// Whether /proc/net/route has a line of destination 0.0.0.0 (its second field).
bool has_default_route() {
  for (const std::string &line : testbed::read_lines("/proc/net/route")) {
    size_t tab = line.find('\t');
    if (tab != std::string::npos && line.compare(tab, 10, "\t00000000\t") == 0) return true;
  }
  return false;
}

class BoardReset : public testing::Test {
 protected:
  void SetUp() override { testbed::reset(); }
  void TearDown() override { testbed::stop_all(); }
};

TEST_F(BoardReset, NetworkChangesAreUndone) {
  testbed::set_mac("ra0", "02:00:00:00:00:99");
  EXPECT_EQ(mac_of("ra0"), "02:00:00:00:00:99");
  testbed::interface_delete("rai0");
  EXPECT_EQ(mac_of("rai0"), "");
  testbed::interface_up("apcli0", false);
  testbed::default_route(testbed::kGateway);
  EXPECT_TRUE(has_default_route());
  EXPECT_EQ(testbed::sh("ping -c 1 -W 5 192.168.77.1 >/dev/null"), 0);
  testbed::reset();
  EXPECT_EQ(mac_of("ra0"), "02:00:00:00:00:10");
  EXPECT_EQ(mac_of("rai0"), "02:00:00:00:00:20");
  EXPECT_EQ(testbed::sh("ip -o link show dev apcli0 | grep -q '[<,]UP[,>]'"), 0);
  EXPECT_FALSE(has_default_route());
  testbed::default_route("");
  EXPECT_TRUE(has_default_route()) << "a default route without gateway";
  testbed::no_default_route();
  EXPECT_FALSE(has_default_route());
}

TEST_F(BoardReset, FilesLogsAndTheStoreStartOver) {
  testbed::write_file("/tmp/left", "x");
  testbed::write_file("/var/run/left.pid", "1\n");
  testbed::write_file(std::string(NVRAM_DIR) + "/left", "x");
  ASSERT_EQ(testbed::sh("echo line >> /run/sim/commands.log"), 0);
  testbed::reset();
  EXPECT_FALSE(testbed::file_exists("/tmp/left"));
  EXPECT_FALSE(testbed::file_exists("/var/run/left.pid"));
  EXPECT_FALSE(testbed::file_exists(std::string(NVRAM_DIR) + "/left"));
  EXPECT_TRUE(testbed::file_exists(NVRAM_DIR));
  EXPECT_TRUE(testbed::commands().empty());
  EXPECT_TRUE(testbed::file_exists("/run/sim/hw/state"));
}

TEST_F(BoardReset, SpawnedProcessesReportOutputAndStatus) {
  testbed::Process done = testbed::spawn("/bin/sh", {"-c", "echo out; echo err >&2; exit 3"});
  EXPECT_EQ(done.wait(), 3);
  EXPECT_EQ(done.out(), "out\n");
  EXPECT_EQ(done.err(), "err\n");
  EXPECT_FALSE(done.running());
  testbed::Process sleeper = testbed::spawn("/bin/sleep", {"100"});
  EXPECT_TRUE(sleeper.running());
  EXPECT_EQ(sleeper.wait(50), -1);
  sleeper.signal(SIGTERM);
  EXPECT_EQ(sleeper.wait(), 128 + SIGTERM);
}

TEST_F(BoardReset, ResetStopsSpawnedProcessesAndWhatTheyStarted) {
  testbed::Process parent =
      testbed::spawn("/bin/sh", {"-c", "sleep 100 & echo $! > /run/sim/child; wait"});
  ASSERT_TRUE(testbed::wait_for_text("/run/sim/child", "\n"));
  pid_t child = std::stoi(testbed::read_file("/run/sim/child"));
  testbed::remove_file("/run/sim/child");
  testbed::reset();
  EXPECT_FALSE(parent.running());
  EXPECT_TRUE(testbed::wait_for([child] { return kill(child, 0) != 0; }));
}

TEST_F(BoardReset, MonitorCountsItsHangups) {
  pid_t monitor = testbed::start_monitor();
  ASSERT_GT(monitor, 0);
  EXPECT_EQ(testbed::read_file("/var/run/monitor.pid"), std::to_string(monitor) + "\n");
  kill(monitor, SIGHUP);
  EXPECT_TRUE(testbed::wait_for([] { return testbed::monitor_hups() == 1; }));
}

}  // namespace
