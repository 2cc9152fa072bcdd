// Helpers of the uplink and uplinkd tests: waiting until the background
// commands the code under test started ("... &") have ended, and the console
// once every message written so far has arrived.
#ifndef TESTS_UNIT_UPLINK_TEST_SUPPORT_H
#define TESTS_UNIT_UPLINK_TEST_SUPPORT_H

#include <dirent.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/types.h>

#include <algorithm>
#include <set>
#include <string>

#include "boardutil/console.h"
#include "tests/support/testbed.h"

namespace uplink_test {

// The processes of the sandbox that still run (ended ones waiting to be
// reaped, zombies, are left out).
inline std::set<pid_t> processes() {
  std::set<pid_t> pids;
  DIR *dir = opendir("/proc");
  if (dir == nullptr) return pids;
  while (dirent *entry = readdir(dir)) {
    pid_t pid = static_cast<pid_t>(atoi(entry->d_name));
    if (pid <= 0) continue;
    std::string stat = testbed::read_file("/proc/" + std::to_string(pid) + "/stat");
    size_t name_end = stat.rfind(')');
    if (name_end == std::string::npos || stat.compare(name_end, 3, ") Z") == 0) continue;
    pids.insert(pid);
  }
  closedir(dir);
  return pids;
}

// The processes of the sandbox when the test began; settle() waits until no
// other process is left, so files and logs written in the background are
// complete. A background job has been forked by the time do_system returns.
class BackgroundJobs {
 public:
  void remember() { baseline_ = processes(); }
  void settle() const {
    EXPECT_TRUE(testbed::wait_for([this] {
      std::set<pid_t> now = processes();
      return std::includes(baseline_.begin(), baseline_.end(), now.begin(), now.end());
    })) << "background commands still running:"
        << leftovers();
  }

 private:
  std::string leftovers() const {
    std::string text;
    for (pid_t pid : processes()) {
      if (baseline_.count(pid)) continue;
      text += " [" + std::to_string(pid) + "] " +
              testbed::read_file("/proc/" + std::to_string(pid) + "/stat");
    }
    return text;
  }
  std::set<pid_t> baseline_;
};

// The console log once every message written so far has reached it: a
// numbered mark is written after them and awaited.
inline std::string console_so_far() {
  static unsigned marks = 0;
  std::string mark = "--mark " + std::to_string(++marks) + "--\n";
  console_print("%s", mark.c_str());
  EXPECT_TRUE(testbed::wait_for_text(testbed::kConsoleLog, mark));
  return testbed::console();
}

}  // namespace uplink_test

#endif
