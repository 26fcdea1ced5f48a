// The program's command-line options.
#include "app/command_line.h"

#include <gtest/gtest.h>

#include <array>

namespace {

using forms::ModalResult;

// words: up to seven, ended by a null.
CommandLine Parse(const char* const* words) {
  std::array<const char*, 8> argv{"Kst90VIIMj3_5Daz"};
  int argc = 1;
  while (words[argc - 1] != nullptr) {
    argv[static_cast<std::size_t>(argc)] = words[argc - 1];
    ++argc;
  }
  return ParseCommandLine(argc, argv.data());
}

TEST(CommandLineTest, OptionsTakeTheirValues) {
  const char* const all_words[] = {"--terminal", "--lang", "en",   "--port",
                                   "com34",      "--no",   nullptr};
  const CommandLine all = Parse(all_words);
  EXPECT_TRUE(all.error.empty()) << all.error;
  EXPECT_TRUE(all.front_end.terminal);
  EXPECT_EQ(all.language, 1);
  EXPECT_EQ(all.front_end.port, 34);
  EXPECT_EQ(all.front_end.yes_no_answer, ModalResult::No);

  const char* const no_words[] = {nullptr};
  const CommandLine none = Parse(no_words);
  EXPECT_TRUE(none.error.empty());
  EXPECT_FALSE(none.front_end.terminal);
  EXPECT_EQ(none.language, -1);
  EXPECT_EQ(none.front_end.port, 0);
  EXPECT_FALSE(none.front_end.yes_no_answer);

  const char* const twice[] = {"--lang", "fr", "--yes", "--yes", nullptr};
  EXPECT_EQ(Parse(twice).language, 0);
  const char* const help[] = {"--help", nullptr};
  EXPECT_TRUE(Parse(help).help);
}

TEST(CommandLineTest, WrongWordsAreErrors) {
  const char* const wrong[][3] = {
      {"--lang", nullptr},           {"--lang", "de", nullptr},
      {"--port", nullptr},           {"--port", "COM0", nullptr},
      {"--port", "COM256", nullptr}, {"--port", "LPT1", nullptr},
      {"--port", "COM1x", nullptr},  {"--yes", "--no", nullptr},
      {"--fast", nullptr},           {"COM3", nullptr},
  };
  for (const auto& words : wrong) EXPECT_FALSE(Parse(words).error.empty()) << words[0];
}

}  // namespace
