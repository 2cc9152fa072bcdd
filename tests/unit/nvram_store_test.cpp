// The configuration store and its `nvram` tool: interning, visibility between
// processes, concurrent and interrupted commits (of one set and of several),
// unchanged sets left unwritten, damaged files, write failures, and the
// tool's commands and refusals.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <new>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "nvram.h"
#include "tests/support/testbed.h"

// Live heap blocks of this process, to see that polling the store allocates
// nothing it keeps. Every form of operator new and delete goes through the
// two counting functions (one form calling another would, once inlined,
// look to GCC like a mismatched pair).
static std::atomic<long> live_blocks{0};
static void *counted_allocation(std::size_t size) {
  void *block = std::malloc(size ? size : 1);
  if (!block) throw std::bad_alloc();
  ++live_blocks;
  return block;
}
static void counted_release(void *block) noexcept {
  if (block) --live_blocks;
  std::free(block);
}
void *operator new(std::size_t size) { return counted_allocation(size); }
void *operator new[](std::size_t size) { return counted_allocation(size); }
void operator delete(void *block) noexcept { counted_release(block); }
void operator delete[](void *block) noexcept { counted_release(block); }
void operator delete(void *block, std::size_t) noexcept { counted_release(block); }
void operator delete[](void *block, std::size_t) noexcept { counted_release(block); }

