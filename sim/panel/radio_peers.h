// The real WPS peers beside the radio board's access points (sim/radio):
// two phones and the upstream router a repeater joins, each driven by a
// command on the board (radio-phone, radio-upstream). The panel presses
// their push buttons, starts the router's repeater session, and follows
// the peers' state: polled once a second while one runs, a change
// reported as an event ("radio: phone 1: joined").
#ifndef SIM_PANEL_RADIO_PEERS_H
#define SIM_PANEL_RADIO_PEERS_H

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "sim/board/host/board_link.h"
#include "sim/panel/scenario.h"

namespace panel {

// The upstream router's network, fixed: a repeater session stores it.
inline constexpr char kUpstreamSsid[] = "Upstream Net";
inline constexpr char kUpstreamPassphrase[] = "upstream-secret";
// What a board without the peers answers to their keys and actions.
inline constexpr char kNoRadioPeers[] =
    "no radio peers on this board (panel --board --radio boots them)";

// A phone's wpa_supplicant wpa_state as the panel shows it: "scanning",
// "joining", "joined", "idle", or the state in lower case.
std::string phone_state_text(std::string_view wpa_state);

class RadioPeers {
 public:
  static constexpr unsigned kPhones = 2;
  static constexpr uint64_t kPollMs = 1000;

  // Runs one command on the board (an unanswered one is not answered).
  using Runner = std::function<board::Reply(const std::string &command)>;
  using EventSink = std::function<void(std::string_view event)>;

  RadioPeers(Runner run, EventSink events) : run_(std::move(run)), events_(std::move(events)) {}

  // Presses phone N's (1 or 2) push button, starting the phone first if it
  // is not running. Every call returns "" when done, else what went wrong.
  std::string press_phone(unsigned phone);
  // Presses the upstream router's push button, starting it first: only for
  // a repeater, which is what joins it.
  std::string press_upstream(Mode mode);
  // The router's upstream clients as enrollees towards the upstream
  // router (a repeater session; its success reboots the board).
  std::string start_repeater_session(Mode mode);

  // Asks for the running peers' states when a poll is due.
  void poll(uint64_t now_ms);
  // A rebooted board has no peers running.
  void forget();
  // "phone 1: scanning   phone 2: off   upstream router: PBC active".
  std::string summary() const;

 private:
  struct Peer {
    bool running = false;
    std::string state;  // as shown
  };
  // "" when COMMAND ran with status 0, else WHAT and what went wrong.
  std::string act(const std::string &what, const std::string &command);
  void take_state(Peer &peer, const std::string &name, std::string state);

  Runner run_;
  EventSink events_;
  Peer phones_[kPhones], upstream_;
  uint64_t next_poll_ms_ = 0;
};

}  // namespace panel

#endif
