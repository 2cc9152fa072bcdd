// The interactive panel in a real terminal (tmux, inside the sandbox): a
// typed press starts a WPS session that the LED shows blinking, the success
// key ends it, and quitting - by key or by SIGTERM - stops the daemons and
// gives the terminal back (main screen, cursor shown).
#include <gtest/gtest.h>
#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/support/testbed.h"

namespace {

const std::string kTmux = "tmux -S /tmp/tmux.sock ";

std::string output_of(const std::string &command) {
  std::string out;
  if (FILE *p = popen(command.c_str(), "r")) {
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, p)) > 0;) out.append(buffer, n);
    pclose(p);
  }
  return out;
}

std::string pane() { return output_of(kTmux + "capture-pane -p"); }
std::string pane_format(const std::string &format) {
  std::string value = output_of(kTmux + "display-message -p '" + format + "'");
  return value.substr(0, value.find('\n'));
}

// The row of the panel that shows a line's LED: "  line 10  [ ON ]  lit ...".
std::string led_row(const std::string &screen, unsigned line) {
  char label[32];
  std::snprintf(label, sizeof label, "  line %2u  [", line);
  size_t at = screen.find(label);
  return at == std::string::npos ? "" : screen.substr(at, screen.find('\n', at) - at);
}

class PanelTmux : public testing::Test {
 protected:
  void SetUp() override {
    testbed::reset();
    // A shell in the pane runs the panel, keeps its exit status and then
    // keeps the pane open, so the terminal's state can be read afterwards;
    // everything written to the pane is kept as well.
    const std::string pane_command =
        std::string(PANEL_PROGRAM) + "; echo $? > /tmp/panel.status; exec sleep 600";
    ASSERT_EQ(testbed::sh(kTmux + "-f /dev/null new-session -d -x 120 -y 40 '" + pane_command +
                          "' \\; " + "pipe-pane -o 'cat > /tmp/pane.out'"),
              0);
    ASSERT_TRUE(testbed::wait_for(
        [] { return led_row(pane(), 10).find("[ ON ]  lit") != std::string::npos; }, 60000))
        << pane();
  }
  void TearDown() override {
    testbed::sh(kTmux + "kill-server 2>/dev/null");
    testbed::stop_all();
  }

  // The panel ended with status 0, showed the cursor and left the
  // alternate screen as its last words, and took the daemons and the
  // monitor with it.
  void expect_clean_exit() {
    ASSERT_TRUE(testbed::wait_for([] { return testbed::file_exists("/tmp/panel.status"); }, 30000))
        << pane();
    EXPECT_EQ(testbed::read_file("/tmp/panel.status"), "0\n");
    EXPECT_EQ(pane_format("#{alternate_on}"), "0");
    const std::string written = testbed::read_file("/tmp/pane.out");
    const std::string restore = "\x1b[?25h\x1b[?1049l";
    const size_t shown = written.rfind("\x1b[?25h");
    ASSERT_NE(shown, std::string::npos);
    EXPECT_EQ(written.substr(shown), restore);
    for (const char *name : {"panel", "buttond", "uplinkd", "monitor"}) {
      EXPECT_NE(testbed::sh(std::string("pgrep -x ") + name + " >/dev/null"), 0) << name;
    }
  }
};

TEST_F(PanelTmux, TypedPressStartsWpsThatTheSuccessKeyEnds) {
  ASSERT_EQ(testbed::sh(kTmux + "send-keys 30 Enter"), 0);
  // Blinking: the WPS line's row shows the 10/10 pattern, lit in one
  // capture and dark in another.
  bool lit = false, dark = false;
  ASSERT_TRUE(testbed::wait_for(
      [&] {
        const std::string row = led_row(pane(), 10);
        if (row.find("blink 10/10") == std::string::npos) return false;
        lit |= row.find("[ ON ]") != std::string::npos;
        dark |= row.find("[ -- ]") != std::string::npos;
        return lit && dark;
      },
      60000))
      << pane();
  const std::string during = pane();
  EXPECT_NE(during.find("last press  30"), std::string::npos) << during;
  EXPECT_NE(during.find("wireless.cgi wps_pbc 0"), std::string::npos) << during;
  EXPECT_NE(during.find("lock 1"), std::string::npos) << during;

  ASSERT_EQ(testbed::sh(kTmux + "send-keys s"), 0);
  ASSERT_TRUE(testbed::wait_for(
      [] {
        const std::string screen = pane();
        return led_row(screen, 10).find("[ ON ]  lit") != std::string::npos &&
               screen.find("queryWPSStatus wps 2.4G configured!!") != std::string::npos;
      },
      60000))
      << pane();
  EXPECT_NE(pane().find("lock -"), std::string::npos) << pane();

  ASSERT_EQ(testbed::sh(kTmux + "send-keys q"), 0);
  expect_clean_exit();
}

TEST_F(PanelTmux, SigtermQuitsCleanly) {
  const int pid = std::atoi(output_of("pgrep -x panel").c_str());
  ASSERT_GT(pid, 1);
  ASSERT_EQ(kill(pid, SIGTERM), 0);
  expect_clean_exit();
}

}  // namespace
