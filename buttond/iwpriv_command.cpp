// The driver settings of the WPS session: one "iwpriv IFNAME set SETTING"
// command per call, formed in a bounded buffer and run in the foreground.
#include "iwpriv_command.h"

#include <stdio.h>

#include "boardutil/shell.h"

namespace buttond {

void iwpriv_set(const char *ifname, const char *setting) {
  char command[128];
  snprintf(command, sizeof command, "iwpriv %s set %s", ifname, setting);
  shell_run(command);
}

}  // namespace buttond
