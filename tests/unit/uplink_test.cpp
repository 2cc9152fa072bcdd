// Uplink status detection: interface state, default gateway from the real
// routing table, the WAN port register, the upstream client's connection,
// the uplink decision and /tmp/wanStatus, and the probes built on them.
#include "boardutil/uplink.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <string.h>
#include <time.h>

#include <string>
#include <vector>

#include "boardutil/default_gateway.h"
#include "boardutil/interface_state.h"
#include "boardutil/repeater_link.h"
#include "boardutil/wan_register.h"
#include "nvram.h"
#include "tests/support/log_text.h"
#include "tests/support/testbed.h"
#include "tests/unit/uplink_test_support.h"

// Counts the pauses of the code under test (pause_seconds ends in ppoll) and
// their requested length, then hands them on to the fake drivers' time
// scaling.
namespace {
bool g_count_pauses = false;
unsigned g_pauses = 0;
long long g_paused_usec = 0;
}  // namespace

extern "C" int ppoll(struct pollfd *fds, nfds_t count, const struct timespec *timeout,
                     const sigset_t *mask) {
  using Ppoll = int (*)(struct pollfd *, nfds_t, const struct timespec *, const sigset_t *);
  static Ppoll next = reinterpret_cast<Ppoll>(dlsym(RTLD_NEXT, "ppoll"));
  if (g_count_pauses && timeout != nullptr) {
    ++g_pauses;
    g_paused_usec += timeout->tv_sec * 1000000LL + timeout->tv_nsec / 1000;
  }
  return next(fds, count, timeout, mask);
}

namespace {

using Lines = std::vector<std::string>;

using testbed::count;

class UplinkTest : public testing::Test {
 protected:
  void SetUp() override {
    testbed::reset();
    testbed::set_time_divisor(100);
    testbed::write_file("/tmp/log", "");  // debug messages on
    nvram_bufset(0, "OperationMode", "1");
    for (int index : {0, 1, 2}) nvram_bufset(index, "ApCliEnable", "0");
    descriptors_ = testbed::open_descriptors();
    jobs_.remember();
  }
  void TearDown() override {
    // No path of the code under test leaves a descriptor behind.
    EXPECT_EQ(testbed::open_descriptors(), descriptors_);
    jobs_.settle();
  }

  static std::string console() { return uplink_test::console_so_far(); }
  static bool console_has(const std::string &text) {
    return console().find(text) != std::string::npos;
  }
  // The uplink decision as it lands in /tmp/wanStatus (written in the background).
  std::string published_wan_status() const {
    jobs_.settle();
    return testbed::read_file("/tmp/wanStatus");
  }
  static void repeater(const char *apcli0_enable, const char *apclii0_enable) {
    nvram_bufset(0, "OperationMode", "3");
    nvram_bufset(0, "ApCliEnable", apcli0_enable);
    nvram_bufset(1, "ApCliEnable", apclii0_enable);
  }

