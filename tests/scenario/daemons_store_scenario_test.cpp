// Both daemons starting on a configuration store that is damaged, missing or
// not a directory: they say so, run on the built-in defaults and keep going.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/support/testbed.h"

namespace {

namespace fs = std::filesystem;

const std::string kStore = NVRAM_DIR;

class DaemonsOnABadStore : public testing::Test {
 protected:
  void SetUp() override {
    testbed::reset();
    testbed::set_time_divisor(50);
    testbed::wan_link(true);
    testbed::write_file("/tmp/internetStatus", "1\n");
  }
  void TearDown() override {
    testbed::stop_all();
    std::error_code ignored;
    fs::remove_all(kStore, ignored);
    fs::create_directories(kStore, ignored);
  }

  // uplinkd runs its cycles on the defaults: ntpEnabled is "1" there, so
  // the NTP script starts once the internet is seen.
  static void expect_uplinkd_runs(const std::string &case_name) {
    testbed::Process uplinkd = testbed::spawn(testbed::program("uplinkd"));
    EXPECT_TRUE(testbed::wait_for([] { return testbed::read_file("/tmp/Link") == "1\n"; }))
        << case_name;
    EXPECT_TRUE(testbed::wait_for([] {
      return testbed::commands() == std::vector<std::string>{"ntp.sh"};
    })) << case_name;
    EXPECT_TRUE(uplinkd.running()) << case_name;
  }

  // buttond samples the button and starts a WPS session on a press.
  static void expect_buttond_runs(const std::string &case_name) {
    testbed::button_script("1x2 0x20 1");
    testbed::Process buttond = testbed::spawn(testbed::program("buttond"));
    EXPECT_TRUE(testbed::wait_for([] {
      return testbed::console().find("\nWPS_AP_CATCH_CONFIGURED_TIMER:2\n\n") != std::string::npos;
    })) << case_name;
    EXPECT_TRUE(buttond.running()) << case_name;
  }

  void run_both(const std::string &case_name) {
    expect_uplinkd_runs(case_name);
    testbed::stop_all();
    testbed::clear_logs();
    expect_buttond_runs(case_name);
  }
};

TEST_F(DaemonsOnABadStore, DamagedSetsAreReportedAndTheDefaultsUsed) {
  for (const char *set : {"/2860", "/rtdev", "/wifi3"}) {
    testbed::write_file(kStore + set, std::string("\xff\x00garbage without structure\n", 28));
  }
  testbed::Process nvram = testbed::spawn(testbed::program("nvram"), {"get", "0", "ntpEnabled"});
  EXPECT_EQ(nvram.wait(), 0);
  EXPECT_EQ(nvram.out(), "1\n");
  EXPECT_NE(nvram.err().find("is damaged"), std::string::npos) << nvram.err();
  run_both("damaged");
}

TEST_F(DaemonsOnABadStore, AMissingOrUnusableStoreDirectoryGivesTheDefaults) {
  fs::remove_all(kStore);
  run_both("missing");
  testbed::stop_all();
  testbed::clear_logs();
  fs::remove_all(kStore);
  testbed::write_file(kStore, "a file where the directory should be\n");
  run_both("not a directory");
}

}  // namespace
