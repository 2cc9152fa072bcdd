// The panel's radio peers: the commands their keys run on the board, run
// here by a real shell against stand-ins of radio-phone, radio-upstream and
// board-probe that record their arguments, and the state line and events
// that follow the states the stand-ins report.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "sim/panel/radio_keys.h"
#include "sim/panel/radio_peers.h"
#include "sim/panel/screen.h"
#include "tests/support/testbed.h"

namespace {

using Lines = std::vector<std::string>;
using panel::Mode;

// Each stand-in records "NAME [ARG] [ARG]..." (one bracket per argument)
// in calls.log; radio-phone N state prints phoneN.state, radio-upstream
// status prints upstream.state as hostapd_cli wps_get_status would; the
// file fail-start makes every start fail.
constexpr char kStandIn[] = R"sh(#!/bin/sh
dir=$(dirname "$0")
{ printf '%s' "${0##*/}"; printf ' [%s]' "$@"; echo; } >> "$dir/calls.log"
case ${0##*/} in
radio-phone) arg=$2 ;;
*) arg=$1 ;;
esac
if [ "$arg" = start ] && [ -e "$dir/fail-start" ]; then echo "no radio left"; exit 1; fi
case ${0##*/}:$arg in
radio-phone:state) cat "$dir/phone$1.state" 2>/dev/null ;;
radio-upstream:status) printf 'PBC Status: %s\nLast WPS result: None\n' "$(cat "$dir/upstream.state")" ;;
esac
exit 0
)sh";

class PanelRadioPeers : public testing::Test {
 protected:
  void SetUp() override {
    char dir[] = "/tmp/radio-peers.XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    dir_ = dir;
    for (const char *name : {"radio-phone", "radio-upstream", "board-probe"}) {
      const std::string path = dir_ + "/" + name;
      testbed::write_file(path, kStandIn);
      ASSERT_EQ(chmod(path.c_str(), 0755), 0);
    }
  }
  void TearDown() override { std::system(("rm -rf " + dir_).c_str()); }

  // The board's shell: COMMAND with the stand-ins first on the path.
  board::Reply run(const std::string &command) {
    board::Reply reply;
    const std::string line = "(PATH=" + dir_ + ":$PATH; " + command + "\n) 2>&1";
    FILE *shell = popen(line.c_str(), "r");
    if (!shell) return reply;
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, shell)) > 0;)
      reply.output.append(buffer, n);
    const int status = pclose(shell);
    reply.answered = WIFEXITED(status);
    reply.status = WEXITSTATUS(status);
    return reply;
  }
  Lines calls() { return testbed::read_lines(dir_ + "/calls.log"); }
  void clear_calls() { testbed::remove_file(dir_ + "/calls.log"); }
  void report(const std::string &file, const std::string &state) {
    testbed::write_file(dir_ + "/" + file, state + "\n");
  }

  std::string dir_;
  Lines events_;
  panel::RadioPeers peers_{[this](const std::string &c) { return run(c); },
                           [this](std::string_view e) { events_.emplace_back(e); }};
};

TEST_F(PanelRadioPeers, PhoneButtonStartsThePhoneOnceThenPressesIt) {
  EXPECT_EQ(peers_.press_phone(1), "");
  EXPECT_EQ(peers_.press_phone(1), "");
  EXPECT_EQ(peers_.press_phone(2), "");
  EXPECT_NE(peers_.press_phone(3), "");
  EXPECT_EQ(calls(),
            (Lines{"radio-phone [1] [start]", "radio-phone [1] [pbc]", "radio-phone [1] [pbc]",
                   "radio-phone [2] [start]", "radio-phone [2] [pbc]"}));
}

TEST_F(PanelRadioPeers, AFailedStartIsReportedAndTriedAgain) {
  testbed::write_file(dir_ + "/fail-start", "");
  EXPECT_EQ(peers_.press_phone(1), "phone 1: no radio left");
  EXPECT_EQ(peers_.press_upstream(Mode::repeater), "upstream router: no radio left");
  testbed::remove_file(dir_ + "/fail-start");
  EXPECT_EQ(peers_.press_phone(1), "");
  EXPECT_EQ(calls(), (Lines{"radio-phone [1] [start]",
                            "radio-upstream [start] [Upstream Net] [upstream-secret]",
                            "radio-phone [1] [start]", "radio-phone [1] [pbc]"}));

  panel::RadioPeers silent([](const std::string &) { return board::Reply{}; },
                           [](std::string_view) {});
  EXPECT_EQ(silent.press_phone(2), "phone 2: the board does not answer");
}

TEST_F(PanelRadioPeers, TheUpstreamRouterAndTheRepeaterSessionServeARepeaterOnly) {
  EXPECT_NE(peers_.press_upstream(Mode::router), "");
  EXPECT_NE(peers_.start_repeater_session(Mode::router), "");
  EXPECT_EQ(calls(), Lines{});

  EXPECT_EQ(peers_.press_upstream(Mode::repeater), "");
  EXPECT_EQ(peers_.press_upstream(Mode::repeater), "");
  EXPECT_EQ(peers_.start_repeater_session(Mode::repeater), "");
  // The session runs in the background.
  ASSERT_TRUE(testbed::wait_for_text(dir_ + "/calls.log", "board-probe"));
  EXPECT_EQ(calls(), (Lines{"radio-upstream [start] [Upstream Net] [upstream-secret]",
                            "radio-upstream [pbc]", "radio-upstream [pbc]",
                            "board-probe [repeater-session]"}));
}

