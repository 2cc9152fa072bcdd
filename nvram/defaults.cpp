// One constant table per set, indexed like the sets; a new default is one
// more row.
#include "nvram/defaults.h"

#include <span>

namespace nvram {
namespace {

struct Default {
  std::string_view key, value;
};

constexpr Default k2860[] = {
    {"OperationMode", "1"}, {"MeshMode", "0"},          {"ntpEnabled", "1"},
    {"HideSSID", "0"},      {"WiFiOff", "0"},           {"ApCliEnable", "0"},
    {"Model", ""},          {"SSID1", "Router-2.4G"},   {"AuthMode", "OPEN"},
    {"EncrypType", "NONE"}, {"AccessControlList3", ""},
};

constexpr Default kRtdev[] = {
    {"HideSSID", "0"},          {"WiFiOff", "0"},     {"ApCliEnable", "0"},
    {"SSID1", "Router-5G"},     {"AuthMode", "OPEN"}, {"EncrypType", "NONE"},
    {"AccessControlList3", ""},
};

constexpr Default kWifi3[] = {
    {"ApCliEnable", "0"},
};

constexpr std::span<const Default> kTables[kSetCount] = {k2860, kRtdev, kWifi3};

}  // namespace

Values default_values(int index) {
  Values values;
  for (const Default &entry : kTables[index]) values.emplace(entry.key, entry.value);
  return values;
}

}  // namespace nvram
