// Writes the wireless answer files through a temporary file renamed over
// the old one, and clears them all for a fresh board.
#include "sim/fakehwctl/answer_files.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "sim/fakehw/hw_state.h"
#include "sim/fakehw/text_parse.h"

namespace fakehwctl {

using fakehw::kWifiDir;
using fakehw::valid_ifname;

namespace {

namespace fs = std::filesystem;

fs::path interface_dir(const std::string &ifname) { return fs::path(kWifiDir) / ifname; }

Result check_ifname(const std::string &ifname) {
  if (valid_ifname(ifname)) return Result::ok();
  return Result::fail("\"" + ifname + "\" is not an interface name");
}

Result failed(const fs::path &path, const std::error_code &error) {
  return Result::fail(path.string() + ": " + error.message());
}

}  // namespace

Result write_answer(const std::string &ifname, const char *file, std::string_view content) {
  if (Result valid = check_ifname(ifname); !valid) return valid;
  std::error_code error;
  fs::create_directories(interface_dir(ifname), error);
  if (error) return failed(interface_dir(ifname), error);
  fs::path path = interface_dir(ifname) / file;
  fs::path temporary = path;
  temporary += ".new" + std::to_string(getpid());
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    if (!out.flush()) return Result::fail(temporary.string() + ": " + strerror(errno));
  }
  fs::rename(temporary, path, error);
  if (!error) return Result::ok();
  fs::remove(temporary);
  return failed(path, error);
}

Result remove_answer(const std::string &ifname, const char *file) {
  if (Result valid = check_ifname(ifname); !valid) return valid;
  std::error_code error;
  fs::remove(interface_dir(ifname) / file, error);
  return error ? failed(interface_dir(ifname) / file, error) : Result::ok();
}

Result remove_wifi_answers() {
  std::error_code error;
  for (const fs::directory_entry &entry : fs::directory_iterator(kWifiDir, error)) {
    fs::remove_all(entry.path(), error);
    if (error) return failed(entry.path(), error);
  }
  return error ? failed(kWifiDir, error) : Result::ok();
}

std::vector<std::string> wifi_interfaces() {
  std::vector<std::string> names;
  std::error_code error;
  for (const fs::directory_entry &entry : fs::directory_iterator(kWifiDir, error)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string read_answer(const std::string &ifname, const char *file) {
  std::ifstream in(interface_dir(ifname) / file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace fakehwctl