  unsigned descriptors_ = 0;
  uplink_test::BackgroundJobs jobs_;
};

// --- if_live ---

TEST_F(UplinkTest, IfLiveReportsTheInterfaceFlag) {
  EXPECT_EQ(if_live("ra0"), 1);
  testbed::interface_up("apclii0", false);
  EXPECT_EQ(if_live("apclii0"), 0);
  std::string log = console();
  EXPECT_NE(log.find("if_live: ra0 up\n\n"), std::string::npos);
  EXPECT_NE(log.find("if_live: apclii0 down\n\n"), std::string::npos);
  EXPECT_EQ(log.find("retry"), std::string::npos);
}

TEST_F(UplinkTest, IfLiveTriesAMissingInterfaceTenTimesWithNineOneSecondPauses) {
  g_pauses = 0;
  g_paused_usec = 0;
  g_count_pauses = true;
  int live = if_live("nosuch0");
  g_count_pauses = false;
  EXPECT_EQ(live, 0);
  EXPECT_EQ(g_pauses, 9u);
  EXPECT_EQ(g_paused_usec, 9 * 1000000LL);
  std::string log = console();
  EXPECT_EQ(count(log, "if_live: ioctl fail,retry\n\n"), 10u);
  EXPECT_EQ(count(log, "if_live: ioctl fail\n\n"), 1u);
}

TEST_F(UplinkTest, IfLiveRefusesANameThatWouldBeCutToAnotherInterface) {
  g_pauses = 0;
  g_count_pauses = true;
  EXPECT_EQ(if_live("ra0ra0ra0ra0ra0ra0"), 0);
  g_count_pauses = false;
  EXPECT_EQ(g_pauses, 0u);
  EXPECT_TRUE(console_has("if_live: ioctl fail\n\n"));
}

// --- GetGateway ---

TEST_F(UplinkTest, GetGatewayReadsTheKernelsDefaultRoute) {
  // Only the wan0 network's own route: no default route.
  EXPECT_EQ(GetGateway(), nullptr);

  testbed::default_route(testbed::kGateway);
  const char *gateway = GetGateway();
  ASSERT_NE(gateway, nullptr);
  EXPECT_STREQ(gateway, "192.168.77.1");
  EXPECT_TRUE(console_has("192.168.77.1\n\n"));

  // A default route without a gateway is found, with empty text.
  testbed::default_route("");
  gateway = GetGateway();
  ASSERT_NE(gateway, nullptr);
  EXPECT_STREQ(gateway, "");

  testbed::no_default_route();
  EXPECT_EQ(GetGateway(), nullptr);
}

TEST_F(UplinkTest, GetGatewayTakesTheFirstDefaultRouteOfTheTable) {
  testbed::default_route(testbed::kGateway);
  // A second default route with a higher metric is listed after the first.
  ASSERT_EQ(testbed::sh("ip route append default via 192.168.77.9 dev wan0 metric 4000"), 0);
  const char *gateway = GetGateway();
  ASSERT_NE(gateway, nullptr);
  EXPECT_STREQ(gateway, "192.168.77.1");
}

// The scan itself, on tables the kernel never shows: malformed lines and
// routes that are not up.
char *scan(const std::string &table) {
  FILE *routes = fmemopen(const_cast<char *>(table.data()), table.size(), "r");
  EXPECT_NE(routes, nullptr);
  char *gateway = gateway_from_route_table(routes);
  fclose(routes);
  return gateway;
}

constexpr char kHeader[] =
    "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n";

TEST_F(UplinkTest, RouteScanSkipsRoutesThatAreNotUpAndStopsAtTheFirstDefault) {
  std::string table = std::string(kHeader) +
                      "eth2\t00000000\t0101A8C0\t0002\t0\t0\t0\t00000000\t0\t0\t0\n"  // not up
                      "eth2\t0000000A\t0501A8C0\t0003\t0\t0\t0\t000000FF\t0\t0\t0\n"  // not default
                      "eth2\t00000000\t0201A8C0\t0003\t0\t0\t0\t00000000\t0\t0\t0\n"
                      "eth2\t00000000\t0301A8C0\t0003\t0\t0\t0\t00000000\t0\t0\t0\n";
  const char *gateway = scan(table);
  ASSERT_NE(gateway, nullptr);
  EXPECT_STREQ(gateway, "192.168.1.2");

  // The default route's own (empty) gateway, not that of a route before it.
  table = std::string(kHeader) + "eth2\t0000000A\t0501A8C0\t0003\t0\t0\t0\t000000FF\t0\t0\t0\n" +
          "eth2\t00000000\t00000000\t0001\t0\t0\t0\t00000000\t0\t0\t0\n";
  gateway = scan(table);
  ASSERT_NE(gateway, nullptr);
  EXPECT_STREQ(gateway, "");

  EXPECT_EQ(scan(""), nullptr);
  EXPECT_EQ(scan(kHeader), nullptr);
}

TEST_F(UplinkTest, MalformedRouteLineEndsTheScanWithFormatError) {
  const std::string kDefault = "eth2\t00000000\t0201A8C0\t0003\t0\t0\t0\t00000000\t0\t0\t0\n";
  for (const std::string bad : {"eth2\t00000000\t0201A8C0\t0003\t0\t0\n", "eth2\n", "\n"}) {
    testing::internal::CaptureStdout();
    char *gateway = scan(kHeader + bad + kDefault);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "format error") << bad;
    EXPECT_EQ(gateway, nullptr) << bad;
  }
}

