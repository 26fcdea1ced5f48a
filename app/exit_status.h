#pragma once
// The program's exit status: how the last update attempt of the run ended,
// as far as the front end can tell (the terminal can; a window reports 0).
// An attempt starts with the power-on wait; a run without one, or whose
// attempt was cut short, ends as quit by the user.

inline constexpr int kExitUpdated = 0;
inline constexpr int kExitQuit = 1;
inline constexpr int kExitStartUpError = 2;  // bad command line, or the program's error box
inline constexpr int kExitTransmissionFailure = 3;
inline constexpr int kExitPowerOnTimeout = 4;
inline constexpr int kExitWrongDevice = 10;
inline constexpr int kExitSerialNumber = 11;
inline constexpr int kExitNotOlder = 12;  // already updated, or a newer version installed
inline constexpr int kExitWrongVariant = 13;
inline constexpr int kExitTooOld = 14;
