#include "wizard/firmware_images.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int kDataMemoryWord = 8448;  // word address of EEPROM byte 0

struct Record {
  int type = 0;
  int load_address = 0;
  std::vector<int> bytes;
};

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Decodes one row, failing the test on anything that is not a well-formed
// upper-case record with a correct checksum and NUL padding.
Record Decode(const char (&row)[55], const std::string& where) {
  const std::string text(row);
  EXPECT_EQ(text.front(), ':') << where;
  for (std::size_t i = text.size(); i < sizeof row; ++i) {
    EXPECT_EQ(row[i], '\0') << where << " padding at " << i;
  }
  std::vector<int> bytes;
  EXPECT_EQ(text.size() % 2, 1u) << where;
  for (std::size_t i = 1; i + 1 < text.size(); i += 2) {
    const int high = HexDigit(text[i]);
    const int low = HexDigit(text[i + 1]);
    EXPECT_TRUE(high >= 0 && low >= 0) << where << ": " << text;
    bytes.push_back(high * 16 + low);
  }
  int sum = 0;
  for (int b : bytes) sum += b;
  EXPECT_EQ(sum % 256, 0) << where << " checksum: " << text;
  if (bytes.size() < 5) {
    ADD_FAILURE() << where << " too short: " << text;
    return {};
  }
  EXPECT_EQ(static_cast<std::size_t>(bytes[0]) + 5, bytes.size()) << where << " byte count";
  return {bytes[3], bytes[1] * 256 + bytes[2],
          std::vector<int>(bytes.begin() + 4, bytes.end() - 1)};
}

using Ranges = std::vector<std::pair<int, int>>;

// Contiguous runs of the given sorted, distinct addresses.
Ranges RunsOf(const std::vector<int>& addresses) {
  Ranges runs;
  for (int a : addresses) {
    if (!runs.empty() && runs.back().second + 1 == a) {
      runs.back().second = a;
    } else {
      runs.emplace_back(a, a);
    }
  }
  return runs;
}

struct Decoded {
  std::size_t rows = 0;
  int program_records = 0;
  int program_words = 0;
  std::vector<int> program_addresses;
  std::vector<std::string> data_rows;
  std::vector<int> data_addresses;
};

Decoded DecodeImage(const char (*first)[55], const char* name) {
  Decoded image;
  const char(*row)[55] = first;
  for (; (*row)[0] != '\0'; ++row, ++image.rows) {
    const std::string where = std::string(name) + " row " + std::to_string(image.rows + 1);
    const Record record = Decode(*row, where);
    const bool is_end = (*(row + 1))[0] == '\0';
    if (is_end) {
      EXPECT_STREQ(*row, ":00000001FF") << where;
      continue;
    }
    EXPECT_EQ(record.type, 0) << where;
    EXPECT_EQ(record.load_address % 2, 0) << where;
    EXPECT_EQ(record.bytes.size() % 2, 0u) << where;
    EXPECT_LE(record.bytes.size(), 16u) << where;
    const int word_address = record.load_address / 2;
    const int words = static_cast<int>(record.bytes.size() / 2);
    if (word_address >= kDataMemoryWord) {
      image.data_rows.push_back(*row);
      for (int k = 0; k < words; ++k)
        image.data_addresses.push_back(word_address - kDataMemoryWord + k);
    } else {
      ++image.program_records;
      image.program_words += words;
      for (int k = 0; k < words; ++k) {
        image.program_addresses.push_back(word_address + k);
        EXPECT_LE(record.bytes[static_cast<std::size_t>(2 * k + 1)], 0x3F)
            << where << " word " << k;
      }
    }
  }
  for (int i = 0; i < 55; ++i) EXPECT_EQ((*row)[i], '\0') << name << " closing row";
  return image;
}

TEST(FirmwareImages, TablesHaveTheShapesTheWizardExpects) {
  const struct {
    const char* name;
    const char (*first)[55];
    std::size_t rows;
    int program_records;
    int program_words;
    Ranges program_ranges;
  } images[] = {
      {"A", FirmwareImageA, 325, 308, 2420, {{48, 1931}, {2048, 2460}, {6144, 6266}}},
      {"B", FirmwareImageB, 320, 303, 2374, {{48, 1814}, {2048, 2481}, {6144, 6316}}},
  };
  std::vector<std::string> data_rows_of_a;
  for (const auto& expected : images) {
    const Decoded image = DecodeImage(expected.first, expected.name);
    EXPECT_EQ(image.rows, expected.rows) << expected.name;
    EXPECT_EQ(image.program_records, expected.program_records) << expected.name;
    EXPECT_EQ(image.program_words, expected.program_words) << expected.name;
    // Ascending without overlap, so the runs are the covered ranges.
    EXPECT_EQ(RunsOf(image.program_addresses), expected.program_ranges) << expected.name;
    EXPECT_EQ(image.program_addresses.size(), static_cast<std::size_t>(expected.program_words))
        << expected.name << " overlapping words";
    // EEPROM 135-254 only: the serial number (120-123) and the version
    // stamp (126-127) stay as the device has them.
    EXPECT_EQ(image.data_rows.size(), 16u) << expected.name;
    EXPECT_EQ(RunsOf(image.data_addresses), (Ranges{{135, 254}})) << expected.name;
    if (data_rows_of_a.empty()) {
      data_rows_of_a = image.data_rows;
    } else {
      EXPECT_EQ(image.data_rows, data_rows_of_a) << "EEPROM records differ between A and B";
    }
  }
}

TEST(FirmwareImages, ImagesFollowEachOtherInOneTable) {
  EXPECT_EQ(FirmwareImageA, FirmwareRows);
  EXPECT_EQ(FirmwareImageB, FirmwareRows + 326);
  EXPECT_EQ(FirmwareRows[325][0], '\0');
}

}  // namespace
