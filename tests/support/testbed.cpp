// The board's files and logs as a test reads them, the programs under test,
// and waiting in real time for something to show.
#include "tests/support/testbed.h"

#include <poll.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#ifndef ROUTERD_BUTTOND
#error "the build defines the paths of the programs under test"
#endif

namespace testbed {
namespace {

// Sleeps in real time: poll is not among the calls the fake drivers scale.
void real_pause_ms(int ms) { poll(nullptr, 0, ms); }

constexpr int kPollMs = 5;

}  // namespace

std::string program(std::string_view name) {
  if (name == "buttond") return ROUTERD_BUTTOND;
  if (name == "uplinkd") return ROUTERD_UPLINKD;
  if (name == "nvram") return ROUTERD_NVRAM;
  fprintf(stderr, "testbed::program: no program \"%.*s\"\n", static_cast<int>(name.size()),
          name.data());
  abort();
}

std::string read_file(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool file_exists(const std::string &path) {
  std::error_code error;
  return std::filesystem::exists(path, error);
}

void write_file(const std::string &path, std::string_view content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
  if (!out.flush()) {
    fprintf(stderr, "testbed::write_file: cannot write %s\n", path.c_str());
    abort();
  }
}

void remove_file(const std::string &path) {
  std::error_code error;
  std::filesystem::remove(path, error);
}

std::vector<std::string> read_lines(const std::string &path) {
  std::vector<std::string> lines;
  std::istringstream in(read_file(path));
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

void damage_store_set(int set) {
  static const char *const kSetFiles[] = {"2860", "rtdev", "wifi3"};
  write_file(std::string(NVRAM_DIR) + "/" + kSetFiles[set], "not a set of the store\n");
}

unsigned open_descriptors() {
  std::error_code error;
  auto entries = std::filesystem::directory_iterator("/proc/self/fd", error);
  return error ? 0 : static_cast<unsigned>(std::distance(begin(entries), end(entries)));
}

bool wait_for(const std::function<bool()> &cond, int timeout_ms) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  for (;;) {
    if (cond()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return cond();
    real_pause_ms(kPollMs);
  }
}

bool wait_for_text(const std::string &path, std::string_view text, int timeout_ms) {
  return wait_for([&] { return read_file(path).find(text) != std::string::npos; }, timeout_ms);
}

bool wait_for_lines(const std::string &path, size_t count, int timeout_ms) {
  return wait_for([&] { return read_lines(path).size() >= count; }, timeout_ms);
}

std::string console() { return read_file(kConsoleLog); }

std::vector<std::string> commands() { return read_lines(kCommandsLog); }

std::vector<std::string> requests(std::string_view prefix) {
  std::vector<std::string> matching;
  for (std::string &line : read_lines(kRequestsLog)) {
    if (line.starts_with(prefix)) matching.push_back(std::move(line));
  }
  return matching;
}

void clear_logs() {
  for (const char *log : {kConsoleLog, kCommandsLog, kRequestsLog, kMonitorHups}) {
    std::ofstream truncate(log, std::ios::trunc);
  }
}

}  // namespace testbed
