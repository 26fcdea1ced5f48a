#include "bench/floors.h"

#include <algorithm>
#include <cmath>

namespace bench {
namespace {

int HexPair(const char* at) {
  const auto digit = [](char c) { return c <= '9' ? c - '0' : c - 'A' + 10; };
  return digit(at[0]) * 16 + digit(at[1]);
}

struct Record {
  int words;
  int address;  // in words
  int type;
};

Record Decode(const char* row) {
  return {HexPair(row + 1) / 2, (HexPair(row + 3) * 256 + HexPair(row + 5)) / 2, HexPair(row + 7)};
}

bool ToProgramMemory(const Record& r) {
  return r.type != 1 && r.type != 4 && r.address >= 48 && r.address < 8192;
}

}  // namespace

Seconds RowWork(const char* row, Seconds turnaround) {
  const auto [words, address, type] = Decode(row);
  const Seconds data_byte =
      std::max<Seconds>(std::chrono::milliseconds(10), 6 * kByteTime + turnaround);
  if (type == 1) return 2 * data_byte;  // the version stamp
  if (type == 4) return Seconds(0);
  if (ToProgramMemory({words, address, type})) return words * (10 * kByteTime + turnaround);
  if (address >= 8448) return words * data_byte;
  return Seconds(0);
}

std::vector<const char*> ImageRows(const char (*image)[55]) {
  std::vector<const char*> rows;
  for (; (*image)[0] != '\0'; ++image) rows.push_back(*image);
  return rows;
}

std::vector<bool> FirstWordsOfRows(const std::vector<const char*>& rows) {
  std::vector<bool> first;
  for (const char* row : rows) {
    const Record record = Decode(row);
    if (!ToProgramMemory(record)) continue;
    for (int k = 0; k < record.words; ++k) first.push_back(k == 0);
  }
  return first;
}

Seconds TickedFloor(const std::vector<Seconds>& works, Seconds interval) {
  Seconds due = interval;
  Seconds free{0};  // when the previous tick's work ended
  for (const Seconds work : works) {
    const Seconds start = std::max(due, free);
    free = start + work;
    due += (std::floor((start - due) / interval) + 1) * interval;
  }
  return free;
}

}  // namespace bench
