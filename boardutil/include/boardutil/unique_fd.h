// A descriptor owned by one scope: closed when the scope ends, on every
// path. Internal to the daemons and the library (C++ only).
#ifndef BOARDUTIL_UNIQUE_FD_H
#define BOARDUTIL_UNIQUE_FD_H

#include <unistd.h>

namespace boardutil {

class unique_fd {
 public:
  explicit unique_fd(int fd) : fd_(fd) {}
  unique_fd(const unique_fd &) = delete;
  unique_fd &operator=(const unique_fd &) = delete;
  ~unique_fd() {
    if (fd_ >= 0) close(fd_);
  }
  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }

 private:
  int fd_;
};

}  // namespace boardutil

#endif
