#include "bench/floors.h"

#include <algorithm>
#include <cmath>

namespace bench {
namespace {

int HexPair(const char* at) {
  const auto digit = [](char c) { return c <= '9' ? c - '0' : c - 'A' + 10; };
  return digit(at[0]) * 16 + digit(at[1]);
}

}  // namespace

Seconds RowWork(const char* row, Seconds turnaround) {
  const int words = HexPair(row + 1) / 2;
  const int address = (HexPair(row + 3) * 256 + HexPair(row + 5)) / 2;
  const int type = HexPair(row + 7);
  const Seconds data_byte =
      std::max<Seconds>(std::chrono::milliseconds(10), 6 * kByteTime + turnaround);
  if (type == 1) return 2 * data_byte;  // the version stamp
  if (type == 4) return Seconds(0);
  if (address >= 48 && address < 8192) return words * (10 * kByteTime + turnaround);
  if (address >= 8448) return words * data_byte;
  return Seconds(0);
}

std::vector<const char*> ImageRows(const char (*image)[55]) {
  std::vector<const char*> rows;
  for (; (*image)[0] != '\0'; ++image) rows.push_back(*image);
  return rows;
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
