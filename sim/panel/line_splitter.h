// Cuts a byte stream into lines: bytes go in as they come, each complete
// line comes out once, without its line end.
#ifndef SIM_PANEL_LINE_SPLITTER_H
#define SIM_PANEL_LINE_SPLITTER_H

#include <functional>
#include <string>
#include <string_view>

namespace panel {

class LineSplitter {
 public:
  using Sink = std::function<void(std::string_view line)>;

  // Calls sink once per line completed by bytes. A line longer than
  // kMaxLine is handed over in pieces.
  void feed(std::string_view bytes, const Sink &sink);
  // Hands over an unterminated last line, if any.
  void flush(const Sink &sink);
  // Drops an unterminated line (the stream starts again).
  void clear() { partial_.clear(); }

  static constexpr size_t kMaxLine = 4096;

 private:
  std::string partial_;
};

}  // namespace panel

#endif
