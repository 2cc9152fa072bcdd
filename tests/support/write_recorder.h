// Every text the shells write to a file, in the order written. Background
// jobs can finish out of order, so a file's last contents need not be the
// last value written; the recorder replaces the file with a FIFO the test
// holds open, and each write (a few bytes, atomic in a pipe) is kept.
#ifndef TESTS_SUPPORT_WRITE_RECORDER_H
#define TESTS_SUPPORT_WRITE_RECORDER_H

#include <string>
#include <vector>

#include "runtime/unique_fd.h"

namespace testbed {

class WriteRecorder {
 public:
  explicit WriteRecorder(std::string path);  // replaces what is at path
  ~WriteRecorder();                          // removes the FIFO
  WriteRecorder(const WriteRecorder &) = delete;
  WriteRecorder &operator=(const WriteRecorder &) = delete;

  // The lines written so far.
  std::vector<std::string> lines();

  // Waits until count lines were written; whether they are the numbers 1 to
  // count, each once, in any order.
  bool wrote_one_to(unsigned count);

 private:
  std::string path_;
  routerd::unique_fd fifo_;
  std::string text_;
};

}  // namespace testbed

#endif
