// The firmware images as the update sends them: the device's variant picks
// an image, and each tick of the programming step decodes one Intel HEX row
// and writes its words to program memory or its bytes to data memory.
#include <cstddef>
#include <cstdint>

#include "forms/application.h"
#include "forms/text.h"
#include "wizard/Tformmj.h"
#include "wizard/firmware_images.h"
#include "wizard/text_catalogue.h"

namespace {

constexpr std::size_t kRowSize = sizeof(FirmwareRows[0]);

// Record types; every other type is handled as data.
constexpr std::int32_t kEndRecord = 0x01;
constexpr std::int32_t kExtendedAddressRecord = 0x04;

// Word addresses as the rows address the device.
constexpr std::int32_t kFirstProgramWord = 48;
constexpr std::int32_t kProgramMemoryEnd = 8192;
constexpr std::int32_t kDataMemoryStart = 8448;
constexpr std::int32_t kDataMemorySize = 256;

// Data bytes that identify the device rather than hold firmware: the serial
// number and the version stamp, written only by the end record.
constexpr bool IsIdentityByte(std::int32_t data_address) {
  return (data_address >= 120 && data_address <= 123) ||
         (data_address >= 126 && data_address <= 127);
}

// Word k of a row's data spans characters 9 + 4k to 12 + 4k, so a row holds
// at most this many whole words; a larger byte count is not to be believed.
constexpr std::int32_t kMaxWordsInRow = static_cast<std::int32_t>((kRowSize - 9) / 4);

// The version this update stamps into the device.
constexpr std::int32_t kInstalledMajor = 3;
constexpr std::int32_t kInstalledMinor = 5;

// Reported when the rows run out before an end record: nothing was refused
// by the link, but the device does not hold a whole image.
constexpr std::uintptr_t kImageWithoutEndRecord = 100021;

// The value of the hexadecimal pair starting at row[at].
std::int32_t PairAt(const char* row, std::size_t at) {
  return CP04::HexPairValue(static_cast<unsigned char>(row[at]),
                            static_cast<unsigned char>(row[at + 1]));
}

}  // namespace

bool TFormMj::ChooseImage() {
  const char(*image)[kRowSize] = nullptr;
  if (Variant >= 1 && Variant <= 3)
    image = FirmwareImageA;
  else if (Variant == 4)
    image = FirmwareImageB;
  else
    return false;

  int rows = 0;
  while (rows < kImageRows && image[rows][0] != '\0') {
    ImageLines[static_cast<std::size_t>(rows)] = image[rows];
    ++rows;
  }
  ProgressBarProgrammation.SetPosition(0);
  ProgressBarProgrammation.SetSmooth(true);
  ProgressBarProgrammation.SetMax(rows);
  return true;
}

void TFormMj::ProgramNextRow() {
  const int row_index = NextLine;
  NextLine = row_index + 1;
  const int row_count = ProgressBarProgrammation.Max();

  // An image that ends without its end record must not be read past its
  // last row, nor pass for a finished update.
  if (row_index >= row_count) {
    StopAndReport(WM_LINK_FAILURE, kImageWithoutEndRecord);
    return;
  }

  LabelBarreProgression.SetCaption(forms::Format(
      ProgrammingProgress[Language], static_cast<double>(row_index) / row_count * 100.0));
  ProgressBarProgrammation.SetPosition(row_index + 1);

  const char* row = ImageLines[static_cast<std::size_t>(row_index)];
  std::int32_t words = PairAt(row, 1) / 2;
  const std::int32_t address = (PairAt(row, 3) * 256 + PairAt(row, 5)) / 2;
  const std::int32_t type = PairAt(row, 7);
  if (words > kMaxWordsInRow) words = kMaxWordsInRow;

  // The bar runs one row ahead of the text.
  ProgressBarProgrammation.SetPosition(row_index + 2);

  if (type == kEndRecord) {
    // A device stamped 3.5 must hold the whole image, and only then.
    if (Link.WriteVersion(kInstalledMajor, kInstalledMinor) != kLinkOk) {
      StopAndReportLinkFailure();
      return;
    }
    Report(WM_STEP_DONE, 0);
    return;
  }
  if (type == kExtendedAddressRecord) return;

  const auto word_at = [row](std::int32_t k) {
    const std::size_t at = 9 + 4 * static_cast<std::size_t>(k);
    return static_cast<std::uint32_t>(PairAt(row, at) + 256 * PairAt(row, at + 2));
  };

  if (address >= kFirstProgramWord && address < kProgramMemoryEnd) {
    for (std::int32_t k = 0; k < words; ++k) {
      if (Link.WriteProgramWord(static_cast<std::uint32_t>(address + k), word_at(k)) != kLinkOk) {
        StopAndReportLinkFailure();
        return;
      }
    }
  }
  if (address >= kDataMemoryStart) {
    for (std::int32_t k = 0; k < words; ++k) {
      const std::int32_t data_address = address - kDataMemoryStart + k;
      // Beyond the data memory the address would wrap onto other bytes, such
      // as the serial number; a row must not rewrite the serial number or
      // stamp a version either: refuse both as the link refuses program words.
      if (data_address >= kDataMemorySize || IsIdentityByte(data_address)) {
        StopAndReport(WM_LINK_FAILURE, static_cast<std::uintptr_t>(kLinkAddressOutOfRange));
        return;
      }
      const std::int32_t low_byte = PairAt(row, 9 + 4 * static_cast<std::size_t>(k));
      if (Link.WriteDataByte(data_address, low_byte) != kLinkOk) {
        StopAndReportLinkFailure();
        return;
      }
    }
  }
}
