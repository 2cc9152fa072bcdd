// The panel's side of panel-feed on the virtual board: console lines sorted
// by their tags into the panel's logs, and the status lines turned into
// the status files, the daemons and their start and end events.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/panel/board_log_feed.h"
#include "sim/panel/virtual_board.h"

namespace {

using Lines = std::vector<std::string>;

TEST(PanelBoardFeed, SortsConsoleLinesByTag) {
  Lines console, requests, commands, status;
  unsigned hups = 0;
  const panel::LogSinks sinks{[&](std::string_view l) { console.emplace_back(l); },
                              [&](std::string_view l) { requests.emplace_back(l); },
                              [&](std::string_view l) { commands.emplace_back(l); },
                              [&](std::string_view) { ++hups; }};
  for (const char *line :
       {"@@r gpio led pin=10 on=10 off=10 blinks=4000 rests=1 times=4000\r", "start wps, type:1!\r",
        "@@c wireless.cgi wps_pbc 0", "@@h\r", "@@h", "@@hx", "@@s Link=1 buttond=148\r",
        "say @@r not a request", "\r", "@@r "}) {
    panel::sort_console_line(line, sinks, [&](std::string_view l) { status.emplace_back(l); });
  }
  EXPECT_EQ(requests, (Lines{"gpio led pin=10 on=10 off=10 blinks=4000 rests=1 times=4000", ""}));
  EXPECT_EQ(commands, Lines{"wireless.cgi wps_pbc 0"});
  EXPECT_EQ(hups, 2u);
  EXPECT_EQ(status, Lines{"Link=1 buttond=148"});
  EXPECT_EQ(console, (Lines{"start wps, type:1!", "@@hx", "say @@r not a request", ""}));
}

TEST(PanelBoardFeed, StatusLinesSetFilesAndDaemonsAndReportStartsAndEnds) {
  Lines events;
  panel::VirtualBoard board({}, [&](std::string_view e) { events.emplace_back(e); });
  board.take_status(
      "Link=1 internetStatus=0 wanStatus= lock wps_times=60 reset_times buttond=148 uplinkd=0");
  panel::BoardStatus s = board.status();
  ASSERT_EQ(s.files.size(), 6u);
  EXPECT_EQ(s.files[0], (std::pair<std::string, std::optional<std::string>>{"Link", "1"}));
  EXPECT_EQ(s.files[1].second, "0");
  EXPECT_EQ(s.files[2].second, "");  // there, but empty
  EXPECT_EQ(s.files[3].second, std::nullopt);
  EXPECT_EQ(s.files[4].second, "60");
  EXPECT_EQ(s.files[5].second, std::nullopt);
  ASSERT_EQ(s.daemons.size(), 2u);
  EXPECT_TRUE(s.daemons[0].running);
  EXPECT_EQ(s.daemons[0].pid, 148);
  EXPECT_FALSE(s.daemons[1].running);
  EXPECT_EQ(events, Lines{"board: buttond started"});

  events.clear();
  board.take_status("Link=0 buttond=148 uplinkd=160");  // the same buttond, uplinkd up
  board.take_status("buttond=151 uplinkd=160");         // buttond restarted
  board.take_status("buttond=0 uplinkd=160");           // and gone
  EXPECT_EQ(events, (Lines{"board: uplinkd started", "board: buttond ended",
                           "board: buttond started", "board: buttond ended"}));
  s = board.status();
  EXPECT_EQ(s.files[0].second, "0");
  EXPECT_EQ(s.files[4].second, "60");  // not in the line: kept
  EXPECT_FALSE(s.daemons[0].running);
}

}  // namespace
