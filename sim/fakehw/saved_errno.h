// Keeps errno as the caller left it across the library's own bookkeeping
// (state mapping, logging, answer files), which must not leak failures.
#ifndef SIM_FAKEHW_SAVED_ERRNO_H
#define SIM_FAKEHW_SAVED_ERRNO_H

#include <cerrno>

namespace fakehw {

class SavedErrno {
 public:
  SavedErrno() : saved_(errno) {}
  ~SavedErrno() { errno = saved_; }
  SavedErrno(const SavedErrno &) = delete;
  SavedErrno &operator=(const SavedErrno &) = delete;

 private:
  int saved_;
};

}  // namespace fakehw

#endif
