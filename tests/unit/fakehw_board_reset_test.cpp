// The test side of the board: reset() undoes what a test changed (files,
// processes, fake drivers, store, network), and spawned processes report
// their output and exit status.
#include <net/if.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "sim.h"

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
  for (const std::string &line : sim::read_lines("/proc/net/route")) {
    size_t tab = line.find('\t');
    if (tab != std::string::npos && line.compare(tab, 10, "\t00000000\t") == 0) return true;
  }
  return false;
}

class BoardReset : public testing::Test {
 protected:
  void SetUp() override { sim::reset(); }
  void TearDown() override { sim::stop_all(); }
};

TEST_F(BoardReset, NetworkChangesAreUndone) {
  sim::set_mac("ra0", "02:00:00:00:00:99");
  EXPECT_EQ(mac_of("ra0"), "02:00:00:00:00:99");
  sim::interface_delete("rai0");
  EXPECT_EQ(mac_of("rai0"), "");
  sim::interface_up("apcli0", false);
  sim::default_route(sim::kGateway);
  EXPECT_TRUE(has_default_route());
  EXPECT_EQ(sim::sh("ping -c 1 -W 5 192.168.77.1 >/dev/null"), 0);
  sim::reset();
  EXPECT_EQ(mac_of("ra0"), "02:00:00:00:00:10");
  EXPECT_EQ(mac_of("rai0"), "02:00:00:00:00:20");
  EXPECT_EQ(sim::sh("ip -o link show dev apcli0 | grep -q '[<,]UP[,>]'"), 0);
  EXPECT_FALSE(has_default_route());
  sim::default_route("");
  EXPECT_TRUE(has_default_route()) << "a default route without gateway";
  sim::no_default_route();
  EXPECT_FALSE(has_default_route());
}

TEST_F(BoardReset, FilesLogsAndTheStoreStartOver) {
  sim::write_file("/tmp/left", "x");
  sim::write_file("/var/run/left.pid", "1\n");
  sim::write_file(std::string(NVRAM_DIR) + "/left", "x");
  ASSERT_EQ(sim::sh("echo line >> /run/sim/commands.log"), 0);
  sim::reset();
  EXPECT_FALSE(sim::file_exists("/tmp/left"));
  EXPECT_FALSE(sim::file_exists("/var/run/left.pid"));
  EXPECT_FALSE(sim::file_exists(std::string(NVRAM_DIR) + "/left"));
  EXPECT_TRUE(sim::file_exists(NVRAM_DIR));
  EXPECT_TRUE(sim::commands().empty());
  EXPECT_TRUE(sim::file_exists("/run/sim/hw/state"));
}

TEST_F(BoardReset, SpawnedProcessesReportOutputAndStatus) {
  sim::Process done = sim::spawn("/bin/sh", {"-c", "echo out; echo err >&2; exit 3"});
  EXPECT_EQ(done.wait(), 3);
  EXPECT_EQ(done.out(), "out\n");
  EXPECT_EQ(done.err(), "err\n");
  EXPECT_FALSE(done.running());
  sim::Process sleeper = sim::spawn("/bin/sleep", {"100"});
  EXPECT_TRUE(sleeper.running());
  EXPECT_EQ(sleeper.wait(50), -1);
  sleeper.signal(SIGTERM);
  EXPECT_EQ(sleeper.wait(), 128 + SIGTERM);
}

TEST_F(BoardReset, ResetStopsSpawnedProcessesAndWhatTheyStarted) {
  sim::Process parent = sim::spawn("/bin/sh", {"-c", "sleep 100 & echo $! > /run/sim/child; wait"});
  ASSERT_TRUE(sim::wait_for_text("/run/sim/child", "\n"));
  pid_t child = std::stoi(sim::read_file("/run/sim/child"));
  sim::remove_file("/run/sim/child");
  sim::reset();
  EXPECT_FALSE(parent.running());
  EXPECT_TRUE(sim::wait_for([child] { return kill(child, 0) != 0; }));
}

TEST_F(BoardReset, MonitorCountsItsHangups) {
  pid_t monitor = sim::start_monitor();
  ASSERT_GT(monitor, 0);
  EXPECT_EQ(sim::read_file("/var/run/monitor.pid"), std::to_string(monitor) + "\n");
  kill(monitor, SIGHUP);
  EXPECT_TRUE(sim::wait_for([] { return sim::monitor_hups() == 1; }));
}

}  // namespace
