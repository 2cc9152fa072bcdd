// A path of the sandbox covered for a while by a mount of this test's own
// mount namespace: /dev/null bound over the shell makes every spawn of it
// fail, a tmpfs over /proc/self/net hides the routing table.
#ifndef TESTS_SUPPORT_COVERED_PATH_H
#define TESTS_SUPPORT_COVERED_PATH_H

namespace testbed {

class Covered {
 public:
  Covered(const char *path, const char *source, const char *type, unsigned long flags);
  ~Covered();  // uncovers the path
  Covered(const Covered &) = delete;
  Covered &operator=(const Covered &) = delete;
  bool mounted() const { return mounted_; }

 private:
  const char *path_;
  bool mounted_;
};

// False under an emulator (qemu-user) whose posix_spawn runs the child as a
// separate process: a failed exec then shows as the child's exit status 127
// instead of posix_spawn's error.
bool spawn_reports_failed_exec();

}  // namespace testbed

#endif
