// Reading a set file into its index (nvram/set_image.h) and the CRC-32 that
// seals it: the word-at-a-time CRC against a bit-by-bit one at every length
// and alignment, values with escapes and any bytes read back exactly, files
// out of order, and bodies whose seal holds but whose lines do not.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

#include "nvram/crc32.h"
#include "nvram/file_format.h"
#include "nvram/set_image.h"

namespace {

uint32_t bitwise_crc32(std::string_view bytes) {
  uint32_t c = 0xFFFFFFFFu;
  for (char byte : bytes) {
    c ^= static_cast<unsigned char>(byte);
    for (int bit = 0; bit < 8; ++bit) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
  }
  return ~c;
}

std::string sealed(const std::string &body) {
  char header[32];
  snprintf(header, sizeof header, "NVRAM1 %08x %08x\n", static_cast<unsigned>(body.size()),
           static_cast<unsigned>(bitwise_crc32(body)));
  return header + body;
}

nvram::Status parse(const std::string &file, nvram::SetImage &image) {
  return image.parse(nvram::FileBytes(file));
}

TEST(NvramCrc32, MatchesTheBitwiseCrcAtEveryLengthAndAlignment) {
  std::mt19937 random(11);
  std::string bytes(80, '\0');
  for (char &c : bytes) c = static_cast<char>(random());
  for (size_t start = 0; start < 8; ++start) {
    for (size_t length = 0; start + length <= bytes.size(); ++length) {
      std::string_view part = std::string_view(bytes).substr(start, length);
      ASSERT_EQ(nvram::crc32(part), bitwise_crc32(part)) << start << "+" << length;
    }
  }
}

TEST(NvramSetImage, ReadsBackEveryValueOfWhatEncodeWrites) {
  nvram::Values values = {
      {"A", ""},
      {"Back\\slash", "a key's backslash is no escape"},
      {"Empty", ""},
      {"Escapes", "a\\b\nc\\\\n\\"},
      {"Key", "plain value"},
      {"Newlines", "\n\n"},
      {"Z", "last"},
      {"\x7f", "del"},
      {"\xc3\xa9t\xc3\xa9", "high bytes sort after ASCII"},
      {"eq", "a=b=c"},
  };
  std::mt19937 random(5);
  for (int i = 0; i < 200; ++i) {
    std::string value(random() % 40, '\0');
    for (char &c : value) c = static_cast<char>(1 + random() % 255);
    values.emplace("Random" + std::to_string(i), value);
  }
  const std::string file = nvram::encode_set(values);
  nvram::SetImage image;
  ASSERT_TRUE(parse(file, image).is_ok());
  EXPECT_EQ(image.file(), file);
  EXPECT_EQ(image.values(), values);
  for (const auto &[key, value] : values) EXPECT_EQ(image.value(key), value) << key;
  for (const char *missing : {"", "0", "Ke", "Keys", "Random", "\xff"}) {
    EXPECT_EQ(image.value(missing), "") << missing;
  }
}

TEST(NvramSetImage, FileOutOfOrderIsSortedAndDuplicatesAreRefused) {
  nvram::SetImage image;
  ASSERT_TRUE(parse(sealed("b=2\nc=3\na=1\nd=a\\\\b\n"), image).is_ok());
  EXPECT_EQ(image.value("a"), "1");
  EXPECT_EQ(image.value("b"), "2");
  EXPECT_EQ(image.value("c"), "3");
  EXPECT_EQ(image.value("d"), "a\\b");
  EXPECT_EQ(image.values(), (nvram::Values{{"a", "1"}, {"b", "2"}, {"c", "3"}, {"d", "a\\b"}}));

  for (const char *body : {"a=1\na=2\n", "b=1\na=1\nb=2\n"}) {
    nvram::Status parsed = parse(sealed(body), image);
    EXPECT_FALSE(parsed.is_ok()) << body;
    EXPECT_EQ(parsed.message(), "duplicate key") << body;
    EXPECT_EQ(image.value("a"), "") << body;
  }
}

TEST(NvramSetImage, SealedFilesWithMalformedLinesAreRefusedAndLeaveNothing) {
  const std::string bodies[] = {
      "k=v",
      "k=v\nlast",
      "=v\n",
      "k\n",
      "k=v\n\n",
      "k=a\\x\n",
      "k=a\\\n",
      "k=a\\\\\\\n",
      "k=v\nk\n",
      std::string("k=v\0w\n", 6),
      std::string("k\0=v\n", 5),
  };
  for (const std::string &body : bodies) {
    nvram::SetImage image;
    ASSERT_TRUE(parse(sealed("good=1\n"), image).is_ok());
    EXPECT_FALSE(parse(sealed(body), image).is_ok()) << body;
    EXPECT_EQ(image.value("k"), "") << body;
    EXPECT_EQ(image.value("good"), "") << body;
    EXPECT_EQ(image.file(), "") << body;
  }
  nvram::SetImage image;
  EXPECT_TRUE(parse(sealed(""), image).is_ok());
  EXPECT_TRUE(image.values().empty());
}

}  // namespace
