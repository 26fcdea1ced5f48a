#include <windows.h>

#include "app/program_entry.h"

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*command_line*/,
                   int /*show*/) {
  return ProgramEntry();
}
