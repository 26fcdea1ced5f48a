#pragma once
// Start-up on the platform being built; the system's entry point calls it.

int ProgramEntry();
