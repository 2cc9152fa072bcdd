// The fake drivers' controls as tests use them: thin calls into the control
// library that stop the test program on a malformed script.
#include <cstdio>
#include <cstdlib>

#include "sim/fakehwctl/control.h"
#include "tests/support/testbed.h"
#include "tests/support/testbed_check.h"

namespace testbed {

void check(const fakehwctl::Result &result, const char *call) {
  if (result) return;
  fprintf(stderr, "testbed::%s: %s\n", call, result.error.c_str());
  abort();
}

void set_time_divisor(unsigned divisor) {
  check(fakehwctl::set_time_divisor(divisor), "set_time_divisor");
}
void button_script(std::string_view script) {
  check(fakehwctl::set_button_script(script), "button_script");
}
unsigned button_reads() { return fakehwctl::button_reads(); }
void button_hold(bool pressed) { check(fakehwctl::set_button_hold(pressed), "button_hold"); }
void gpio_missing(bool missing) { check(fakehwctl::set_gpio_missing(missing), "gpio_missing"); }
void gpio_bank_levels(unsigned bank, unsigned word) {
  check(fakehwctl::set_bank_levels(bank, word), "gpio_bank_levels");
}
void gpio_fail(std::string_view requests) {
  check(fakehwctl::set_gpio_fail(requests), "gpio_fail");
}

void wifi_status(const std::string &ifname, std::string_view sequence) {
  check(fakehwctl::set_wifi_status(ifname, sequence), "wifi_status");
}
void wifi_profile(const std::string &ifname, const WscCredential &c) {
  check(fakehwctl::set_wifi_profile(
            ifname, {c.ssid, c.auth_type, c.encr_type, c.key, c.key_len, c.key_index}),
        "wifi_profile");
}
void wifi_configured_value(const std::string &ifname, const WscConfiguredValue &v) {
  check(fakehwctl::set_wifi_configured(
            ifname, {0, v.ssid, v.auth_mode, v.encryp_type, v.key_index, v.key, v.ssid_len}),
        "wifi_configured_value");
}
void wifi_channel(const std::string &ifname, unsigned channel) {
  check(fakehwctl::set_wifi_channel(ifname, std::to_string(channel)), "wifi_channel");
}
void wifi_bssid(const std::string &ifname, std::string_view sequence) {
  check(fakehwctl::set_wifi_bssid(ifname, sequence), "wifi_bssid");
}
void wifi_acl(const std::string &ifname, const std::vector<std::string> &macs,
              unsigned reported_count) {
  check(fakehwctl::set_wifi_acl(ifname, macs, reported_count), "wifi_acl");
}
void wifi_connstatus(const std::string &ifname, std::string_view answer) {
  check(fakehwctl::set_wifi_connstatus(ifname, answer), "wifi_connstatus");
}
void wifi_fail(const std::string &ifname, std::string_view requests) {
  check(fakehwctl::set_wifi_fail(ifname, requests), "wifi_fail");
}

void wan_link(bool up) { check(fakehwctl::set_wan_link(up), "wan_link"); }
void rdm_missing(bool missing) { check(fakehwctl::set_rdm_missing(missing), "rdm_missing"); }
void rdm_fail(std::string_view requests) { check(fakehwctl::set_rdm_fail(requests), "rdm_fail"); }

}  // namespace testbed
