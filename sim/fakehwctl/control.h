// Control of the fake drivers (sandbox, tests, the fakehwctl tool, the panel):
// the shared state file /run/sim/hw/state and the wireless answer files.
#ifndef SIM_FAKEHWCTL_CONTROL_H
#define SIM_FAKEHWCTL_CONTROL_H

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sim/fakehwctl/result.h"

namespace fakehwctl {

// Creates /run/sim/hw/ and the state with the defaults (button released,
// every pin high, WAN link up, nothing missing or failing, logging on) and
// the given time divisor; the sandbox calls it before the program starts.
// The file is rewritten in place: processes that mapped it keep seeing it.
Result init_state(unsigned time_divisor);
// The defaults at real time, and no wireless answers at all.
Result reset_state();

Result set_time_divisor(unsigned divisor);  // at least 1
Result set_logging(bool on);
Result set_gpio_missing(bool missing);
// Blank-separated names of refused requests: dir read led irq register.
Result set_gpio_fail(std::string_view requests);
Result set_bank_levels(unsigned bank, uint32_t word);  // bank 0..3
// "1x3 0x20 1": a level per read of bank 0 (1 = released, 0 = pressed),
// LEVELxCOUNT for COUNT reads; the last level then holds.
Result set_button_script(std::string_view script);
Result set_button_hold(bool pressed);  // the level once the script is used up
unsigned button_reads();               // reads since the script was set
Result set_rdm_missing(bool missing);
Result set_rdm_fail(std::string_view requests);  // "0x6B0E 0x6B03"
Result set_wan_link(bool up);

// Readable dump of the switches and answer files.
std::string show();

// Wireless answers of one interface. Sequences are blank-separated; each
// query takes the first value, the last one repeats.
struct WscCredential {  // Profile[0] of the WSC profile
  std::string ssid;
  unsigned auth_type = 0, encr_type = 0;
  std::string key;
  unsigned key_len = 0;
  unsigned key_index = 0;
};
struct WscConfiguredValue {
  unsigned state = 0;
  std::string ssid;
  unsigned auth_mode = 0, encryp_type = 0, key_index = 0;
  std::string key;
  unsigned ssid_len = 0;
};

Result set_wifi_status(const std::string &ifname, std::string_view sequence);   // "0 0 34"
Result set_wifi_channel(const std::string &ifname, std::string_view sequence);  // "6"
Result set_wifi_bssid(const std::string &ifname, std::string_view sequence);    // MACs
// reported_count, when not 0, is the entry count the driver claims (it may
// claim more than the 64 entries its record holds).
Result set_wifi_acl(const std::string &ifname, const std::vector<std::string> &macs,
                    unsigned reported_count = 0);
Result set_wifi_connstatus(const std::string &ifname, std::string_view answer);
Result set_wifi_profile(const std::string &ifname, const WscCredential &credential);
Result set_wifi_configured(const std::string &ifname, const WscConfiguredValue &value);
// "oid=0x0751 wsc-profile connstatus all"; "" refuses none.
Result set_wifi_fail(const std::string &ifname, std::string_view requests);

}  // namespace fakehwctl

#endif
