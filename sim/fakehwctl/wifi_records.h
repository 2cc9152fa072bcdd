// Driver records built from readable fields through their C types
// (wireless_abi.h): the WSC profile and the WSC configured value.
#ifndef SIM_FAKEHWCTL_WIFI_RECORDS_H
#define SIM_FAKEHWCTL_WIFI_RECORDS_H

#include <string>

#include "boardutil/wireless_abi.h"
#include "sim/fakehwctl/control.h"
#include "sim/fakehwctl/result.h"

namespace fakehwctl {

// A wsc_profile of one credential (ProfileCnt 1, ApplyProfileIdx 0).
Result encode_profile(const WscCredential &credential, std::string &record);
// A WSC_CONFIGURED_VALUE; the texts are NUL-terminated in their fields.
Result encode_configured_value(const WscConfiguredValue &value, std::string &record);

}  // namespace fakehwctl

#endif
