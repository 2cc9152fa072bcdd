// The driver settings of the WPS session, run as "iwpriv IFNAME set SETTING"
// through the C library's system (the shell's status is not examined).
#ifndef BUTTOND_IWPRIV_COMMAND_H
#define BUTTOND_IWPRIV_COMMAND_H

namespace buttond {

void iwpriv_set(const char *ifname, const char *setting);

}  // namespace buttond

#endif
