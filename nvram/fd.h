// Owner of one file descriptor: closes it when the owner goes out of scope,
// so every path out of a function closes what the function opened.
#ifndef NVRAM_FD_H
#define NVRAM_FD_H

#include <unistd.h>

namespace nvram {

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  Fd(const Fd &) = delete;
  Fd &operator=(const Fd &) = delete;
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  bool ok() const { return fd_ >= 0; }

 private:
  int fd_;
};

}  // namespace nvram

#endif