// --- mt7620_reg_read ---

TEST_F(UplinkTest, RegisterReadGivesTheWanLinkBit) {
  testbed::wan_link(true);
  EXPECT_EQ(mt7620_reg_read(), 1);
  testbed::wan_link(false);
  EXPECT_EQ(mt7620_reg_read(), 0);
  Lines expected = {"rdm cmd=0x6B0E arg=0", "rdm read reg=0x113408 -> 0x1", "rdm cmd=0x6B0E arg=0",
                    "rdm read reg=0x113408 -> 0x0"};
  EXPECT_EQ(testbed::requests("rdm"), expected);
}

TEST_F(UplinkTest, RegisterReadFailuresCountAsLinkDown) {
  testbed::wan_link(true);
  testbed::rdm_fail("0x6B0E");
  EXPECT_EQ(mt7620_reg_read(), 0);
  EXPECT_TRUE(console_has("ioctl write error\n\n"));
  // The read is not attempted after the first request failed.
  for (const std::string &line : testbed::requests("rdm")) {
    EXPECT_EQ(line.find("read"), std::string::npos) << line;
  }

  testbed::rdm_fail("0x6B03");
  EXPECT_EQ(mt7620_reg_read(), 0);
  EXPECT_TRUE(console_has("ioctl read error\n\n"));

  testbed::rdm_fail("");
  testbed::rdm_missing(true);
  EXPECT_EQ(mt7620_reg_read(), 0);
  EXPECT_TRUE(console_has("Open pseudo device failed\n\n"));
}

// --- repeater_connect_status ---

TEST_F(UplinkTest, ConnectionStatusIsTheDriversWordOne) {
  struct Case {
    const char *answer;
    int result;
    const char *message;  // logged, or null for none
  };
  for (const Case &c : {Case{"1", 1, "get connect status return 1\n\n"},
                        Case{" 1\n", 1, "get connect status return 1\n\n"},
                        Case{"0", 0, "get connect status return 0\n\n"}, Case{"10", 0, nullptr},
                        Case{"2", 0, nullptr}, Case{" \n", 0, nullptr}}) {
    testbed::clear_logs();
    testbed::wifi_connstatus("apcli0", c.answer);
    EXPECT_EQ(repeater_connect_status("apcli0"), c.result) << "answer '" << c.answer << "'";
    std::string log = console();
    EXPECT_NE(log.find("repeater_connect_status apcli0\n\n"), std::string::npos);
    if (c.message != nullptr) {
      EXPECT_NE(log.find(c.message), std::string::npos) << c.answer;
    } else {
      EXPECT_EQ(log.find("get connect status"), std::string::npos) << c.answer;
    }
  }
  EXPECT_EQ(testbed::requests("wifi").back(), "wifi apcli0 connstatus len=2048");
}

TEST_F(UplinkTest, ConnectionStatusFailuresArePrinted) {
  testbed::wifi_connstatus("apclii0", "");
  testing::internal::CaptureStdout();
  EXPECT_EQ(repeater_connect_status("apclii0"), 0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "get connect status Error\n");

  testbed::wifi_fail("apclii0", "connstatus");
  testing::internal::CaptureStdout();
  EXPECT_EQ(repeater_connect_status("apclii0"), -1);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "RTPRIV_IOCTL_APCLI_CONNSTATUS error \n");
}

// --- wan_status ---

