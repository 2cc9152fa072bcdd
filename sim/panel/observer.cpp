// Turns the board's log lines into events and keeps the LED patterns, the
// running button hold and the SIGHUP count.
#include "sim/panel/observer.h"

#include <string>

#include "sim/panel/requests.h"

namespace panel {

namespace {

void emit(const Observer::EventSink &sink, std::string_view source, std::string_view text) {
  std::string event;
  event.reserve(source.size() + 2 + text.size());
  event.append(source).append(": ").append(text);
  sink(event);
}

bool blank(std::string_view line) {
  return line.find_first_not_of(" \t\r") == std::string_view::npos;
}

}  // namespace

Observer::Observer(std::unique_ptr<LogFeed> feed) : feed_(std::move(feed)) {}

void Observer::poll(uint64_t now_ms, const EventSink &sink) { poll_all(now_ms, sink, false); }

void Observer::flush(uint64_t now_ms, const EventSink &sink) { poll_all(now_ms, sink, true); }

void Observer::poll_all(uint64_t now_ms, const EventSink &sink, bool flush) {
  // The usual order of cause and effect: a message, the LEDs, the commands,
  // the notification.
  auto console = [&](std::string_view line) {
    if (!blank(line)) emit(sink, "console", line);
  };
  auto request = [&](std::string_view line) { this->request(line, now_ms, sink); };
  auto command = [&](std::string_view line) { emit(sink, "command", line); };
  auto hup = [&](std::string_view) {
    ++hups_;
    sink("monitor: SIGHUP");
  };
  feed_->poll({console, request, command, hup}, flush);
}

void Observer::request(std::string_view line, uint64_t now_ms, const EventSink &sink) {
  switch (parse_button_sample(line)) {
    case ButtonSample::pressed:
      if (hold_++ == 0) sink("button: pressed");
      return;
    case ButtonSample::released:
      if (hold_ > 0) {
        last_hold_ = hold_;
        hold_ = 0;
        sink("button: released after " + std::to_string(last_hold_) + " samples");
      }
      return;
    case ButtonSample::none:
      break;
  }
  if (auto led = parse_led_request(line)) {
    leds_[led->pin] = LedState{led->pattern, now_ms};
    sink("led " + std::to_string(led->pin) + ": " + led_describe(led->pattern));
  } else if (!request_is_noise(line)) {
    emit(sink, "request", line);
  }
}

}  // namespace panel
