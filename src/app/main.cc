// The program file's entry: Windows calls WinMain, which runs program_entry.
#include <windows.h>

#include "app/program_entry.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  return program_entry();
}
