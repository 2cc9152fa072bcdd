// Sorting the virtual board's console into the panel's logs by panel-feed's
// tags.
#include "sim/panel/board_log_feed.h"

namespace panel {

namespace {

constexpr std::string_view kRequest = "@@r ", kCommand = "@@c ", kHup = "@@h", kStatus = "@@s ";

}  // namespace

void BoardLogFeed::poll(const LogSinks &sinks, bool flush) {
  if (!console_ && !board_.console_path().empty()) {
    console_ = std::make_unique<LogTail>(board_.console_path());
    console_->start_at(board_.console_start());
  }
  if (!console_) return;
  auto status = [this](std::string_view text) { board_.take_status(text); };
  auto line = [&](std::string_view text) { sort_console_line(text, sinks, status); };
  console_->poll(line);
  if (flush) console_->flush(line);
}

void sort_console_line(std::string_view line, const LogSinks &sinks,
                       const std::function<void(std::string_view)> &status) {
  if (line.ends_with('\r')) line.remove_suffix(1);  // the serial console ends lines with "\r\n"
  if (line.starts_with(kRequest)) {
    sinks.requests(line.substr(kRequest.size()));
  } else if (line.starts_with(kCommand)) {
    sinks.commands(line.substr(kCommand.size()));
  } else if (line == kHup) {
    sinks.hups(line);
  } else if (line.starts_with(kStatus)) {
    status(line.substr(kStatus.size()));
  } else {
    sinks.console(line);
  }
}

}  // namespace panel
