// Control channel client: sends "ID COMMAND" lines, waits for the reply
// framed by "@@begin ID" and "@@end ID STATUS", and drops anything else
// (console noise, replies to commands given up on).
#include "sim/board/host/board_link.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace board {
namespace {

using Clock = std::chrono::steady_clock;

constexpr size_t kMaxBuffer = 4 << 20;  // a reply larger than this is cut

int connect_unix(const std::string &path) {
  sockaddr_un address{};
  if (path.size() >= sizeof(address.sun_path)) return -1;
  address.sun_family = AF_UNIX;
  memcpy(address.sun_path, path.c_str(), path.size() + 1);
  int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  if (::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

Link::~Link() { close(); }

void Link::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  broken_ = false;
  buffer_.clear();
}

bool Link::connect(const std::string &socket_path, std::chrono::milliseconds timeout) {
  close();
  const auto deadline = Clock::now() + timeout;
  while ((fd_ = connect_unix(socket_path)) < 0) {
    if (Clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return true;
}

bool Link::send_line(const std::string &line) {
  size_t sent = 0;
  while (sent < line.size()) {
    ssize_t n = ::send(fd_, line.data() + sent, line.size() - sent, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return !(broken_ = true);
    sent += static_cast<size_t>(n);
  }
  return true;
}

bool Link::read_more(Clock::time_point deadline) {
  for (;;) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return false;
    pollfd poller{fd_, POLLIN, 0};
    int ready = ::poll(&poller, 1, static_cast<int>(left.count()));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return false;
    char chunk[4096];
    ssize_t n = ::read(fd_, chunk, sizeof(chunk));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return !(broken_ = true);
    if (buffer_.size() < kMaxBuffer) buffer_.append(chunk, static_cast<size_t>(n));
    return true;
  }
}

Reply Link::run(const std::string &command, std::chrono::milliseconds timeout) {
  Reply reply;
  if (fd_ < 0 || command.find('\n') != std::string::npos) return reply;
  // Ids differ between processes too: the agent may still answer a line a
  // client sent before it went away.
  const std::string id = std::to_string(getpid()) + "." + std::to_string(next_id_++);
  if (!send_line(id + " " + command + "\n")) return reply;
  const std::string begin = "@@begin " + id + "\n", end = "@@end " + id + " ";
  const auto deadline = Clock::now() + timeout;
  for (;;) {
    size_t begin_at = buffer_.find(begin);
    size_t end_at = begin_at == std::string::npos ? std::string::npos : buffer_.find(end, begin_at);
    size_t line_end = end_at == std::string::npos ? std::string::npos : buffer_.find('\n', end_at);
    if (line_end != std::string::npos) {
      reply.output = buffer_.substr(begin_at + begin.size(), end_at - begin_at - begin.size());
      reply.status = atoi(buffer_.c_str() + end_at + end.size());
      reply.answered = true;
      buffer_.erase(0, line_end + 1);
      return reply;
    }
    if (!read_more(deadline)) return reply;
  }
}

bool Link::wait_ready(std::chrono::milliseconds timeout) {
  // Lines sent before the agent listens are lost or echoed: ask again
  // every second until one is answered.
  const auto deadline = Clock::now() + timeout;
  while (Clock::now() < deadline) {
    if (run("true", std::chrono::seconds(1)).answered) return true;
  }
  return false;
}

}  // namespace board