namespace {

namespace fs = std::filesystem;

std::string read_file(const fs::path &path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void write_file(const fs::path &path, const std::string &bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

bool contains(const std::string &text, const std::string &part) {
  return text.find(part) != std::string::npos;
}

const std::string kStore = NVRAM_DIR;
const std::string kFile0 = kStore + "/2860";

// What the test harness does to reset the board.
void clean_store() {
  for (const auto &entry : fs::directory_iterator(kStore)) fs::remove_all(entry.path());
}

// Puts bytes in place of the committed file as a new file, as a commit would.
void install(const std::string &path, const std::string &bytes) {
  write_file(path + ".new", bytes);
  fs::rename(path + ".new", path);
}

struct ToolRun {
  int status;
  std::string out, err;
};

ToolRun nvram_tool(const std::vector<std::string> &args) {
  const std::string out = "/tmp/nvram-test.out", err = "/tmp/nvram-test.err";
  const std::string tool = testbed::program("nvram");
  pid_t pid = fork();
  if (pid == 0) {
    std::vector<char *> argv{const_cast<char *>(tool.c_str())};
    for (const std::string &arg : args) argv.push_back(const_cast<char *>(arg.c_str()));
    argv.push_back(nullptr);
    dup2(open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
    dup2(open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
    execv(tool.c_str(), argv.data());
    _exit(127);
  }
  int status = -1;
  waitpid(pid, &status, 0);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : 128, read_file(out), read_file(err)};
}

// Runs body in a child process; its exit status (0 when body returned true).
pid_t start_child(const std::function<bool()> &body) {
  pid_t pid = fork();
  if (pid == 0) _exit(body() ? 0 : 1);
  return pid;
}

int wait_child(pid_t pid) {
  int status = -1;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

class NvramTest : public testing::Test {
 protected:
  void SetUp() override {
    clean_store();
    // Committing drops this process's changes left by an earlier test.
    for (int index = 0; index < 3; ++index) ASSERT_EQ(nvram_commit(index), 0);
    clean_store();
  }
};

TEST_F(NvramTest, FreshStoreHasTheDefaultsAndBadCallsChangeNothing) {
  EXPECT_STREQ(nvram_bufget(0, "OperationMode"), "1");
  EXPECT_STREQ(nvram_bufget(0, "SSID1"), "Router-2.4G");
  EXPECT_STREQ(nvram_bufget(1, "SSID1"), "Router-5G");
  EXPECT_STREQ(nvram_bufget(2, "ApCliEnable"), "0");
  EXPECT_STREQ(nvram_bufget(2, "SSID1"), "");

  for (const char *key : {"", "a=b", "a\nb", static_cast<const char *>(nullptr)}) {
    EXPECT_EQ(nvram_bufset(0, key, "v"), -1);
    EXPECT_EQ(nvram_set(0, key, "v"), -1);
    EXPECT_STREQ(nvram_bufget(0, key), "");
  }
  EXPECT_EQ(nvram_bufset(0, "Key", nullptr), -1);
  for (int index : {-1, 3}) {
    EXPECT_EQ(nvram_bufset(index, "Key", "v"), -1);
    EXPECT_STREQ(nvram_bufget(index, "SSID1"), "");
    EXPECT_EQ(nvram_commit(index), -1);
    EXPECT_EQ(nvram_init(index), -1);
    nvram_close(index);
  }
  EXPECT_EQ(nvram_init(0), 0);
  EXPECT_STREQ(nvram_bufget(0, "a"), "");
  EXPECT_STREQ(nvram_bufget(0, "Key"), "");
  EXPECT_FALSE(fs::exists(kFile0));
}

TEST_F(NvramTest, SameValueGivesTheSamePointerForTheLifeOfTheProcess) {
  const char *ssid = nvram_bufget(0, "SSID1");
  EXPECT_EQ(nvram_bufget(0, "HideSSID"), nvram_bufget(1, "WiFiOff"));  // both "0"
  ASSERT_EQ(nvram_bufset(0, "SSID1", "Elsewhere"), 0);
  EXPECT_STREQ(nvram_bufget(0, "SSID1"), "Elsewhere");
  EXPECT_STREQ(ssid, "Router-2.4G");
  ASSERT_EQ(nvram_set(0, "SSID1", "Router-2.4G"), 0);
  EXPECT_EQ(nvram_bufget(0, "SSID1"), ssid);
}

TEST_F(NvramTest, PollingKeepsMemoryFlatWhileOthersCommit) {
  const std::string long_a(40, 'a'), long_b(40, 'b');
  int failures = 0;
  auto cycle = [&](int i) {
    failures += nvram_bufset(0, "Poll", i % 2 ? long_a.c_str() : long_b.c_str()) != 0;
    failures += nvram_bufget(0, "Poll")[0] != (i % 2 ? 'a' : 'b');
    failures += nvram_bufget(0, "OperationMode")[0] != (i / 1000 % 2 ? '2' : '1');
    if (i % 1000 == 999) {  // another process commits a change this one reloads
      const char *mode = i / 1000 % 2 ? "1" : "2";
      failures += wait_child(start_child([&] { return nvram_set(0, "OperationMode", mode) == 0; }));
    }
  };
  for (int i = 0; i < 2000; ++i) cycle(i);
  const long before = live_blocks;
  for (int i = 2000; i < 102000; ++i) cycle(i);
  EXPECT_EQ(live_blocks, before);
  EXPECT_EQ(failures, 0);
}

TEST_F(NvramTest, CommittedValuesReachOtherProcessesAndOwnChangesWin) {
  ASSERT_EQ(nvram_bufset(0, "SSID1", "mine"), 0);
  EXPECT_STREQ(nvram_bufget(0, "SSID1"), "mine");
  EXPECT_EQ(nvram_tool({"get", "0", "SSID1"}).out, "Router-2.4G\n");

  ASSERT_EQ(nvram_tool({"set", "0", "SSID1", "theirs"}).status, 0);
  ASSERT_EQ(nvram_tool({"set", "2860", "OperationMode", "3"}).status, 0);
  EXPECT_STREQ(nvram_bufget(0, "OperationMode"), "3");
  EXPECT_STREQ(nvram_bufget(0, "SSID1"), "mine");

  ASSERT_EQ(nvram_commit(0), 0);
  EXPECT_EQ(nvram_tool({"get", "0", "SSID1"}).out, "mine\n");
  EXPECT_EQ(nvram_tool({"get", "0", "OperationMode"}).out, "3\n");
  ASSERT_EQ(nvram_tool({"unset", "0", "OperationMode"}).status, 0);
  EXPECT_STREQ(nvram_bufget(0, "OperationMode"), "");

  clean_store();
  EXPECT_STREQ(nvram_bufget(0, "OperationMode"), "1");
  EXPECT_STREQ(nvram_bufget(0, "SSID1"), "Router-2.4G");
}

TEST_F(NvramTest, AnyTextRoundTripsThroughTheFile) {
  const std::vector<std::pair<std::string, std::string>> entries = {
      {"Lines", "line one\nline two\n\n"},
      {"Equals", "a=b==c="},
      {"Slashes", "C:\\new\\\\n \\"},
      {"Unicode", "Wi-Fi ✓ Ünïcødé 漢字"},
      {"Empty", ""},
      {"Padded", "  two  words \t"},
      {"ключ \\ key", "value"},
      {"Long", std::string(20000, 'z')},
  };
  for (const auto &[key, value] : entries) {
    ASSERT_EQ(nvram_bufset(1, key.c_str(), value.c_str()), 0) << key;
  }
  ASSERT_EQ(nvram_commit(1), 0);
  for (const auto &[key, value] : entries) {
    EXPECT_EQ(nvram_tool({"get", "1", key}).out, value + "\n") << key;
  }
}

TEST_F(NvramTest, TwoProcessesCommittingDifferentKeysLoseNothing) {
  constexpr int kRounds = 150;
  auto writer = [](char name) {
    return [name] {
      for (int round = 0; round < kRounds; ++round) {
        std::string key = name + std::to_string(round);
        if (nvram_bufset(0, key.c_str(), std::to_string(round).c_str()) != 0) return false;
        if (nvram_commit(0) != 0) return false;
      }
      return true;
    };
  };
  pid_t a = start_child(writer('a')), b = start_child(writer('b'));
  EXPECT_EQ(wait_child(a), 0);
  EXPECT_EQ(wait_child(b), 0);
  for (int round = 0; round < kRounds; ++round) {
    for (char name : {'a', 'b'}) {
      std::string key = name + std::to_string(round);
      EXPECT_EQ(nvram_bufget(0, key.c_str()), std::to_string(round)) << key;
    }
  }
}

TEST_F(NvramTest, KilledCommitsLeaveOneWholeGeneration) {
  // Every generation g has Gen=Check=g and a padding whose length depends on g.
  auto padding = [](long g) { return std::string(static_cast<size_t>(g * 7919 % 6000), 'p'); };
  std::mt19937 random(12345);
  long generation = 0;
  for (int round = 0; round < 200; ++round) {
    int reports[2];
    ASSERT_EQ(pipe(reports), 0);
    pid_t child = start_child([&] {
      for (long g = generation + 1;; ++g) {
        std::string text = std::to_string(g);
        nvram_bufset(0, "Gen", text.c_str());
        nvram_bufset(0, "Pad", padding(g).c_str());
        nvram_bufset(0, "Check", text.c_str());
        if (nvram_commit(0) != 0 || write(reports[1], &g, sizeof g) != sizeof(long)) return false;
      }
    });
    close(reports[1]);
    long committed = 0;
    ASSERT_EQ(read(reports[0], &committed, sizeof committed), ssize_t{sizeof committed});
    usleep(std::uniform_int_distribution<useconds_t>(0, 2000)(random));
    kill(child, SIGKILL);
    ASSERT_EQ(wait_child(child), 128 + SIGKILL);
    for (long g; read(reports[0], &g, sizeof g) == ssize_t{sizeof g};) committed = g;
    close(reports[0]);

    testing::internal::CaptureStderr();
    generation = std::atol(nvram_bufget(0, "Gen"));
    EXPECT_STREQ(nvram_bufget(0, "Check"), nvram_bufget(0, "Gen"));
    EXPECT_EQ(nvram_bufget(0, "Pad"), padding(generation));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    ASSERT_TRUE(generation == committed || generation == committed + 1)
        << "round " << round << ": read " << generation << ", last commit " << committed;
  }
}

TEST_F(NvramTest, KilledCommitsOfSeveralSetsLeaveAllOrNone) {
  // A writer that changes two sets and commits them one after the other, as
  // a repeater session does; killed at any moment, the sets agree.
  std::mt19937 random(2024);
  for (int round = 0; round < 100; ++round) {
    int reports[2];
    ASSERT_EQ(pipe(reports), 0);
    pid_t child = start_child([&] {
      for (long g = 1;; ++g) {
        std::string text = std::to_string(round * 100000 + g);
        nvram_bufset(0, "Gen", text.c_str());
        nvram_bufset(1, "Gen", text.c_str());
        nvram_bufset(1, "Pad", std::string(static_cast<size_t>(g * 131 % 3000), 'p').c_str());
        bool committed = nvram_commit(0) == 0 && nvram_commit(1) == 0 && nvram_commit(2) == 0;
        if (!committed || write(reports[1], &g, sizeof g) != sizeof(long)) return false;
      }
    });
    close(reports[1]);
    long first = 0;
    ASSERT_EQ(read(reports[0], &first, sizeof first), ssize_t{sizeof first});
    close(reports[0]);
    usleep(std::uniform_int_distribution<useconds_t>(0, 3000)(random));
    kill(child, SIGKILL);
    ASSERT_EQ(wait_child(child), 128 + SIGKILL);
    ToolRun set0 = nvram_tool({"get", "0", "Gen"}), set1 = nvram_tool({"get", "1", "Gen"});
    ASSERT_EQ(set0.out, set1.out) << "round " << round;
    EXPECT_EQ(set0.err + set1.err, "");
  }
}

TEST_F(NvramTest, CommitCutAfterItsJournalIsFinishedByTheNext) {
  ASSERT_EQ(nvram_set(1, "Gen", "1"), 0);
  // Set 1's file cannot be replaced: the commit stops after set 0's file.
  fs::create_directory(kStore + "/rtdev.tmp");
  nvram_bufset(0, "Gen", "2");
  nvram_bufset(1, "Gen", "2");
  testing::internal::CaptureStderr();
  EXPECT_EQ(nvram_commit(0), -1);
  EXPECT_TRUE(contains(testing::internal::GetCapturedStderr(), "rtdev.tmp"));
  ASSERT_TRUE(fs::exists(kStore + "/journal"));
  EXPECT_TRUE(contains(read_file(kStore + "/rtdev"), "Gen=1\n"));
  // Other processes read the journal's generation for both sets.
  EXPECT_EQ(nvram_tool({"get", "1", "Gen"}).out, "2\n");
  EXPECT_EQ(nvram_tool({"get", "0", "Gen"}).out, "2\n");

  // A damaged journal is reported and the sets' own files are read.
  const std::string journal = read_file(kStore + "/journal");
  std::string damaged = journal;
  damaged[damaged.size() / 2] ^= 0x10;
  install(kStore + "/journal", damaged);
  ToolRun read1 = nvram_tool({"get", "1", "Gen"});
  EXPECT_EQ(read1.out, "1\n");
  EXPECT_TRUE(contains(read1.err, kStore + "/journal is damaged"));
  install(kStore + "/journal", journal);

  // The next commit of any set puts the journal's files in place first.
  fs::remove(kStore + "/rtdev.tmp");
  ASSERT_EQ(nvram_tool({"set", "2", "Other", "x"}).status, 0);
  EXPECT_FALSE(fs::exists(kStore + "/journal"));
  EXPECT_TRUE(contains(read_file(kStore + "/rtdev"), "Gen=2\n"));
  EXPECT_EQ(nvram_tool({"get", "1", "Gen"}).err, "");
}

TEST_F(NvramTest, CommitOfAnUnchangedSetWritesNothing) {
  auto identity = [](const std::string &path) {
    struct stat status = {};
    if (stat(path.c_str(), &status) != 0) return std::string("absent");
    return std::to_string(status.st_ino) + "/" + std::to_string(status.st_mtim.tv_nsec);
  };
  ASSERT_EQ(nvram_set(0, "SSID1", "Home"), 0);
  const std::string file = identity(kFile0), backup = identity(kFile0 + ".bak");
  ASSERT_EQ(nvram_commit(0), 0);
  ASSERT_EQ(nvram_set(0, "SSID1", "Home"), 0);
  ASSERT_EQ(nvram_tool({"commit", "0"}).status, 0);
  ASSERT_EQ(nvram_tool({"set", "0", "SSID1", "Home"}).status, 0);
  EXPECT_EQ(identity(kFile0), file);
  EXPECT_EQ(identity(kFile0 + ".bak"), backup);
  ASSERT_EQ(nvram_set(0, "SSID1", "Away"), 0);
  EXPECT_NE(identity(kFile0), file);
}

TEST_F(NvramTest, DamagedFileIsReportedAndTheLastGoodCopyUsed) {
  ASSERT_EQ(nvram_set(0, "Gen", "1"), 0);
  ASSERT_EQ(nvram_set(0, "Gen", "2"), 0);
  const std::string good = read_file(kFile0);
  std::vector<std::string> damaged = {"", good.substr(0, good.size() / 2), good + "X=1\n"};
  for (size_t i = 0; i < good.size(); ++i) {
    damaged.push_back(good);
    damaged.back()[i] ^= static_cast<char>(1 << i % 8);
  }
  std::mt19937 random(7);
  for (int i = 0; i < 100; ++i) {
    std::string noise(random() % 300, '\0');
    for (char &c : noise) c = static_cast<char>(random());
    damaged.push_back(i % 2 ? noise : "NVRAM1 " + noise);
  }
  for (size_t i = 0; i < damaged.size(); ++i) {
    install(kFile0, damaged[i]);
    testing::internal::CaptureStderr();
    EXPECT_STREQ(nvram_bufget(0, "Gen"), "1") << "damage " << i;
    EXPECT_TRUE(contains(testing::internal::GetCapturedStderr(), kFile0 + " is damaged")) << i;
  }

  write_file(kFile0 + ".bak", "junk");
  install(kFile0, good.substr(1));
  testing::internal::CaptureStderr();
  EXPECT_STREQ(nvram_bufget(0, "Gen"), "");
  EXPECT_STREQ(nvram_bufget(0, "OperationMode"), "1");
  EXPECT_TRUE(contains(testing::internal::GetCapturedStderr(), kFile0 + ".bak"));

  ASSERT_EQ(nvram_set(0, "Gen", "3"), 0);
  EXPECT_EQ(nvram_tool({"get", "0", "Gen"}).out, "3\n");
  EXPECT_EQ(nvram_tool({"get", "0", "Gen"}).err, "");
}

TEST_F(NvramTest, WriteFailuresAreReportedAndKeepTheChanges) {
  const std::string parent = fs::path(kStore).parent_path();
  if (mount("none", parent.c_str(), "tmpfs", 0, nullptr) != 0) GTEST_SKIP() << "cannot mount here";
  EXPECT_EQ(nvram_set(2, "Missing", "directory"), 0);  // the directory is made again
  EXPECT_TRUE(fs::exists(kStore + "/wifi3"));
  ASSERT_EQ(umount2(parent.c_str(), MNT_DETACH), 0);

  ASSERT_EQ(mount("none", kStore.c_str(), "tmpfs", 0, "size=16k"), 0);
  const std::string big(100000, 'x');
  testing::internal::CaptureStderr();
  EXPECT_EQ(nvram_set(2, "Big", big.c_str()), -1);
  EXPECT_TRUE(contains(testing::internal::GetCapturedStderr(), "No space left on device"));
  EXPECT_EQ(nvram_bufget(2, "Big"), big);
  ASSERT_EQ(umount2(kStore.c_str(), MNT_DETACH), 0);

  ASSERT_EQ(nvram_commit(2), 0);
  EXPECT_EQ(nvram_tool({"get", "2", "Big"}).out, big + "\n");
}

TEST_F(NvramTest, ToolCommandsReadAndChangeTheStore) {
  EXPECT_EQ(nvram_tool({"get", "rtdev", "SSID1"}).out, "Router-5G\n");
  ToolRun missing = nvram_tool({"get", "2", "Nothing"});
  EXPECT_EQ(missing.status, 0);
  EXPECT_EQ(missing.out, "\n");

  ASSERT_EQ(nvram_tool({"set", "wifi3", "Note", "two\nlines \\ here"}).status, 0);
  ASSERT_EQ(nvram_tool({"unset", "2", "ApCliEnable"}).status, 0);
  EXPECT_EQ(nvram_tool({"show", "2"}).out, "Note=two\\nlines \\\\ here\n");
  std::string all = nvram_tool({"show"}).out;
  EXPECT_TRUE(all.starts_with("# set 0 (2860)\nAccessControlList3=\n")) << all;
  EXPECT_TRUE(contains(all, "ntpEnabled=1\n# set 1 (rtdev)\n")) << all;
  EXPECT_TRUE(all.ends_with("# set 2 (wifi3)\nNote=two\\nlines \\\\ here\n")) << all;

  // What show prints, import reads back; comments and blank lines are skipped.
  write_file("/tmp/import", "# saved\n\n" + nvram_tool({"show", "2"}).out + "Empty=\n  \n");
  ASSERT_EQ(nvram_tool({"import", "1", "/tmp/import"}).status, 0);
  EXPECT_STREQ(nvram_bufget(1, "Note"), "two\nlines \\ here");
  EXPECT_TRUE(contains(nvram_tool({"show", "1"}).out, "\nEmpty=\n"));

  clean_store();
  ASSERT_EQ(nvram_tool({"commit", "0"}).status, 0);
  EXPECT_TRUE(fs::exists(kFile0));
  EXPECT_EQ(nvram_tool({"get", "0", "SSID1"}).out, "Router-2.4G\n");
}

TEST_F(NvramTest, ToolRefusesBadInputAndChangesNothing) {
  write_file("/tmp/bad", "A=1\nB=2\nnot a pair\nD=4\n");
  write_file("/tmp/escape", "A=1\n# fine\nB=ends in \\\n");
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{}, "no command"},
      {{"frob", "0"}, "unknown command 'frob'"},
      {{"get", "3", "SSID1"}, "unknown set '3'"},
      {{"show", "wifi4"}, "unknown set 'wifi4'"},
      {{"set", "0", "a=b", "v"}, "invalid key 'a=b'"},
      {{"set", "0", "", "v"}, "invalid key ''"},
      {{"unset", "0", "a\nb"}, "invalid key 'a\nb'"},
      {{"get", "0", "SSID1", "extra"}, "get takes SET KEY"},
      {{"set", "0", "SSID1"}, "set takes SET KEY VALUE"},
      {{"show", "0", "1"}, "show takes [SET]"},
      {{"commit"}, "commit takes SET"},
      {{"import", "0", "/tmp/none"}, "cannot read /tmp/none: No such file or directory"},
      {{"import", "0", "/tmp/bad"}, "/tmp/bad:3: no '=' in line"},
      {{"import", "0", "/tmp/escape"}, "/tmp/escape:3: backslash"},
  };
  const std::string before = nvram_tool({"show"}).out;
  for (const auto &[args, message] : cases) {
    ToolRun run = nvram_tool(args);
    EXPECT_NE(run.status, 0) << message;
    EXPECT_TRUE(contains(run.err, "nvram: " + message)) << run.err;
    EXPECT_TRUE(contains(run.err, "usage: nvram get SET KEY")) << run.err;
    EXPECT_EQ(run.out, "") << message;
  }
  EXPECT_EQ(nvram_tool({"show"}).out, before);
}

}  // namespace
