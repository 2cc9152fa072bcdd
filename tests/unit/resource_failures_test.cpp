// The library when the system refuses what it needs: no shell can be
// started, no descriptor is left for a socket, no routing table exists.
// Each failure gives the documented result, starts nothing and leaks nothing.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "boardutil/console.h"
#include "boardutil/default_gateway.h"
#include "boardutil/interface_state.h"
#include "boardutil/mac_address.h"
#include "boardutil/mesh_acl.h"
#include "boardutil/repeater_link.h"
#include "boardutil/shell.h"
#include "boardutil/uplink.h"
#include "boardutil/wireless.h"
#include "nvram.h"
#include "tests/support/covered_path.h"
#include "tests/support/testbed.h"

namespace {

using testing::internal::CaptureStderr;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStderr;
using testing::internal::GetCapturedStdout;
using Lines = std::vector<std::string>;
using testbed::Covered;
using testbed::spawn_reports_failed_exec;

// While it lives no new descriptor can be opened: the limit is lowered to
// the lowest free descriptor number.
class NoFreeDescriptor {
 public:
  NoFreeDescriptor() {
    getrlimit(RLIMIT_NOFILE, &saved_);
    int lowest = dup(0);
    close(lowest);
    rlimit none = saved_;
    none.rlim_cur = static_cast<rlim_t>(lowest);
    setrlimit(RLIMIT_NOFILE, &none);
  }
  ~NoFreeDescriptor() { setrlimit(RLIMIT_NOFILE, &saved_); }

 private:
  rlimit saved_{};
};

class ResourceFailures : public testing::Test {
 protected:
  void SetUp() override {
    testbed::reset();
    testbed::set_time_divisor(100);
    nvram_bufset(0, "OperationMode", "1");
    testbed::wan_link(true);
    testbed::default_route(testbed::kGateway);
    descriptors_ = testbed::open_descriptors();
  }
  void TearDown() override { EXPECT_EQ(testbed::open_descriptors(), descriptors_); }
  unsigned descriptors_ = 0;
};

TEST_F(ResourceFailures, NoShellMakesDoSystemAndThePingFailWithTheirMessages) {
  if (!spawn_reports_failed_exec()) GTEST_SKIP() << "this emulator cannot report a failed exec";
  testbed::write_file("/tmp/log", "");
  {
    Covered shell("/bin/sh", "/dev/null", nullptr, MS_BIND);
    ASSERT_TRUE(shell.mounted());
    CaptureStderr();
    EXPECT_EQ(do_system("touch /tmp/ran"), -1);
    EXPECT_EQ(GetCapturedStderr(), "popen error!\n");
    CaptureStderr();
    EXPECT_EQ(ping_gateway(), -1);
    GetCapturedStderr();  // the publishing of /tmp/wanStatus failed the same way
  }
  EXPECT_FALSE(testbed::file_exists("/tmp/ran"));
  EXPECT_TRUE(testbed::commands().empty()) << "neither the ping nor its killall ran";
  EXPECT_TRUE(testbed::wait_for_text(testbed::kConsoleLog,
                                     "ping = ping 192.168.77.1 -w 3 \n\npopen error!\n\n"))
      << testbed::console();
}

TEST_F(ResourceFailures, NoRoutingTableMeansNoGatewayAndNoPing) {
  {
    // Only this process's network directory is hidden: the shells that
    // publish the uplink (and a sanitizer's runtime in them) need /proc.
    Covered proc("/proc/self/net", "none", "tmpfs", 0);
    ASSERT_TRUE(proc.mounted());
    EXPECT_EQ(GetGateway(), nullptr);
    EXPECT_EQ(ping_gateway(), -1);
  }
  EXPECT_TRUE(testbed::requests("rdm read").size() >= 1u) << "the uplink was asked first";
  EXPECT_TRUE(testbed::wait_for([] { return testbed::read_file("/tmp/wanStatus") == "1\n"; }));
  EXPECT_TRUE(testbed::commands().empty()) << "no ping, so no killall";
  ASSERT_NE(GetGateway(), nullptr) << "the table is read again once it is back";
}

TEST_F(ResourceFailures, NoSocketGivesEachQueryItsFailureResult) {
  testbed::wifi_acl("rai3", {"AA:BB:CC:DD:EE:01"});
  nvram_bufset(1, "AccessControlList0", "kept");
  CaptureStdout();
  CaptureStderr();
  {
    NoFreeDescriptor limit;
    EXPECT_EQ(if_live("ra0"), 0);
    EXPECT_EQ(repeater_connect_status("apcli0"), -1);
    EXPECT_STREQ(get_mac_addr("ra0"), "");
    EXPECT_EQ(getWscStatus("ra0"), 0);
    config_acl("rai3", 0, 1);
  }
  EXPECT_EQ(GetCapturedStdout(), "\napcli0 open socket error!\n\n");
  EXPECT_EQ(GetCapturedStderr(), "get_mac_addr: open socket error\n");
  EXPECT_STREQ(nvram_bufget(1, "AccessControlList0"), "kept")
      << "no list merged without the driver";
  EXPECT_TRUE(testbed::requests("wifi").empty());
  EXPECT_EQ(if_live("ra0"), 1) << "sockets work again once descriptors are free";
}

}  // namespace
