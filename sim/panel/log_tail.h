// Follows a growing log file line by line: each poll hands over the
// complete lines appended since the last one.
#ifndef SIM_PANEL_LOG_TAIL_H
#define SIM_PANEL_LOG_TAIL_H

#include <sys/types.h>

#include <functional>
#include <string>
#include <string_view>

namespace panel {

class LogTail {
 public:
  using Sink = std::function<void(std::string_view line)>;

  explicit LogTail(std::string path) : path_(std::move(path)) {}

  // Reads what was appended (a file that shrank is read again from its
  // start; a missing one is waited for) and calls sink once per complete
  // line, without its line end. A line longer than kMaxLine is handed
  // over in pieces.
  void poll(const Sink &sink);
  // Hands over an unterminated last line, if any.
  void flush(const Sink &sink);

  static constexpr size_t kMaxLine = 4096;

 private:
  std::string path_;
  off_t offset_ = 0;
  std::string partial_;
};

}  // namespace panel

#endif
