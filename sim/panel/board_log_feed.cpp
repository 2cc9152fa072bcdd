// Following the virtual board's logs. The logs under /run/sim start empty
// at each boot of the board, and so do the offsets.
#include "board_log_feed.h"

#include <chrono>

#include "monotonic.h"

namespace panel {

namespace {

using namespace std::chrono_literals;

// Ends each log's part of the output; the part itself ends with the
// newline echo adds.
constexpr std::string_view kEndOfPart = "\n@@\n";

}  // namespace

void BoardLogFeed::poll(const LogSinks &sinks, bool flush) {
  if (!console_ && !board_.console_path().empty()) {
    console_ = std::make_unique<LogTail>(board_.console_path());
    console_->skip_to_end();
  }
  // The serial console ends its lines with "\r\n".
  auto console = [&](std::string_view line) {
    if (line.ends_with('\r')) line.remove_suffix(1);
    sinks.console(line);
  };
  if (console_) console_->poll(console);
  if (flush || now_ms() >= next_fetch_ms_) fetch(sinks);
  if (!flush) return;
  if (console_) console_->flush(console);
  requests_.lines.flush(sinks.requests);
  commands_.lines.flush(sinks.commands);
  hups_.lines.flush(sinks.hups);
}

void BoardLogFeed::fetch(const LogSinks &sinks) {
  next_fetch_ms_ = now_ms() + kFetchMs;
  RemoteLog *logs[] = {&requests_, &commands_, &hups_};
  if (board_.boots() != boots_) {
    boots_ = board_.boots();
    for (RemoteLog *log : logs) {
      log->offset = 0;
      log->lines.clear();
    }
  }
  std::string command = "cd /run/sim";
  for (const RemoteLog *log : logs)
    command += "; tail -c +" + std::to_string(log->offset + 1) + " " + log->name + " 2>/dev/null; echo; echo @@";
  const board::Reply reply = board_.run(command, 10s);
  // A reboot meanwhile: the output is of the new boot, read at old offsets.
  if (!reply.answered || board_.boots() != boots_) return;
  const std::string_view output = reply.output;
  const LogTail::Sink *log_sinks[] = {&sinks.requests, &sinks.commands, &sinks.hups};
  size_t at = 0;
  for (size_t i = 0; i < std::size(logs); ++i) {
    const size_t end = output.find(kEndOfPart, at);
    if (end == std::string_view::npos) return;
    const std::string_view part = output.substr(at, end - at);
    logs[i]->offset += part.size();
    logs[i]->lines.feed(part, *log_sinks[i]);
    at = end + kEndOfPart.size();
  }
}

}  // namespace panel
