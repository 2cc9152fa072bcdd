// The quit flag and its handlers; installed without SA_RESTART so that a
// pending poll or wait returns at once.
#include "sim/panel/quit_signals.h"

#include <csignal>
#include <initializer_list>

namespace panel {

namespace {

volatile std::sig_atomic_t quit_signal = 0;

void on_quit_signal(int sig) { quit_signal = sig; }

}  // namespace

void install_quit_handlers() {
  struct sigaction quit {};
  quit.sa_handler = on_quit_signal;
  sigemptyset(&quit.sa_mask);
  for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) sigaction(sig, &quit, nullptr);
}

bool quit_requested() { return quit_signal != 0; }

}  // namespace panel
