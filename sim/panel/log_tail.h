// Follows a growing log file line by line: each poll hands over the
// complete lines appended since the last one.
#ifndef SIM_PANEL_LOG_TAIL_H
#define SIM_PANEL_LOG_TAIL_H

#include <sys/types.h>

#include <string>

#include "sim/panel/line_splitter.h"

namespace panel {

class LogTail {
 public:
  using Sink = LineSplitter::Sink;

  explicit LogTail(std::string path) : path_(std::move(path)) {}

  // Reads what was appended (a file that shrank is read again from its
  // start; a missing one is waited for) and calls sink once per complete
  // line, without its line end. A line longer than kMaxLine is handed
  // over in pieces.
  void poll(const Sink &sink);
  // Hands over an unterminated last line, if any.
  void flush(const Sink &sink) { lines_.flush(sink); }
  // Leaves the file's first OFFSET bytes unread.
  void start_at(off_t offset) {
    offset_ = offset;
    lines_.clear();
  }

  static constexpr size_t kMaxLine = LineSplitter::kMaxLine;

 private:
  std::string path_;
  off_t offset_ = 0;
  LineSplitter lines_;
};

}  // namespace panel

#endif
