// A descriptor owned by one scope: closed when the scope ends, on every
// path. Shared by the store, the library, the daemons and the simulator.
#ifndef ROUTERD_UNIQUE_FD_H
#define ROUTERD_UNIQUE_FD_H

#include <unistd.h>

namespace routerd {

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

}  // namespace routerd

#endif
