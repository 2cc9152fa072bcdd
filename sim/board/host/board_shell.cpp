// board-shell: runs one command on a running virtual board through its
// control socket and passes on the output and exit status, for scripts
// (the benchmark) and for a developer at the host's shell.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "sim/board/host/board_link.h"

int main(int argc, char **argv) {
  if (argc < 3) {
    fprintf(stderr, "usage: board-shell SOCKET COMMAND...   (waits up to 180 s for the board)\n");
    return 2;
  }
  std::string command;
  for (int i = 2; i < argc; ++i) command += (i > 2 ? " " : "") + std::string(argv[i]);
  board::Link link;
  using namespace std::chrono_literals;
  if (!link.connect(argv[1], 10s) || !link.wait_ready(180s)) {
    fprintf(stderr, "board-shell: no board answers on %s\n", argv[1]);
    return 125;
  }
  const char *timeout = getenv("BOARD_SHELL_TIMEOUT");
  board::Reply reply = link.run(command, std::chrono::seconds(timeout ? atoi(timeout) : 120));
  if (!reply.answered) {
    fprintf(stderr, "board-shell: no reply\n");
    return 124;
  }
  fwrite(reply.output.data(), 1, reply.output.size(), stdout);
  return reply.status;
}