TEST_F(UplinkTest, RouterModeDecidesByTheRegisterAndLeavesTheClientSettings) {
  repeater("0", "0");
  EXPECT_EQ(wan_status(), 0);
  EXPECT_EQ(published_wan_status(), "0\n");
  const char *kept[] = {apcli_rt2860, apcli_rtdev, apcli_wifi3};
  ASSERT_NE(kept[0], nullptr);

  nvram_bufset(0, "OperationMode", "1");
  nvram_bufset(0, "ApCliEnable", "1");
  testbed::wan_link(true);
  testbed::wifi_connstatus("apcli0", "0");
  EXPECT_EQ(wan_status(), 1);
  EXPECT_EQ(published_wan_status(), "1\n");
  EXPECT_STREQ(opmode, "1");
  EXPECT_EQ(apcli_rt2860, kept[0]);
  EXPECT_STREQ(apcli_rt2860, "0");  // not re-read, though the store now says "1"
  EXPECT_EQ(apcli_rtdev, kept[1]);
  EXPECT_EQ(apcli_wifi3, kept[2]);
  EXPECT_TRUE(testbed::requests("wifi").empty());

  testbed::remove_file("/tmp/wanStatus");
  testbed::wan_link(false);
  EXPECT_EQ(wan_status(), 0);
  EXPECT_EQ(published_wan_status(), "0\n");
}

TEST_F(UplinkTest, RepeaterModeAsksTheTwoPointFourGigahertzClientFirst) {
  repeater("1", "1");
  testbed::wifi_connstatus("apclii0", "1");
  testbed::wan_link(true);
  testbed::wifi_connstatus("apcli0", "1");
  EXPECT_EQ(wan_status(), 1);
  EXPECT_EQ(published_wan_status(), "1\n");
  testbed::remove_file("/tmp/wanStatus");
  testbed::wifi_connstatus("apcli0", "0");
  EXPECT_EQ(wan_status(), 0);
  EXPECT_EQ(published_wan_status(), "0\n");
  // The 5 GHz client and the WAN port were never asked.
  for (const std::string &line : testbed::requests("")) {
    EXPECT_EQ(line.find("apclii0"), std::string::npos) << line;
    EXPECT_EQ(line.rfind("rdm", 0), std::string::npos) << line;
  }
  EXPECT_STREQ(apcli_rt2860, "1");
  EXPECT_STREQ(apcli_rtdev, "1");
}

TEST_F(UplinkTest, RepeaterModeWithOnlyTheFiveGigahertzClient) {
  repeater("0", "1");
  nvram_bufset(2, "ApCliEnable", "7");
  testbed::wan_link(false);
  testbed::wifi_connstatus("apclii0", "1");
  EXPECT_EQ(wan_status(), 1);
  testbed::wifi_connstatus("apclii0", "0");
  EXPECT_EQ(wan_status(), 0);
  EXPECT_STREQ(apcli_wifi3, "7");
  EXPECT_TRUE(testbed::requests("rdm").empty());

  // apclii0 not up: the WAN port's link bit decides.
  testbed::interface_up("apclii0", false);
  testbed::wifi_connstatus("apclii0", "1");
  testbed::wan_link(true);
  EXPECT_EQ(wan_status(), 1);
  testbed::wan_link(false);
  EXPECT_EQ(wan_status(), 0);
  EXPECT_EQ(testbed::requests("wifi apclii0").size(), 2u);
}

TEST_F(UplinkTest, RepeaterModeWithNoClientEnabledIsDown) {
  repeater("0", "");
  testbed::wan_link(true);
  testbed::wifi_connstatus("apcli0", "1");
  testbed::wifi_connstatus("apclii0", "1");
  EXPECT_EQ(wan_status(), 0);
  EXPECT_EQ(published_wan_status(), "0\n");
  EXPECT_TRUE(testbed::requests("").empty());
}

// --- probes ---

