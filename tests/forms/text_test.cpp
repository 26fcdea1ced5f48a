#include "forms/text.h"

#include <gtest/gtest.h>

#include <string>

#include "forms/cp1252.h"

namespace forms {
namespace {

TEST(TextTest, TrimRemovesBlanksAndControlCharactersAtBothEnds) {
  EXPECT_EQ(Trim(" \t\r\n COM12 \x01"), "COM12");
  EXPECT_EQ(Trim("a b"), "a b");
  EXPECT_EQ(Trim(" \n "), "");
  // Bytes above 127 are letters in Windows-1252, not blanks.
  EXPECT_EQ(Trim("\xE9t\xE9"), "\xE9t\xE9");
}

TEST(TextTest, AnsiUpperCaseCoversWindows1252Letters) {
  EXPECT_EQ(AnsiUpperCase("com4 : voranex"), "COM4 : VORANEX");
  EXPECT_EQ(AnsiUpperCase("\xE9\xE0\xE7\xFE"), "\xC9\xC0\xC7\xDE");  // é à ç þ
  EXPECT_EQ(AnsiUpperCase("\x9A\x9C\x9E\xFF"), "\x8A\x8C\x8E\x9F");  // š œ ž ÿ
  // ÷, ß and µ have no upper case here.
  EXPECT_EQ(AnsiUpperCase("\xF7\xDF\xB5"), "\xF7\xDF\xB5");
}

TEST(TextTest, StrToIntDefAcceptsOnlyAWholeSignedDecimalThatFits) {
  struct Case {
    const char* text;
    std::int32_t expected;
  };
  const Case cases[] = {
      {"1", 1},
      {"-1", -1},
      {"+7", 7},
      {"007", 7},
      {"2147483647", 2147483647},
      {"-2147483648", -2147483647 - 1},
      {"2147483648", -5},
      {"", -5},
      {"-", -5},
      {"1x", -5},
      {"x", -5},
      {" 1", -5},
      {"1 ", -5},
      {"99999999999999999999", -5},
  };
  for (const Case& c : cases) EXPECT_EQ(StrToIntDef(c.text, -5), c.expected) << c.text;
}

TEST(TextTest, FormatFillsThePlaceholdersTheProgramUses) {
  const std::string serial_format = "Serial : %010lu";
  EXPECT_EQ(Format(serial_format.c_str(), static_cast<unsigned long>(400000000U)),
            "Serial : 0400000000");
  EXPECT_EQ(Format(std::string("%.1f %%").c_str(), 200.0 / 3.0), "66.7 %");
  EXPECT_EQ(Format(std::string("%s V%i.%i").c_str(), "dev", 3, 5), "dev V3.5");
  // A text longer than any fixed buffer comes out whole.
  const std::string long_text(5000, 'x');
  EXPECT_EQ(Format(std::string("%s!").c_str(), long_text.c_str()), long_text + "!");
  EXPECT_EQ(Format(std::string("").c_str()), "");
}

TEST(Cp1252Test, RoundTripsEveryDefinedByte) {
  std::string all;
  for (int b = 1; b < 256; ++b) {
    if (b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D) continue;
    all += static_cast<char>(b);
  }
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
  EXPECT_EQ(Cp1252ToUtf8("Fran\xE7"
                         "ais \x80"),
            "Fran\xC3\xA7"
            "ais \xE2\x82\xAC");
}

TEST(Cp1252Test, UnmappableOrMalformedUtf8BecomesQuestionMarks) {
  EXPECT_EQ(Utf8ToCp1252("\xE4\xB8\xAD"), "?");  // a CJK character
  EXPECT_EQ(Utf8ToCp1252("a\xC3"), "a?");        // cut short
  EXPECT_EQ(Utf8ToCp1252("\xC3"
                         "a"),
            "?a");                                     // bad continuation
  EXPECT_EQ(Utf8ToCp1252("\xF0\x9F\x98\x80!"), "?!");  // outside the BMP
}

}  // namespace
}  // namespace forms
