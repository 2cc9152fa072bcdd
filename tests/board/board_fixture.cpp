// Boots the board once before the tests and powers it off after them.
#include "tests/board/board_fixture.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <thread>

// A program whose board image is made before it runs (sim/radio/prepare.sh)
// boots that image as it is.
#ifndef BOARD_MAKE_ROOTFS
#define BOARD_MAKE_ROOTFS true
#endif

namespace board_test {
namespace {

board::Vm *the_vm = nullptr;

}  // namespace

board::Vm &vm() { return *the_vm; }

std::string sh(const std::string &command, std::chrono::seconds timeout) {
  board::Reply reply = vm().link().run(command, timeout);
  EXPECT_TRUE(reply.answered) << "no answer to: " << command;
  EXPECT_EQ(reply.status, 0) << command << "\n" << reply.output;
  return reply.output;
}

int status(const std::string &command, std::chrono::seconds timeout) {
  board::Reply reply = vm().link().run(command, timeout);
  return reply.answered ? reply.status : -1;
}

bool wait_until(const std::string &command, std::chrono::seconds timeout) {
  // The loop runs on the board: one round trip however long it takes.
  const long tenths = static_cast<long>(timeout.count()) * 10;
  const std::string loop = "i=0; until { " + command + "; }; do [ $i -ge " +
                           std::to_string(tenths) +
                           " ] && exit 1; usleep 100000; i=$((i + 1)); done";
  // A slow board takes longer than its own count of pauses: the host waits longer.
  return status(loop, 2 * timeout + 30s) == 0;
}

bool reboot_by(const std::string &command, std::chrono::seconds timeout) {
  const std::string before = vm().boot_id();
  if (before.empty()) return false;
  if (!command.empty()) vm().link().run(command, 2s);
  return vm().wait_rebooted(before, timeout) &&
         wait_until("[ -s /var/run/buttond.pid ] && [ -s /var/run/uplinkd.pid ]", 120s);
}

bool power_cut_and_back(std::chrono::seconds timeout) {
  return vm().cut_power(timeout) &&
         wait_until("[ -s /var/run/buttond.pid ] && [ -s /var/run/uplinkd.pid ]", 120s);
}

std::string console() {
  std::string text;
  int fd = open(vm().console_path().c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return text;
  char chunk[65536];
  ssize_t n;
  while ((n = read(fd, chunk, sizeof(chunk))) > 0) text.append(chunk, static_cast<size_t>(n));
  close(fd);
  return text;
}

}  // namespace board_test

int main(int argc, char **argv) {
  using namespace std::chrono_literals;
  testing::InitGoogleTest(&argc, argv);
  board::Vm vm;
  board_test::the_vm = &vm;
  // Erased flash: the scenarios start from the factory store whatever an
  // earlier run left.
  board::VmOptions options{ROUTERD_SOURCE_DIR, BOARD_DIR, BOARD_MIPSEL_BUILD, BOARD_MAKE_ROOTFS,
                           true};
  if (!vm.boot(options, std::chrono::minutes(5))) {
    fprintf(stderr, "the board did not boot: %s\n", vm.error().c_str());
    return 1;
  }
  // Every scenario starts once init has started both daemons.
  if (!board_test::wait_until("[ -s /var/run/buttond.pid ] && [ -s /var/run/uplinkd.pid ]", 60s)) {
    fprintf(stderr, "init did not start the daemons:\n%s\n", board_test::console().c_str());
    return 1;
  }
  int result = RUN_ALL_TESTS();
  vm.power_off();
  return result;
}
