// The radio peers' commands on the board and the states they report.
#include "sim/panel/radio_peers.h"

#include <algorithm>
#include <cctype>

namespace panel {

namespace {

constexpr char kRepeaterNeeded[] = "only a repeater joins the upstream router: m switches mode";

std::string lower(std::string_view text) {
  std::string out(text);
  for (char &c : out) c = char(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::string phone_command(unsigned phone, const char *verb) {
  return "radio-phone " + std::to_string(phone) + " " + verb;
}

std::string first_line(std::string_view text) {
  return std::string(text.substr(0, text.find('\n')));
}

}  // namespace

std::string phone_state_text(std::string_view wpa_state) {
  if (wpa_state == "COMPLETED") return "joined";
  if (wpa_state == "SCANNING") return "scanning";
  if (wpa_state == "INACTIVE" || wpa_state == "DISCONNECTED") return "idle";
  for (std::string_view joining :
       {"AUTHENTICATING", "ASSOCIATING", "ASSOCIATED", "4WAY_HANDSHAKE", "GROUP_HANDSHAKE"}) {
    if (wpa_state == joining) return "joining";
  }
  return wpa_state.empty() ? "no answer" : lower(wpa_state);
}

std::string RadioPeers::act(const std::string &what, const std::string &command) {
  const board::Reply reply = run_(command);
  if (!reply.answered) return what + ": the board does not answer";
  if (reply.status == 0) return {};
  const std::string line = first_line(reply.output);
  return what + ": " + (line.empty() ? "status " + std::to_string(reply.status) : line);
}

std::string RadioPeers::press_phone(unsigned phone) {
  if (phone < 1 || phone > kPhones) return "there are phones 1 and 2 only";
  Peer &peer = phones_[phone - 1];
  const std::string what = "phone " + std::to_string(phone);
  if (!peer.running) {
    if (std::string error = act(what, phone_command(phone, "start")); !error.empty()) return error;
    peer.running = true;
    next_poll_ms_ = 0;
  }
  return act(what, phone_command(phone, "pbc"));
}

std::string RadioPeers::press_upstream(Mode mode) {
  if (mode != Mode::repeater) return kRepeaterNeeded;
  if (!upstream_.running) {
    const std::string start =
        std::string("radio-upstream start '") + kUpstreamSsid + "' " + kUpstreamPassphrase;
    if (std::string error = act("upstream router", start); !error.empty()) return error;
    upstream_.running = true;
    next_poll_ms_ = 0;
  }
  return act("upstream router", "radio-upstream pbc");
}

std::string RadioPeers::start_repeater_session(Mode mode) {
  if (mode != Mode::repeater) return kRepeaterNeeded;
  // In the background: the session polls for up to two minutes, then
  // reboots the board on success.
  return act("repeater session", "board-probe repeater-session </dev/null >/dev/console 2>&1 &");
}

void RadioPeers::poll(uint64_t now_ms) {
  if (now_ms < next_poll_ms_) return;
  next_poll_ms_ = now_ms + kPollMs;
  std::string command;
  for (unsigned phone = 1; phone <= kPhones; ++phone) {
    if (!phones_[phone - 1].running) continue;
    command +=
        "echo \"phone" + std::to_string(phone) + "=$(" + phone_command(phone, "state") + ")\"; ";
  }
  if (upstream_.running) {
    command += "echo \"upstream=$(radio-upstream status | sed -n 's/^PBC Status: //p')\"";
  }
  if (command.empty()) return;
  const board::Reply reply = run_(command);
  if (!reply.answered) return;
  std::string_view output = reply.output;
  while (!output.empty()) {
    const std::string line = first_line(output);
    output.remove_prefix(std::min(line.size() + 1, output.size()));
    const size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    const std::string name = line.substr(0, equals), value = line.substr(equals + 1);
    for (unsigned phone = 1; phone <= kPhones; ++phone) {
      if (name == "phone" + std::to_string(phone) && phones_[phone - 1].running) {
        take_state(phones_[phone - 1], "phone " + std::to_string(phone), phone_state_text(value));
      }
    }
    if (name == "upstream" && upstream_.running) {
      take_state(upstream_, "upstream router", value.empty() ? "no answer" : "PBC " + lower(value));
    }
  }
}

void RadioPeers::take_state(Peer &peer, const std::string &name, std::string state) {
  if (state == peer.state) return;
  peer.state = std::move(state);
  events_("radio: " + name + ": " + peer.state);
}

void RadioPeers::forget() {
  for (Peer &peer : phones_) peer = {};
  upstream_ = {};
}

std::string RadioPeers::summary() const {
  auto shown = [](const Peer &peer) {
    return !peer.running ? std::string("off") : peer.state.empty() ? "started" : peer.state;
  };
  std::string text;
  for (unsigned phone = 1; phone <= kPhones; ++phone) {
    text += "phone " + std::to_string(phone) + ": " + shown(phones_[phone - 1]) + "   ";
  }
  return text + "upstream router: " + shown(upstream_);
}

}  // namespace panel
