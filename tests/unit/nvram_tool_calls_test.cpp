// The store's calls for tools (nvram_tool.h) as a program calls them:
// refusals of bad sets and keys, show's escaped lines, an import that
// stores only from a whole good file, and unset, all before a commit.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "nvram.h"
#include "nvram_tool.h"
#include "tests/support/testbed.h"

namespace {

class NvramToolCallsTest : public testing::Test {
 protected:
  void SetUp() override { testbed::reset(); }
};

// What nvram_show writes of the set, through a memory stream.
std::string shown(int index) {
  char *text = nullptr;
  size_t size = 0;
  FILE *out = open_memstream(&text, &size);
  EXPECT_EQ(nvram_show(index, out), 0);
  fclose(out);
  std::string result(text, size);
  free(text);
  return result;
}

TEST_F(NvramToolCallsTest, BadSetsAndKeysAreRefused) {
  EXPECT_EQ(nvram_unset(3, "SSID1"), -1);
  EXPECT_EQ(nvram_unset(0, "a=b"), -1);
  EXPECT_EQ(nvram_unset(0, nullptr), -1);
  EXPECT_EQ(nvram_show(-1, stdout), -1);
  testing::internal::CaptureStderr();
  EXPECT_EQ(nvram_import(3, "/tmp/none"), -1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "nvram: import: unknown set 3\n");
}

TEST_F(NvramToolCallsTest, ImportShowAndUnsetChangeTheProcessView) {
  testbed::write_file("/tmp/good", "# saved\nNote=two\\nlines\nOther=x\n");
  ASSERT_EQ(nvram_import(2, "/tmp/good"), 0);
  EXPECT_STREQ(nvram_bufget(2, "Note"), "two\nlines");
  std::string lines = "\n" + shown(2);
  EXPECT_NE(lines.find("\nNote=two\\nlines\n"), std::string::npos) << lines;
  EXPECT_NE(lines.find("\nOther=x\n"), std::string::npos) << lines;

  // A bad line anywhere stores nothing of the file.
  testbed::write_file("/tmp/bad", "Fresh=1\nno separator\n");
  testing::internal::CaptureStderr();
  EXPECT_EQ(nvram_import(2, "/tmp/bad"), -1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "nvram: /tmp/bad:2: no '=' in line; nothing imported\n");
  EXPECT_STREQ(nvram_bufget(2, "Fresh"), "");

  EXPECT_EQ(nvram_unset(2, "Note"), 0);
  EXPECT_STREQ(nvram_bufget(2, "Note"), "");
  EXPECT_EQ(("\n" + shown(2)).find("\nNote="), std::string::npos);
}

}  // namespace
