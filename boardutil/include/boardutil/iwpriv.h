// The wireless driver's settings as the firmware changes them: one
// "iwpriv IFNAME set SETTING" command per call, run through the shell.
#ifndef BOARDUTIL_IWPRIV_H
#define BOARDUTIL_IWPRIV_H

#include <string_view>

namespace boardutil {

// Runs "iwpriv IFNAME set SETTINGVALUE" with run (do_system or shell_run,
// whichever the caller's command goes through; see shell.h) and waits for
// it. The command is sized to its text, so a long value (an access-control
// list) is handed over whole. False, with perror("malloc"), when there was
// no memory for the command: nothing was run. The command's status is not
// examined.
bool iwpriv_set(int (*run)(const char *), const char *ifname, const char *setting,
                std::string_view value = {});

}  // namespace boardutil

#endif
