// The monitor's pid file, read with "%d" and closed when the notification
// that opened it is done.
#include "buttond/monitor_pid.h"

namespace buttond {

MonitorPidFile::MonitorPidFile() : file_(fopen(MONITOR_PID_FILE, "r")) {
  if (file_ == nullptr) return;
  if (fscanf(file_, "%d", &pid_) != 1) {
    state_ = MONITOR_NO_PID;
  } else {
    state_ = pid_ < 2 ? MONITOR_PID_UNSAFE : MONITOR_FOUND;
  }
}

MonitorPidFile::~MonitorPidFile() {
  if (file_ != nullptr) fclose(file_);
}

}  // namespace buttond
