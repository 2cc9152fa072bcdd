// The command text is built in memory of its own length: the fixed words,
// the interface, the setting and the value, then the terminator.
#include "boardutil/iwpriv.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace boardutil {

bool iwpriv_set(int (*run)(const char *), const char *ifname, const char *setting,
                std::string_view value) {
  size_t size = sizeof "iwpriv  set " + strlen(ifname) + strlen(setting) + value.size();
  char *command = static_cast<char *>(malloc(size));
  if (command == nullptr) {
    perror("malloc");
    return false;
  }
  snprintf(command, size, "iwpriv %s set %s%.*s", ifname, setting, static_cast<int>(value.size()),
           value.empty() ? "" : value.data());
  run(command);
  free(command);
  return true;
}

}  // namespace boardutil
