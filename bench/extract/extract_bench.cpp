// extract_bench DIR: runs install step 0 into DIR (a fresh install), then
// once more over it (a reinstall that cleans the previous files), and
// prints the time of each and the process's peak memory.
#include <windows.h>
#include <psapi.h>

#include <cstdio>

#include "engine/CSetupLogic.h"

namespace {

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

double Mib(SIZE_T bytes) { return double(bytes) / (1024.0 * 1024.0); }

void PrintMemory(const char* when) {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof(counters);
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
  std::printf("%-22s peak working set %8.1f MiB, peak private (PagefileUsage) %8.1f MiB\n", when,
              Mib(counters.PeakWorkingSetSize), Mib(counters.PeakPagefileUsage));
}

bool RunStep(CSetupLogic* logic, const char* what) {
  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  const int result = logic->StepExtractPackage();
  QueryPerformanceCounter(&end);
  std::printf("%-22s %8.3f s, result %d (last error %lu)\n", what, Seconds(start, end), result,
              result ? 0ul : GetLastError());
  return result != 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: extract_bench DIR\n");
    return 2;
  }
  HRSRC package = FindResourceW(nullptr, MAKEINTRESOURCEW(143), L"FILE");
  std::printf("package resource       %8.1f MiB\n",
              Mib(package ? SizeofResource(nullptr, package) : 0));
  PrintMemory("before step 0");
  CSetupLogic logic;
  logic.SetInstallDir(argv[1]);
  if (!RunStep(&logic, "step 0, fresh")) return 1;
  PrintMemory("after fresh install");
  if (!RunStep(&logic, "step 0, reinstall")) return 1;
  PrintMemory("after reinstall");
  return 0;
}