TEST_F(UplinkTest, PingGatewayNeedsTheUplinkAndADefaultGateway) {
  testbed::wan_link(false);
  testbed::default_route(testbed::kGateway);
  EXPECT_EQ(ping_gateway(), 0);
  EXPECT_FALSE(console_has("ping = "));

  testbed::wan_link(true);
  testbed::no_default_route();
  EXPECT_EQ(ping_gateway(), -1);
  EXPECT_FALSE(console_has("ping = "));
  EXPECT_TRUE(testbed::commands().empty());  // no killall without a ping
}

TEST_F(UplinkTest, PingGatewayPingsTheGatewayAndKillsThePing) {
  testbed::wan_link(true);
  testbed::default_route(testbed::kGateway);
  EXPECT_EQ(ping_gateway(), 1);
  std::string log = console();
  EXPECT_NE(log.find("ping = ping 192.168.77.1 -w 3 \n\n"), std::string::npos);
  EXPECT_NE(log.find("ping router ok\n\n"), std::string::npos);
  EXPECT_EQ(testbed::commands(), Lines{"killall ping"});
}

TEST_F(UplinkTest, PingGatewayWithoutAnswerIsZero) {
  // No host has this address: ping's second line is not a reply.
  testbed::wan_link(true);
  ASSERT_EQ(testbed::sh("ip route replace default via 192.168.77.99 dev wan0"), 0);
  EXPECT_EQ(ping_gateway(), 0);
  std::string log = console();
  EXPECT_NE(log.find("ping = ping 192.168.77.99 -w 3 \n\n"), std::string::npos);
  EXPECT_EQ(log.find("ping router ok"), std::string::npos);
  EXPECT_EQ(testbed::commands(), Lines{"killall ping"});
}

TEST_F(UplinkTest, PingGatewayWithoutOutputFails) {
  // A default route without gateway gives ping no destination: it prints
  // nothing on standard output.
  testbed::wan_link(true);
  testbed::default_route("");
  EXPECT_EQ(ping_gateway(), -1);
  EXPECT_TRUE(console_has("fgets error!\n\n"));
  EXPECT_EQ(testbed::commands(), Lines{"killall ping"});
}

TEST_F(UplinkTest, ApcliiStatusIsTwoWhenConnectedElseTheRegisterFallback) {
  testbed::wan_link(true);
  testbed::wifi_connstatus("apclii0", "1");
  EXPECT_EQ(get_apclii_status(), 2);
  testbed::wifi_connstatus("apclii0", "0");
  EXPECT_EQ(get_apclii_status(), 0);
  testbed::interface_up("apclii0", false);
  EXPECT_EQ(get_apclii_status(), 1);
  testbed::wan_link(false);
  EXPECT_EQ(get_apclii_status(), 0);
}

TEST_F(UplinkTest, PairAndInternetStatusFilesAreReadByTheirFirstByte) {
  struct Probe {
    const char *path;
    int (*read)(void);
    const char *name;
  };
  for (const Probe &probe : {Probe{"/tmp/Pair", get_pair_status, "Pair"},
                             Probe{"/tmp/internetStatus", get_internet_status, "internetStatus"}}) {
    std::string name = probe.name;
    testbed::clear_logs();
    testbed::remove_file(probe.path);
    EXPECT_EQ(probe.read(), 0) << name;
    EXPECT_TRUE(console_has(name + " NULL\n\n"));
    for (const char *content : {"1\n", "1", "11111111"}) {
      testbed::write_file(probe.path, content);
      EXPECT_EQ(probe.read(), 1) << name << " " << content;
    }
    EXPECT_TRUE(console_has(name + ": yes\n\n"));
    for (const char *content : {"0\n", "", " 1", "yes"}) {
      testbed::write_file(probe.path, content);
      EXPECT_EQ(probe.read(), 0) << name << " " << content;
    }
    EXPECT_TRUE(console_has(name + ": no\n\n"));
  }
  // The pairing probe refreshes /tmp/wanStatus on the way.
  jobs_.settle();
  testbed::remove_file("/tmp/wanStatus");
  testbed::wan_link(true);
  get_pair_status();
  EXPECT_EQ(published_wan_status(), "1\n");
}

}  // namespace
