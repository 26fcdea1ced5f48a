// Row programming on small images of our own, swapped in once the device
// check has chosen the real one: which memory each record reaches, what the
// link refuses, and rows that are not what they should be.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "tests/wizard/update_fixture.h"
#include "wizard/text_catalogue.h"

namespace {

using Row = std::array<char, 55>;

Row MakeRow(const std::string& text) {
  Row row{};
  std::memcpy(row.data(), text.data(), std::min(text.size(), row.size()));
  return row;
}

const char* const kEnd = ":00000001FF";

struct RowCase {
  const char* label;
  std::vector<std::string> rows;
  bool fails;  // ends in the transmission-failure box rather than on step 10
  std::function<void(const sim::LoaderDevice&)> check;
};

class RowProgrammingTest : public kst_test::UpdateFixture,
                           public ::testing::WithParamInterface<RowCase> {};

TEST_P(RowProgrammingTest, WritesWhatTheRowsSay) {
  const RowCase& c = GetParam();
  std::vector<Row> rows;
  for (const std::string& text : c.rows) rows.push_back(MakeRow(text));

  sim::LoaderDevice& device = AddDevice();
  TFormMj& form = StartAndConnect();
  ASSERT_TRUE(w.backend.RunUntil([&] { return form.Step == 9; }, kst_test::kUpdateLimitMs));
  for (std::size_t i = 0; i < rows.size(); ++i) form.ImageLines[i] = rows[i].data();
  form.ProgressBarProgrammation.SetMax(static_cast<int>(rows.size()));

  ASSERT_TRUE(RunUpdate(form));
  if (c.fails) {
    ASSERT_EQ(w.backend.Dialogs().size(), 1U);
    EXPECT_EQ(w.backend.Dialogs()[0].request.text, MsgTransmissionFailed[0]);
  } else {
    EXPECT_TRUE(w.backend.Dialogs().empty());
    EXPECT_EQ(form.Step, 10);
  }
  c.check(device);
}

std::uint16_t Word(const sim::LoaderDevice& d, std::size_t address) {
  return d.program()[address];
}

INSTANTIATE_TEST_SUITE_P(
    Records, RowProgrammingTest,
    ::testing::Values(RowCase{"BelowTheProgramRangeIsSkipped",
                              {":02005E003412", ":020060003412", kEnd},
                              false,
                              [](const auto& d) {
                                EXPECT_EQ(Word(d, 47), sim::kErasedWord);
                                EXPECT_EQ(Word(d, 48), 0x1234);
                              }},
                      RowCase{"PastTheLinksRangeFailsAfterFourWords",
                              {":103778000100020003000400050006000700080000", kEnd},
                              true,
                              [](const auto& d) {
                                for (std::size_t k = 0; k < 4; ++k)
                                  EXPECT_EQ(Word(d, 7100 + k), k + 1);
                                EXPECT_EQ(Word(d, 7104), sim::kErasedWord);
                                EXPECT_EQ(d.data()[127], 4);  // still 3.4: no stamp
                              }},
                      RowCase{"BetweenTheMemoriesIsSkippedThenDataMemory",
                              {":0240000011AA", ":0241FE0022BB", ":044200007701880200", kEnd},
                              false,
                              [](const auto& d) {
                                EXPECT_EQ(Word(d, 8192 % sim::kProgramWords), sim::kErasedWord);
                                EXPECT_EQ(d.data()[0], 0x77);
                                EXPECT_EQ(d.data()[1], 0x88);
                                EXPECT_EQ(d.data()[2], sim::kErasedByte);
                              }},
                      RowCase{"TypeFourIsIgnoredTypeTwoIsData",
                              {":02006004AAAA", ":020062021111", kEnd},
                              false,
                              [](const auto& d) {
                                EXPECT_EQ(Word(d, 48), sim::kErasedWord);
                                EXPECT_EQ(Word(d, 49), 0x1111);
                              }},
                      RowCase{"AnOddByteCountLosesItsLastByte",
                              {":0300640022114400", kEnd},
                              false,
                              [](const auto& d) {
                                EXPECT_EQ(Word(d, 50), 0x1122);
                                EXPECT_EQ(Word(d, 51), sim::kErasedWord);
                              }},
                      RowCase{"NoEndRecordIsAFailureNotAFinishedUpdate",
                              {":020060003412", ":020062007856"},
                              true,
                              [](const auto& d) {
                                EXPECT_EQ(Word(d, 49), 0x5678);
                                EXPECT_EQ(d.data()[127], 4);  // still 3.4: no stamp
                              }},
                      RowCase{"AByteCountLargerThanTheRowReadsNoFurther",
                              // Eleven whole words fill the row; the count claims 127.
                              {":FF006000"
                               "01000100010001000100010001000100010001000100",
                               kEnd},
                              false,
                              [](const auto& d) {
                                for (std::size_t k = 0; k < 11; ++k) EXPECT_EQ(Word(d, 48 + k), 1);
                                EXPECT_EQ(Word(d, 59), sim::kErasedWord);
                              }},
                      RowCase{"SerialNumberBytesAreRefused",
                              {":0442EC0055006600", ":0442F000AA00BB00", kEnd},
                              true,
                              [](const auto& d) {
                                EXPECT_EQ(d.data()[118], 0x55);  // the bytes before are written
                                EXPECT_EQ(d.data()[119], 0x66);
                                const std::uint32_t serial = sim::DeviceConfig{}.serial_number;
                                for (std::size_t k = 0; k < 4;
                                     ++k)  // the serial number is untouched
                                  EXPECT_EQ(d.data()[120 + k], (serial >> (8 * k)) & 0xFF);
                              }},
                      RowCase{"VersionBytesAreRefused",
                              {":0442FC0003000500", kEnd},
                              true,
                              [](const auto& d) {
                                EXPECT_EQ(d.data()[127], 4);  // still 3.4: no stamp
                              }},
                      RowCase{"DataBeyondTheDataMemoryIsRefused",
                              {":044400001100220000", kEnd},
                              true,
                              [](const auto& d) {
                                EXPECT_EQ(d.data()[120], 0x4E);  // the serial number is untouched
                                EXPECT_EQ(d.data()[127], 4);     // still 3.4: no stamp
                              }}),
    [](const auto& test_case) { return std::string(test_case.param.label); });

class ProgressTest : public kst_test::UpdateFixture {};

TEST_F(ProgressTest, TextTrailsTheBarByARow) {
  std::vector<Row> rows{MakeRow(":020060003412"), MakeRow(":020062003412"), MakeRow(kEnd)};
  AddDevice();
  TFormMj& form = StartAndConnect();
  ASSERT_TRUE(w.backend.RunUntil([&] { return form.Step == 9; }, kst_test::kUpdateLimitMs));
  for (std::size_t i = 0; i < rows.size(); ++i) form.ImageLines[i] = rows[i].data();
  form.ProgressBarProgrammation.SetMax(3);

  const std::vector<std::pair<const char*, int>> ticks{
      {"Avancement de la mise \xE0 jour : 0.0 %", 2},
      {"Avancement de la mise \xE0 jour : 33.3 %", 3},
      {"Avancement de la mise \xE0 jour : 66.7 %", 3}};
  for (const auto& [text, bar] : ticks) {
    const int line = form.NextLine;
    ASSERT_TRUE(w.backend.RunUntil([&] { return form.NextLine > line; }, 1000));
    EXPECT_EQ(form.LabelBarreProgression.Caption(), text);
    EXPECT_EQ(form.ProgressBarProgrammation.Position(), bar);
  }
}

}  // namespace
