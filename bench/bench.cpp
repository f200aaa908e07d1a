// Times the life of launcher processes under Wine: from CreateProcessA to the
// process's end, for each program in turn, round after round, so that every
// program sees the same conditions. The shell hands each address to the
// recorder (registered as the http and htmlfile handler here); each run waits
// for its record before the next one starts. Prints tables of medians and
// ratios: against the floor, and for runs that write a launch page into a
// temporary folder that already holds pages of the last day.
//   bench.exe FOLDER ROUNDS
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

const char kAddress[] = BENCH_ADDRESS;
const size_t kLongest = 32766;  // 32,767 characters with the terminating zero

struct Program {
  std::string name, file, plain_line, longest_line;  // an empty line: not measured
  int pages = -1;  // when not negative: a page-writing run, with that many fresh pages in TMP
  std::vector<double> plain_ms, longest_ms;
};

std::string folder, traces;

double now_ms() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER count;
  QueryPerformanceCounter(&count);
  return 1000.0 * double(count.QuadPart) / double(frequency.QuadPart);
}

void register_recorder() {
  std::string command = "\"" + folder + "recorder.exe\" \"%1\"";
  for (std::string handled : {"http", "htmlfile"}) {
    RegDeleteTreeA(HKEY_CLASSES_ROOT, (handled + "\\shell\\open\\ddeexec").c_str());
    HKEY key;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, (handled + "\\shell\\open\\command").c_str(), 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
      fprintf(stderr, "cannot register the recorder\n");
      exit(1);
    }
    RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()), DWORD(command.size() + 1));
    RegCloseKey(key);
  }
}

// A temporary folder holding pages 1 to count, written in the last hour.
std::string page_folder(int count) {
  std::string name = folder + "pages" + std::to_string(count) + "\\";
  CreateDirectoryA(name.c_str(), nullptr);
  const char kPage[] = "<!DOCTYPE html>\r\n<html>\r\n</html>\r\n";
  for (int n = 1; n <= count; ++n) {
    HANDLE file = CreateFileA((name + "VexaTmp" + std::to_string(n) + ".HTML").c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written;
    WriteFile(file, kPage, sizeof kPage - 1, &written, nullptr);
    CloseHandle(file);
  }
  return name;
}

// Removes the records; returns how many there were.
int take_records() {
  int count = 0;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((traces + "*.txt").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  do {
    DeleteFileA((traces + found.cFileName).c_str());
    ++count;
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return count;
}

// One run: the process's life in ms, or -1 when it did not hand over.
double run_once(const std::string& file, const std::string& line) {
  std::vector<char> buffer(line.begin(), line.end());
  buffer.push_back(0);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process;
  double start = now_ms();
  if (!CreateProcessA(file.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                      &process))
    return -1;
  WaitForSingleObject(process.hProcess, INFINITE);
  double life = now_ms() - start;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  // The handler starts after the launcher has gone: wait for its record.
  int records = 0;
  for (int wait = 0; wait < 1000 && (records += take_records()) == 0; ++wait) Sleep(10);
  Sleep(50);  // let the recorder's process end
  records += take_records();
  return records == 1 ? life : -1;
}

double median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

std::string cell(const std::vector<double>& ms, double floor) {
  if (ms.empty()) return "n/a";
  char text[64];
  snprintf(text, sizeof text, "%.1f ms (%.3f)", median(ms), median(ms) / floor);
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    fprintf(stderr, "usage: bench.exe FOLDER ROUNDS\n");
    return 2;
  }
  folder = argv[1];
  if (folder.back() != '\\') folder += '\\';
  int rounds = atoi(argv[2]);
  traces = folder + "records\\";
  CreateDirectoryA(traces.c_str(), nullptr);
  SetEnvironmentVariableA("RECORDER_TRACE_FOLDER", traces.c_str());
  register_recorder();

  char system[MAX_PATH];
  GetSystemDirectoryA(system, sizeof system);
  std::string plain = std::string(" ") + kAddress;
  // About 16,000 arguments, the last one filling the line up.
  std::string filler = plain + " /error=x";
  while (filler.size() + 6 + 2 <= kLongest) filler += " a";
  filler += std::string(kLongest - 6 - filler.size(), 'a');
  std::vector<Program> programs = {
      {"launch.exe", folder + "launch.exe", "launch" + plain, "launch" + filler},
      {"floor: owner window + ShellExecuteExW", folder + "floor.exe", "launch" + plain, "launch" + filler},
      {"floor without owner window", folder + "floor_no_owner.exe", "launch" + plain, "launch" + filler},
      {"rundll32 url.dll,FileProtocolHandler", std::string(system) + "\\rundll32.exe",
       "rundll32.exe url.dll,FileProtocolHandler" + plain, ""},
      {"cmd /c start", std::string(system) + "\\cmd.exe", "cmd.exe /c start" + plain, ""},
  };
  for (int pages : {0, 1000, 5000}) {
    programs.push_back({"launch.exe WINDOW.OPEN", folder + "launch.exe", "launch WINDOW.OPEN" + plain + " n f", ""});
    programs.back().pages = pages;
    page_folder(pages);
  }

  int failures = 0;
  for (int round = -1; round < rounds; ++round) {  // round -1 warms up
    for (size_t k = 0; k < programs.size(); ++k) {
      Program& p = programs[(k + size_t(round + 1)) % programs.size()];  // each round starts elsewhere
      for (int longest = 0; longest < 2; ++longest) {
        const std::string& line = longest ? p.longest_line : p.plain_line;
        if (line.empty()) continue;
        std::string temp = folder + "pages" + std::to_string(p.pages) + "\\";
        SetEnvironmentVariableA("TMP", temp.c_str());
        double ms = run_once(p.file, line);
        // The folder stays as it was: the page just written goes.
        if (p.pages >= 0) DeleteFileA((temp + "VexaTmp" + std::to_string(p.pages + 1) + ".HTML").c_str());
        if (ms < 0) {
          ++failures;
          continue;
        }
        if (round >= 0) (longest ? p.longest_ms : p.plain_ms).push_back(ms);
      }
    }
  }

  double floor_plain = median(programs[1].plain_ms), floor_longest = median(programs[1].longest_ms);
  printf("Median process life under wine64, %d rounds (ratio to the floor):\n\n", rounds);
  printf("| Program | plain address | maximum command line (%zu characters) |\n|---|---|---|\n",
         programs[0].longest_line.size() + 1);
  for (const Program& p : programs)
    if (p.pages < 0)
      printf("| %s | %s | %s |\n", p.name.c_str(), cell(p.plain_ms, floor_plain).c_str(),
             cell(p.longest_ms, floor_longest).c_str());
  printf("\nA run that writes a launch page, by the pages of the last day already in the temporary folder "
         "(ratio to none):\n\n| Program | no pages | 1,000 pages | 5,000 pages |\n|---|---|---|---|\n| launch.exe |");
  for (const Program& p : programs)
    if (p.pages >= 0) printf(" %s |", cell(p.plain_ms, median(programs[programs.size() - 3].plain_ms)).c_str());
  printf("\n");
  if (failures) printf("\n%d runs handed nothing over and were left out.\n", failures);
  return 0;
}
