// Raw mode and screen handling with plain ANSI escapes. The saved terminal
// settings live in static storage so that the signal handlers can put them
// back with async-signal-safe calls only.
#include "sim/panel/terminal.h"

#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <initializer_list>

namespace panel {

namespace {

constexpr char kEnter[] = "\x1b[?1049h\x1b[?25l\x1b[2J";  // alternate screen, cursor hidden
constexpr char kLeave[] =
    "\x1b[0m\x1b[?25h\x1b[?1049l";  // attributes off, cursor shown, main screen

termios saved_settings;
volatile std::sig_atomic_t active = 0;

void write_all(const char *data, size_t size) {
  while (size > 0) {
    ssize_t n = ::write(STDOUT_FILENO, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    data += n;
    size -= size_t(n);
  }
}

}  // namespace

void Terminal::restore() {
  if (!active) return;
  active = 0;
  write_all(kLeave, sizeof kLeave - 1);
  tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved_settings);
}

void Terminal::on_fatal_signal(int sig) {
  restore();
  signal(sig, SIG_DFL);
  raise(sig);
}

Terminal::Terminal() {
  if (!isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO) ||
      tcgetattr(STDIN_FILENO, &saved_settings) != 0) {
    return;
  }
  termios raw = saved_settings;
  raw.c_lflag &= ~(ICANON | ECHO | ISIG | IEXTEN);
  raw.c_iflag &= ~(IXON | ICRNL);
  raw.c_cc[VMIN] = 0;
  raw.c_cc[VTIME] = 0;
  if (tcsetattr(STDIN_FILENO, TCSAFLUSH, &raw) != 0) return;
  active = 1;
  ok_ = true;
  std::atexit(restore);
  struct sigaction fatal {};
  fatal.sa_handler = on_fatal_signal;
  sigemptyset(&fatal.sa_mask);
  for (int sig : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) sigaction(sig, &fatal, nullptr);
  write_all(kEnter, sizeof kEnter - 1);
}

Terminal::~Terminal() { restore(); }

long Terminal::read_keys(char *buffer, size_t size, int timeout_ms) {
  pollfd pfd{STDIN_FILENO, POLLIN, 0};
  if (poll(&pfd, 1, timeout_ms) <= 0) return 0;
  ssize_t n = read(STDIN_FILENO, buffer, size);
  if (n < 0 && (errno == EINTR || errno == EAGAIN)) return 0;
  return n > 0 ? long(n) : -1;
}

void Terminal::write(std::string_view text) { write_all(text.data(), text.size()); }

void Terminal::size(unsigned &columns, unsigned &rows) const {
  winsize ws{};
  if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &ws) == 0 && ws.ws_col > 0 && ws.ws_row > 0) {
    columns = ws.ws_col;
    rows = ws.ws_row;
  } else {
    columns = 80;
    rows = 24;
  }
}

}  // namespace panel