TEST_F(PanelRadioPeers, TheStateLineFollowsTheRunningPeersPolledOnceASecond) {
  peers_.poll(0);
  EXPECT_EQ(calls(), Lines{}) << "nothing runs, nothing is asked";
  EXPECT_EQ(peers_.summary(), "phone 1: off   phone 2: off   upstream router: off");

  ASSERT_EQ(peers_.press_phone(1), "");
  clear_calls();
  report("phone1.state", "SCANNING");
  peers_.poll(1000);
  EXPECT_EQ(calls(), Lines{"radio-phone [1] [state]"});
  EXPECT_EQ(peers_.summary(), "phone 1: scanning   phone 2: off   upstream router: off");
  report("phone1.state", "ASSOCIATING");
  peers_.poll(1999);
  EXPECT_EQ(calls().size(), 1u) << "a second has not passed";
  peers_.poll(2000);
  report("phone1.state", "COMPLETED");
  peers_.poll(3000);
  peers_.poll(4000);  // unchanged: no event
  EXPECT_EQ(peers_.summary(), "phone 1: joined   phone 2: off   upstream router: off");

  ASSERT_EQ(peers_.press_upstream(Mode::repeater), "");
  report("upstream.state", "Active");
  peers_.poll(4500);  // a newly started peer is asked at once
  testbed::remove_file(dir_ + "/phone1.state");
  report("upstream.state", "Timed-out");
  peers_.poll(5500);
  EXPECT_EQ(peers_.summary(), "phone 1: no answer   phone 2: off   upstream router: PBC timed-out");
  EXPECT_EQ(events_, (Lines{"radio: phone 1: scanning", "radio: phone 1: joining",
                            "radio: phone 1: joined", "radio: upstream router: PBC active",
                            "radio: phone 1: no answer", "radio: upstream router: PBC timed-out"}));

  // After a reboot nothing runs: nothing is asked, the next press starts again.
  peers_.forget();
  clear_calls();
  peers_.poll(10000);
  EXPECT_EQ(calls(), Lines{});
  EXPECT_EQ(peers_.summary(), "phone 1: off   phone 2: off   upstream router: off");
  ASSERT_EQ(peers_.press_phone(1), "");
  EXPECT_EQ(calls(), (Lines{"radio-phone [1] [start]", "radio-phone [1] [pbc]"}));
}

TEST(PanelRadioStates, WpaStatesAsThePanelShowsThem) {
  EXPECT_EQ(panel::phone_state_text("GROUP_HANDSHAKE"), "joining");
  EXPECT_EQ(panel::phone_state_text("INACTIVE"), "idle");
  EXPECT_EQ(panel::phone_state_text("DISCONNECTED"), "idle");
  EXPECT_EQ(panel::phone_state_text("INTERFACE_DISABLED"), "interface_disabled");
}

TEST(PanelRadioKeys, EachKeyRunsItsPeersActionAndSaysWhatHappened) {
  Lines commands;
  panel::RadioPeers peers(
      [&](const std::string &c) {
        commands.push_back(c);
        return board::Reply{true, 0, ""};
      },
      [](std::string_view) {});
  EXPECT_EQ(panel::radio_key('x', &peers, Mode::router), std::nullopt);
  EXPECT_EQ(panel::radio_key('h', nullptr, Mode::router), panel::kNoRadioPeers);
  EXPECT_EQ(panel::radio_key('h', &peers, Mode::router), "phone 1: WPS button pressed");
  EXPECT_EQ(panel::radio_key('H', &peers, Mode::router), "phone 2: WPS button pressed");
  EXPECT_EQ(commands, (Lines{"radio-phone 1 start", "radio-phone 1 pbc", "radio-phone 2 start",
                             "radio-phone 2 pbc"}));
  commands.clear();
  EXPECT_TRUE(panel::radio_key('U', &peers, Mode::router)->starts_with("error: only a repeater"));
  EXPECT_EQ(commands, Lines{});
  EXPECT_EQ(panel::radio_key('U', &peers, Mode::repeater), "upstream router: WPS button pressed");
  EXPECT_EQ(panel::radio_key('R', &peers, Mode::repeater), "repeater session started");
  ASSERT_EQ(commands.size(), 3u);
  EXPECT_EQ(commands[2].find("board-probe repeater-session "), 0u) << commands[2];
}

TEST(PanelRadioScreen, TheRadioLineAndItsKeysShowOnlyWithPeers) {
  const std::map<unsigned, panel::LedState> leds;
  const std::deque<std::string> none;
  panel::PanelView view;
  view.columns = 120;
  view.rows = 40;
  view.leds = &leds;
  view.console = view.commands = &none;
  const std::string plain = panel::render_panel(view);
  EXPECT_EQ(plain.find(" Radio "), std::string::npos);
  EXPECT_EQ(plain.find(panel::kRadioKeysHelp), std::string::npos);
  view.radio = "phone 1: joined   phone 2: off   upstream router: off";
  const std::string radio = panel::render_panel(view);
  EXPECT_NE(radio.find(" Radio    phone 1: joined   phone 2: off"), std::string::npos) << radio;
  EXPECT_NE(radio.find(panel::kRadioKeysHelp), std::string::npos) << radio;
}

}  // namespace
