// One run of the virtual board: boot.sh in a private temporary directory
// (control socket, console log), the control link to it across reboots,
// and power-off that leaves no process or file behind.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>

#include "sim/board/host/board_link.h"

namespace board {

struct VmOptions {
  std::string source_dir;    // the checkout (sim/board/boot.sh is run from it)
  std::string board_dir;     // build/board: packages, flash image, root filesystem
  std::string mipsel_build;  // the board build (build/mipsel-uclibc), installed into the image
  bool make_rootfs = true;   // assemble the root filesystem before booting
  bool fresh_flash = false;  // erased flash for this run instead of BOARD_DIR/flash.img
};

class Vm {
 public:
  Vm() = default;
  ~Vm();
  Vm(const Vm &) = delete;
  Vm &operator=(const Vm &) = delete;

  // Boots and waits until the board's agent answers; false (with the
  // reason in error()) when boot.sh fails or the board stays silent.
  bool boot(const VmOptions &options, std::chrono::milliseconds timeout);
  // Stops qemu and removes the temporary directory.
  void power_off();
  // A power cut and the power back: qemu killed at once (nothing more
  // reaches the flash), then a boot on the same flash; false as boot().
  bool cut_power(std::chrono::milliseconds timeout);
  // Waits for the board to have rebooted: its boot id differs from BEFORE.
  bool wait_rebooted(const std::string &boot_id_before, std::chrono::milliseconds timeout);
  std::string boot_id();
  // Connects again when qemu was restarted (each boot is a new qemu) and
  // waits until the agent answers.
  bool relink(std::chrono::milliseconds timeout);

  Link &link() { return link_; }
  const std::string &console_path() const { return console_; }
  const std::string &error() const { return error_; }
  bool running() const { return pid_ > 0; }

 private:
  // Starts boot.sh on the run's directory and waits until the agent answers.
  bool start(std::chrono::milliseconds timeout);

  pid_t pid_ = -1;
  VmOptions options_;
  std::string dir_, console_, socket_, error_;
  Link link_;
};

}  // namespace board
