// Small utilities: integer files, radio restart through the stub ifconfig,
// file size and copy, and the intrusive list.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "boardutil/console.h"
#include "boardutil/dl_list.h"
#include "boardutil/file_utils.h"
#include "boardutil/wifi_reset.h"
#include "nvram.h"
#include "tests/support/testbed.h"

namespace {

class UtilsTest : public testing::Test {
 protected:
  void SetUp() override { testbed::reset(); }
};

TEST_F(UtilsTest, FileReadIntDropsTheLastCharacterOfAtMostSixteen) {
  testbed::write_file("/tmp/n", "42\n");
  EXPECT_EQ(file_read_int("/tmp/n"), 42);
  testbed::write_file("/tmp/n", "42");
  EXPECT_EQ(file_read_int("/tmp/n"), 4);
  testbed::write_file("/tmp/n", " -7\n");
  EXPECT_EQ(file_read_int("/tmp/n"), -7);
  testbed::write_file("/tmp/n", "");
  EXPECT_EQ(file_read_int("/tmp/n"), 0);
  // 18 bytes: only the first 16 are read, and the 16th is dropped.
  testbed::write_file("/tmp/n", "000000000000012345");
  EXPECT_EQ(file_read_int("/tmp/n"), 12);
}

TEST_F(UtilsTest, FileReadIntFailuresPrintAndGiveMinusOne) {
  mkdir("/tmp/dir", 0755);
  testing::internal::CaptureStdout();
  EXPECT_EQ(file_read_int(nullptr), -1);
  EXPECT_EQ(file_read_int("/tmp/none"), -1);
  EXPECT_EQ(file_read_int("/tmp/dir"), -1);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "url is empty! \n"
            "open the file /tmp/none is failed! fd=-1 \n"
            "read the file /tmp/dir is failed! \n");
}

TEST_F(UtilsTest, ResetWifiRestartsOnlyTheRadiosThatAreOn) {
  testbed::set_time_divisor(100);
  nvram_bufset(0, "WiFiOff", "0");
  nvram_bufset(1, "WiFiOff", "1");
  reset_wifi();
  EXPECT_EQ(testbed::commands(),
            (std::vector<std::string>{"ifconfig ra0 down", "ifconfig ra0 up"}));

  testbed::clear_logs();
  testbed::write_file("/tmp/log", "");
  nvram_bufset(1, "WiFiOff", "0");
  reset_wifi();
  EXPECT_EQ(testbed::commands(),
            (std::vector<std::string>{"ifconfig ra0 down", "ifconfig ra0 up", "ifconfig rai0 down",
                                      "ifconfig rai0 up"}));
  EXPECT_TRUE(testbed::wait_for_text(testbed::kConsoleLog, "reset wifi!\n\n\n"));

  // Both off: no command, and without /tmp/log no message either.
  testbed::clear_logs();
  testbed::remove_file("/tmp/log");
  nvram_bufset(0, "WiFiOff", "1");
  nvram_bufset(1, "WiFiOff", "");
  reset_wifi();
  EXPECT_TRUE(testbed::commands().empty());
  console_print("end\n");
  ASSERT_TRUE(testbed::wait_for_text(testbed::kConsoleLog, "end\n"));
  EXPECT_EQ(testbed::console(), "end\n");
}

TEST_F(UtilsTest, FileSize) {
  testbed::write_file("/tmp/five", "12345");
  testbed::write_file("/tmp/empty", "");
  EXPECT_EQ(get_file_size("/tmp/five"), 5);
  EXPECT_EQ(get_file_size("/tmp/empty"), 0);
  EXPECT_EQ(get_file_size("/tmp/none"), -1);
}

TEST_F(UtilsTest, CopyFileCopiesTextWholeIncludingLongLines) {
  std::string text = "first\n" + std::string(3000, 'x') + "\n\nlast line without end";
  testbed::write_file("/tmp/src", text);
  testbed::write_file("/tmp/dst", "older and longer content that must go away entirely\n");
  EXPECT_EQ(copy_file("/tmp/src", "/tmp/dst"), 0);
  EXPECT_EQ(testbed::read_file("/tmp/dst"), text);
}

TEST_F(UtilsTest, CopyFileWithoutReadableSourceLeavesTheDestinationAlone) {
  testbed::write_file("/tmp/dst", "keep me\n");
  EXPECT_EQ(copy_file("/tmp/none", "/tmp/dst"), 0);
  EXPECT_EQ(testbed::read_file("/tmp/dst"), "keep me\n");
  EXPECT_EQ(copy_file("/tmp/none", "/tmp/new"), 0);
  EXPECT_FALSE(testbed::file_exists("/tmp/new"));
  // A destination that cannot be opened ends the copy as quietly.
  testbed::write_file("/tmp/src", "data\n");
  EXPECT_EQ(copy_file("/tmp/src", "/tmp/no-dir/dst"), 0);
}

struct Item {
  dl_list link;
  char name;
};

std::string names(const dl_list &head) {
  std::string order;
  for (const dl_list *at = head.next; at != &head; at = at->next) {
    order += reinterpret_cast<const Item *>(at)->name;
  }
  return order;
}

TEST(DlListTest, AddPutsFirstAddTailPutsLast) {
  dl_list head;
  dl_list_init(&head);
  EXPECT_EQ(dl_list_empty(&head), 1);
  EXPECT_EQ(dl_list_len(&head), 0u);
  Item a{{}, 'A'}, b{{}, 'B'}, c{{}, 'C'}, d{{}, 'D'};
  dl_list_add(&head, &a.link);
  dl_list_add(&head, &b.link);
  EXPECT_EQ(names(head), "BA");
  dl_list_add_tail(&head, &c.link);
  dl_list_add_tail(&head, &d.link);
  EXPECT_EQ(names(head), "BACD");
  EXPECT_EQ(dl_list_len(&head), 4u);
  EXPECT_EQ(dl_list_empty(&head), 0);
  EXPECT_EQ(head.prev, &d.link);
}

TEST(DlListTest, DelUnlinksTheEntryAndClearsItsLinks) {
  dl_list head;
  dl_list_init(&head);
  Item a{{}, 'A'}, b{{}, 'B'}, c{{}, 'C'};
  for (Item *item : {&a, &b, &c}) dl_list_add_tail(&head, &item->link);
  dl_list_del(&b.link);
  EXPECT_EQ(names(head), "AC");
  EXPECT_EQ(c.link.prev, &a.link);
  EXPECT_EQ(b.link.next, nullptr);
  EXPECT_EQ(b.link.prev, nullptr);
  dl_list_del(&a.link);
  dl_list_del(&c.link);
  EXPECT_EQ(dl_list_len(&head), 0u);
  EXPECT_EQ(dl_list_empty(&head), 1);
  EXPECT_EQ(head.next, &head);
  EXPECT_EQ(head.prev, &head);
}

}  // namespace
