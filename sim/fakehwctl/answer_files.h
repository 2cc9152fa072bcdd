// The wireless answer files under /run/sim/hw/wifi/IFNAME/ (internal to
// the control library): written whole and atomically, so a fake driver
// reading at the same time sees the old answer or the new one.
#ifndef SIM_FAKEHWCTL_ANSWER_FILES_H
#define SIM_FAKEHWCTL_ANSWER_FILES_H

#include <string>
#include <string_view>
#include <vector>

#include "sim/fakehwctl/result.h"

namespace fakehwctl {

Result write_answer(const std::string &ifname, const char *file, std::string_view content);
Result remove_answer(const std::string &ifname, const char *file);
Result remove_wifi_answers();  // of every interface

// For show(): the interfaces with answers and an answer file's bytes.
std::vector<std::string> wifi_interfaces();
std::string read_answer(const std::string &ifname, const char *file);

}  // namespace fakehwctl

#endif
