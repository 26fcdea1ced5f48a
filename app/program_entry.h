#pragma once
// Start-up on the platform being built; the system's entry point calls it
// with the command line (none on Windows). Returns the exit status.

int ProgramEntry(int argc = 0, char** argv = nullptr);
