// Starting and stopping qemu through boot.sh: the child runs boot.sh in a
// process group of its own, which starts a qemu per boot; power-off is a
// SIGTERM to the group (qemu quits at once) and a wait.
#include "sim/board/host/board_vm.h"

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>

namespace board {
namespace {

using namespace std::chrono_literals;

// Reads the file (at most 64 KiB), for error messages.
std::string file_text(const std::string &path) {
  std::string text;
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return text;
  char chunk[4096];
  ssize_t n;
  while (text.size() < 65536 && (n = read(fd, chunk, sizeof(chunk))) > 0) {
    text.append(chunk, static_cast<size_t>(n));
  }
  close(fd);
  return text;
}

}  // namespace

Vm::~Vm() { power_off(); }

bool Vm::boot(const VmOptions &options, std::chrono::milliseconds timeout) {
  power_off();
  char dir_template[] = "/tmp/routerd-board.XXXXXX";
  if (!mkdtemp(dir_template)) {
    error_ = "no temporary directory";
    return false;
  }
  dir_ = dir_template;
  console_ = dir_ + "/console.log";
  socket_ = dir_ + "/control.sock";
  options_ = options;
  return start(timeout);
}

bool Vm::cut_power(std::chrono::milliseconds timeout) {
  link_.close();
  if (pid_ > 0) {
    kill(-pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }
  unlink(socket_.c_str());
  return start(timeout);
}

bool Vm::start(std::chrono::milliseconds timeout) {
  const VmOptions &options = options_;
  const std::string output = dir_ + "/boot.out";
  // A run of its own starts from erased flash; boot.sh makes it.
  const std::string flash =
      options.fresh_flash ? dir_ + "/flash.img" : options.board_dir + "/flash.img";
  const std::string script = options.source_dir + "/sim/board/boot.sh";
  pid_ = fork();
  if (pid_ == 0) {
    int out = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    int in = open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (out < 0 || in < 0 || dup2(in, 0) < 0 || dup2(out, 1) < 0 || dup2(out, 2) < 0) _exit(127);
    // Its own process group: a terminal's Ctrl-C goes to the panel, which
    // powers the board off itself.
    setpgid(0, 0);
    // qemu (boot.sh execs it) ends with whoever started it, even a killed test.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    const char *argv[] = {script.c_str(),
                          "--board-dir",
                          options.board_dir.c_str(),
                          "--mipsel-build",
                          options.mipsel_build.c_str(),
                          "--console",
                          console_.c_str(),
                          "--control",
                          socket_.c_str(),
                          "--flash",
                          flash.c_str(),
                          options.make_rootfs ? nullptr : "--no-rootfs",
                          nullptr};
    execv(script.c_str(), const_cast<char **>(argv));
    _exit(127);
  }
  if (pid_ < 0) {
    error_ = "fork failed";
    return false;
  }
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  auto left = [&] {
    return std::chrono::duration_cast<std::chrono::milliseconds>(deadline -
                                                                 std::chrono::steady_clock::now());
  };
  // boot.sh assembles the image first; the socket appears when qemu starts.
  bool connected = false;
  while (!connected && left() > 0ms) {
    if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
      pid_ = -1;
      error_ = "boot.sh ended: " + file_text(output);
      return false;
    }
    connected = link_.connect(socket_, 500ms);
  }
  if (!connected || !link_.wait_ready(left())) {
    error_ = "the board did not answer; console:\n" + file_text(console_) + file_text(output);
    return false;
  }
  return true;
}

bool Vm::relink(std::chrono::milliseconds timeout) {
  return link_.connect(socket_, timeout) && link_.wait_ready(timeout);
}

std::string Vm::boot_id() {
  if (link_.broken() && !relink(2s)) return std::string();
  Reply reply = link_.run("cat /proc/sys/kernel/random/boot_id", 10s);
  return reply.answered ? reply.output : std::string();
}

bool Vm::wait_rebooted(const std::string &boot_id_before, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < deadline) {
    std::string now = boot_id();
    if (!now.empty() && now != boot_id_before) return true;
    std::this_thread::sleep_for(500ms);
  }
  return false;
}

void Vm::power_off() {
  link_.close();
  if (pid_ > 0) {
    // The whole group: qemu, or boot.sh and what it runs before qemu.
    kill(-pid_, SIGTERM);
    int status = 0;
    for (int i = 0; i < 50 && waitpid(pid_, &status, WNOHANG) == 0; ++i) {
      std::this_thread::sleep_for(100ms);
    }
    if (waitpid(pid_, &status, WNOHANG) == 0) {
      kill(-pid_, SIGKILL);
      waitpid(pid_, &status, 0);
    }
    pid_ = -1;
  }
  if (!dir_.empty()) {
    for (const char *name : {"/console.log", "/control.sock", "/boot.out", "/flash.img"}) {
      unlink((dir_ + name).c_str());
    }
    rmdir(dir_.c_str());
    dir_.clear();
  }
}

}  // namespace board
