// A FIFO in place of a file, read without blocking whenever the test asks.
#include "tests/support/write_recorder.h"

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <utility>

#include "tests/support/testbed.h"

namespace testbed {
namespace {

// Opened read-write, the FIFO always has a reader, so a writer's open never
// blocks and the test's reads never see an end of file.
int make_fifo(const std::string &path) {
  unlink(path.c_str());
  if (mkfifo(path.c_str(), 0666) != 0) {
    perror(("testbed::WriteRecorder: mkfifo " + path).c_str());
    return -1;
  }
  return open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
}

}  // namespace

WriteRecorder::WriteRecorder(std::string path) : path_(std::move(path)), fifo_(make_fifo(path_)) {}

WriteRecorder::~WriteRecorder() { unlink(path_.c_str()); }

std::vector<std::string> WriteRecorder::lines() {
  char buffer[4096];
  while (fifo_.valid()) {
    ssize_t got = read(fifo_.get(), buffer, sizeof buffer);
    if (got > 0) {
      text_.append(buffer, static_cast<size_t>(got));
    } else if (got == 0 || errno != EINTR) {
      break;  // nothing more for now (EAGAIN), or the FIFO failed
    }
  }
  std::vector<std::string> lines;
  for (size_t start = 0, end; (end = text_.find('\n', start)) != std::string::npos;
       start = end + 1) {
    lines.push_back(text_.substr(start, end - start));
  }
  return lines;
}

bool WriteRecorder::wrote_one_to(unsigned count) {
  wait_for([this, count] { return lines().size() >= count; });
  std::vector<std::string> written = lines();
  std::vector<std::string> expected;
  for (unsigned n = 1; n <= count; ++n) expected.push_back(std::to_string(n));
  std::sort(written.begin(), written.end());
  std::sort(expected.begin(), expected.end());
  return written == expected;
}

}  // namespace testbed
