// The front panel's keys of the radio peers (radio_peers.h): h and H press
// phone 1's and phone 2's WPS button, U the upstream router's, R starts
// the repeater session that joins it.
#ifndef SIM_PANEL_RADIO_KEYS_H
#define SIM_PANEL_RADIO_KEYS_H

#include <optional>
#include <string>

#include "sim/panel/radio_peers.h"
#include "sim/panel/scenario.h"

namespace panel {

// The keys' line of the panel's help.
inline constexpr char kRadioKeysHelp[] =
    "h H phone 1/2 WPS   U upstream router WPS   R repeater session";

bool is_radio_key(char c);

// Applies key C to PEERS (null: the board has none) in MODE: nullopt when
// C is no radio key, else what to tell the person at the panel.
std::optional<std::string> radio_key(char c, RadioPeers *peers, Mode mode);

}  // namespace panel

#endif
