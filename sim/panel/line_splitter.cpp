// Line assembly across reads, bounded by kMaxLine.
#include "sim/panel/line_splitter.h"

#include <algorithm>

namespace panel {

void LineSplitter::feed(std::string_view bytes, const Sink &sink) {
  while (!bytes.empty()) {
    size_t end = std::min(bytes.find('\n'), bytes.size());
    size_t take = std::min(end, kMaxLine - partial_.size());
    partial_.append(bytes.substr(0, take));
    bytes.remove_prefix(take);
    bool complete = !bytes.empty() && bytes.front() == '\n';
    if (complete) bytes.remove_prefix(1);
    if (complete || partial_.size() == kMaxLine) {
      sink(partial_);
      partial_.clear();
    }
  }
}

void LineSplitter::flush(const Sink &sink) {
  if (partial_.empty()) return;
  sink(partial_);
  partial_.clear();
}

}  // namespace panel
