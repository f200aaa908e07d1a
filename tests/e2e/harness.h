// End-to-end harness: starts the built launcher with an exact command line,
// follows it to its end as a person would (reading and closing each message
// box it shows) and collects what the shell handed to the recorder, the
// handler registered for the test in place of the browser.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace e2e {

// The hidden owner window, as seen while a message box shows.
struct OwnerWindow {
  std::string class_name, title;
  LONG style = 0, ex_style = 0;
  bool visible = true;
  int width = -1, height = -1;
};

struct Box {
  std::string caption, text;
  bool has_owner = true;
  std::vector<std::string> buttons;       // visible buttons, by their text
  std::vector<OwnerWindow> owner_windows;  // the launcher's "TPUtilWindow"s meanwhile
};

struct Run {
  bool finished = false;  // ended by itself, before the time limit
  DWORD exit_code = 1;
  std::vector<Box> boxes;
  std::vector<std::string> handoffs;  // command lines the recorder was started with
};

struct RunOptions {
  std::string current_directory;                               // the caller's; default: C:\e2e
  std::vector<std::pair<std::string, std::string>> environment;  // added to the caller's
  size_t handoffs = 1;  // hand-offs to wait for when no box is shown
};

// The folder of the test programs, where the build also put launch.exe.
std::string test_programs_folder();

// The recorder's program file and the command line it gets for a target that
// the shell hands to it through "%1".
std::string recorder_path();
std::string recorder_line(const std::string& target);
// Registers the recorder as the handler for a URL scheme or file class; done
// for http, https, htmlfile and txtfile before the tests.
void register_recorder_for(const char* handled);

// A fresh folder C:\e2e\<test name>\ with a copy of the built launcher.
class Sandbox {
 public:
  explicit Sandbox(const std::string& program_name = "launch.exe", const std::string& subfolder = "");

  const std::string& folder() const { return folder_; }  // with trailing backslash
  const std::string& program() const { return program_; }
  std::string path(const std::string& relative) const { return folder_ + relative; }

  void write(const std::string& relative, const std::string& content) const;
  void make_folder(const std::string& relative) const;
  void copy_program_as(const std::string& name) const;

  // Starts the program with exactly command_line and follows it to its end.
  Run run(const std::string& command_line, const RunOptions& options = {}) const;
  // The same for another program file in this sandbox.
  Run run_program(const std::string& program, const std::string& command_line,
                  const RunOptions& options = {}) const;

 private:
  std::string root_, folder_, program_, traces_;
};

// Files and folders.
std::string read_file(const std::string& path);
void write_file(const std::string& path, const std::string& content);
void remove_tree(const std::string& path);
// Sets a file's last-write time to the given UTC date.
void set_file_date(const std::string& path, WORD year, WORD month, WORD day);

// "\"" + text + "\"".
std::string quoted(const std::string& text);

}  // namespace e2e
