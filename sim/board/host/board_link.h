// The host end of the virtual board's control channel: a UNIX socket that
// qemu connects to the board's second serial port, where board-agent runs
// one shell command per line and frames its output with the command's id.
#pragma once

#include <chrono>
#include <string>

namespace board {

struct Reply {
  bool answered = false;  // false: no "@@end" before the time-out or the link broke
  int status = -1;        // the command's exit status
  std::string output;     // its standard output and error
};

class Link {
 public:
  Link() = default;
  ~Link();
  Link(const Link &) = delete;
  Link &operator=(const Link &) = delete;

  // Connects to the socket, retrying until it exists or the time runs out.
  bool connect(const std::string &socket_path, std::chrono::milliseconds timeout);
  // Waits until the agent answers (after a boot or reboot).
  bool wait_ready(std::chrono::milliseconds timeout);
  // Runs COMMAND (one line) on the board.
  Reply run(const std::string &command,
            std::chrono::milliseconds timeout = std::chrono::seconds(30));
  void close();
  // The far end went away (qemu ended, for instance at a reboot of the board).
  bool broken() const { return fd_ < 0 || broken_; }

 private:
  bool send_line(const std::string &line);
  // Reads more bytes into buffer_ until DEADLINE; false on time-out or EOF.
  bool read_more(std::chrono::steady_clock::time_point deadline);

  int fd_ = -1;
  bool broken_ = false;
  unsigned next_id_ = 1;
  std::string buffer_;
};

}  // namespace board
