#pragma once
// What an update cannot go below on a 9600-baud line: the wire time of the
// bytes, the pace of the steps' timers, and, for programming, both together:
// a row's exchanges run inside its tick, so a row that needs longer than the
// interval delays the next tick.

#include <chrono>
#include <cstdint>
#include <vector>

namespace bench {

using Seconds = std::chrono::duration<double>;

// Start, 8 data, parity and stop bits at 9600 baud.
inline constexpr Seconds kByteTime{11.0 / 9600.0};

// The line time of one image row's exchanges as the wizard makes them: per
// program word the command and eight characters out and one acknowledgement
// back after the turnaround; per data byte five bytes out, a 10 ms wait
// begun once they are written, then the acknowledgement.
Seconds RowWork(const char* row, Seconds turnaround);

// The rows of one image, up to the NUL row that ends it.
std::vector<const char*> ImageRows(const char (*image)[55]);

// For each program word of the rows in order, whether it is the first of its row.
std::vector<bool> FirstWordsOfRows(const std::vector<const char*>& rows);

// When the last of the works ends, ticks being due every interval from the
// first at one interval, each running its work to the end; a tick that
// comes late is delivered at once, the next is due one interval after its
// due time, and ticks that fell entirely behind are dropped.
Seconds TickedFloor(const std::vector<Seconds>& works, Seconds interval);

}  // namespace bench
