// The booted virtual board shared by the board scenario tests: one boot
// for the whole program, commands run through the control channel, the
// console as qemu wrote it on the host.
#pragma once

#include <chrono>
#include <string>

#include "sim/board/host/board_vm.h"
#include "tests/support/log_text.h"

namespace board_test {

using namespace std::chrono_literals;

board::Vm &vm();
// Runs COMMAND on the board; a command that is not answered or fails is a
// test failure. Returns its output.
std::string sh(const std::string &command, std::chrono::seconds timeout = 60s);
// The exit status of COMMAND on the board (-1: no answer).
int status(const std::string &command, std::chrono::seconds timeout = 60s);
// Runs COMMAND (a shell test) until it succeeds; false after TIMEOUT.
bool wait_until(const std::string &command, std::chrono::seconds timeout);
// Reboots the board with COMMAND (or waits for a reboot it causes) and waits
// until it answers again; false when it does not come back.
bool reboot_by(const std::string &command, std::chrono::seconds timeout);
// Cuts the board's power (qemu killed at once) and switches it on again on
// the same flash; waits until init has started both daemons.
bool power_cut_and_back(std::chrono::seconds timeout);
// The console since boot of the board's first run (since the last
// power cut, once there was one).
std::string console();
// Occurrences of a text in a log or the console (tests/support/log_text.h).
using testbed::count;

}  // namespace board_test
