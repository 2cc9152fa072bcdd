// The fakehwctl tool: sets and shows the fake drivers' state from a shell in
// the sandbox, a thin command line over the control library.
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "sim/fakehw/text_parse.h"
#include "sim/fakehwctl/control.h"

namespace {

using Args = std::vector<std::string>;
using fakehwctl::Result;

Result bad(const std::string &what) { return Result::fail(what); }

bool parse_bool(const std::string &text, bool &value) {
  for (const char *yes : {"1", "on", "yes", "up", "pressed"}) {
    if (text == yes) return (value = true);
  }
  for (const char *no : {"0", "off", "no", "down", "released"}) {
    if (text == no) return !(value = false);
  }
  return false;
}

template <typename Set>
Result with_bool(const std::string &text, Set set) {
  bool value = false;
  if (!parse_bool(text, value)) return bad("\"" + text + "\" is neither on/1/yes nor off/0/no");
  return set(value);
}

Result with_number(const std::string &text, uint32_t &value) {
  return fakehw::parse_u32(text, value) ? Result::ok() : bad("\"" + text + "\" is not a number");
}

// Arguments from first on joined by blanks (a sequence given in one or many words).
std::string joined(const Args &args, size_t first) {
  std::string text;
  for (size_t i = first; i < args.size(); ++i) text += (i > first ? " " : "") + args[i];
  return text;
}

// FIELD=VALUE arguments from the second on; numbers where asked.
Result fields(const Args &args, std::map<std::string, std::string> &text,
              std::map<std::string, uint32_t> &numbers) {
  for (size_t i = 1; i < args.size(); ++i) {
    size_t equals = args[i].find('=');
    if (equals == std::string::npos) return bad("\"" + args[i] + "\" is not FIELD=VALUE");
    std::string name = args[i].substr(0, equals), value = args[i].substr(equals + 1);
    if (text.count(name) != 0) {
      text[name] = value;
    } else if (numbers.count(name) != 0) {
      if (Result number = with_number(value, numbers[name]); !number) return number;
    } else {
      return bad("unknown field \"" + name + "\"");
    }
  }
  return Result::ok();
}

Result wifi_profile(const Args &args) {
  std::map<std::string, std::string> text{{"ssid", ""}, {"key", ""}};
  std::map<std::string, uint32_t> numbers{
      {"auth", 0}, {"encr", 0}, {"key-len", UINT32_MAX}, {"key-index", 0}};
  if (Result parsed = fields(args, text, numbers); !parsed) return parsed;
  uint32_t key_len = numbers["key-len"];
  return fakehwctl::set_wifi_profile(
      args[0], {text["ssid"], numbers["auth"], numbers["encr"], text["key"],
                key_len == UINT32_MAX ? static_cast<unsigned>(text["key"].size()) : key_len,
                numbers["key-index"]});
}

Result wifi_configured(const Args &args) {
  std::map<std::string, std::string> text{{"ssid", ""}, {"key", ""}};
  std::map<std::string, uint32_t> numbers{
      {"state", 0}, {"auth", 0}, {"encr", 0}, {"key-index", 0}, {"ssid-len", UINT32_MAX}};
  if (Result parsed = fields(args, text, numbers); !parsed) return parsed;
  uint32_t ssid_len = numbers["ssid-len"];
  return fakehwctl::set_wifi_configured(
      args[0], {numbers["state"], text["ssid"], numbers["auth"], numbers["encr"],
                numbers["key-index"], text["key"],
                ssid_len == UINT32_MAX ? static_cast<unsigned>(text["ssid"].size()) : ssid_len});
}

Result print(const std::string &text) {
  fputs(text.c_str(), stdout);
  return Result::ok();
}

struct Command {
  const char *name;
  const char *arguments;
  const char *help;
  size_t min_args, max_args;
  Result (*run)(const Args &args);
};

constexpr size_t kMany = 1000;

constexpr Command kCommands[] = {
    {"init", "[DIVISOR]", "create the state (default divisor 1)", 0, 1,
     [](const Args &a) {
       uint32_t divisor = 1;
       Result number = a.empty() ? Result::ok() : with_number(a[0], divisor);
       return number ? fakehwctl::init_state(divisor) : number;
     }},
    {"reset", "", "defaults at real time, no wireless answers", 0, 0,
     [](const Args &) { return fakehwctl::reset_state(); }},
    {"show", "", "print the state", 0, 0, [](const Args &) { return print(fakehwctl::show()); }},
    {"time-divisor", "N", "sleeps and timers N times faster", 1, 1,
     [](const Args &a) {
       uint32_t divisor = 0;
       Result number = with_number(a[0], divisor);
       return number ? fakehwctl::set_time_divisor(divisor) : number;
     }},
    {"logging", "on|off", "log requests to /run/sim/requests.log", 1, 1,
     [](const Args &a) { return with_bool(a[0], fakehwctl::set_logging); }},
    {"button", "SCRIPT", "levels per read of bank 0, e.g. \"1x3 0x20 1\" (0 = pressed)", 1, kMany,
     [](const Args &a) { return fakehwctl::set_button_script(joined(a, 0)); }},
    {"button-hold", "pressed|released", "the level once the script is used up", 1, 1,
     [](const Args &a) { return with_bool(a[0], fakehwctl::set_button_hold); }},
    {"button-reads", "", "print the reads since the script was set", 0, 0,
     [](const Args &) { return print(std::to_string(fakehwctl::button_reads()) + "\n"); }},
    {"gpio-missing", "yes|no", "/dev/gpio absent", 1, 1,
     [](const Args &a) { return with_bool(a[0], fakehwctl::set_gpio_missing); }},
    {"gpio-fail", "[REQUEST...]", "refuse dir read led irq register (none = refuse none)", 0, kMany,
     [](const Args &a) { return fakehwctl::set_gpio_fail(joined(a, 0)); }},
    {"gpio-bank", "BANK WORD", "levels of bank 0-3 (pin 1 follows the button)", 2, 2,
     [](const Args &a) {
       uint32_t bank = 0, word = 0;
       Result numbers = with_number(a[0], bank);
       if (numbers) numbers = with_number(a[1], word);
       return numbers ? fakehwctl::set_bank_levels(bank, word) : numbers;
     }},
    {"rdm-missing", "yes|no", "/dev/rdm0 absent", 1, 1,
     [](const Args &a) { return with_bool(a[0], fakehwctl::set_rdm_missing); }},
    {"rdm-fail", "[REQUEST...]", "refuse 0x6B0E 0x6B03 (none = refuse none)", 0, kMany,
     [](const Args &a) { return fakehwctl::set_rdm_fail(joined(a, 0)); }},
    {"wan-link", "0|1", "bit 0 of switch register 0x113408", 1, 1,
     [](const Args &a) { return with_bool(a[0], fakehwctl::set_wan_link); }},
    {"wifi-status", "IF [CODE...]", "WPS status codes in turn, e.g. 0 0 34", 1, kMany,
     [](const Args &a) { return fakehwctl::set_wifi_status(a[0], joined(a, 1)); }},
    {"wifi-channel", "IF [CHANNEL...]", "repeater channels in turn", 1, kMany,
     [](const Args &a) { return fakehwctl::set_wifi_channel(a[0], joined(a, 1)); }},
    {"wifi-bssid", "IF [MAC...]", "repeater BSSIDs in turn", 1, kMany,
     [](const Args &a) { return fakehwctl::set_wifi_bssid(a[0], joined(a, 1)); }},
    {"wifi-acl", "IF [MAC...]", "access-control list", 1, kMany,
     [](const Args &a) { return fakehwctl::set_wifi_acl(a[0], Args(a.begin() + 1, a.end())); }},
    {"wifi-connstatus", "IF [TEXT]", "repeater connection status answer", 1, 2,
     [](const Args &a) { return fakehwctl::set_wifi_connstatus(a[0], a.size() > 1 ? a[1] : ""); }},
    {"wifi-fail", "IF [REQUEST...]", "refuse oid=0xNNNN wsc-profile connstatus all", 1, kMany,
     [](const Args &a) { return fakehwctl::set_wifi_fail(a[0], joined(a, 1)); }},
    {"wifi-profile", "IF FIELD=VALUE...",
     "WSC profile: ssid key auth encr key-len (default: key's) key-index", 1, kMany, wifi_profile},
    {"wifi-configured", "IF FIELD=VALUE...",
     "configured value: ssid key auth encr key-index ssid-len (default: ssid's) state", 1, kMany,
     wifi_configured},
};

int usage(FILE *out) {
  fputs("usage: fakehwctl COMMAND [ARGUMENT...]   state of the sandbox's fake drivers\n", out);
  for (const Command &command : kCommands) {
    fprintf(out, "  %-15s %-18s %s\n", command.name, command.arguments, command.help);
  }
  return out == stdout ? 0 : 2;
}

}  // namespace

int main(int argc, char **argv) {
  if (argc < 2) return usage(stderr);
  if (strcmp(argv[1], "help") == 0 || strcmp(argv[1], "--help") == 0) return usage(stdout);
  Args args(argv + 2, argv + argc);
  for (const Command &command : kCommands) {
    if (strcmp(argv[1], command.name) != 0) continue;
    if (args.size() < command.min_args || args.size() > command.max_args) {
      fprintf(stderr, "usage: fakehwctl %s %s\n", command.name, command.arguments);
      return 2;
    }
    Result result = command.run(args);
    if (result) return 0;
    fprintf(stderr, "fakehwctl %s: %s\n", command.name, result.error.c_str());
    return 1;
  }
  fprintf(stderr, "fakehwctl: unknown command \"%s\"\n", argv[1]);
  return usage(stderr);
}
