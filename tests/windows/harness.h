// End-to-end rows: the launcher, copied into a sandbox of its own with files
// beside it, is started with an exact command line and followed to its end as
// a person would, reading and closing each message box; the shell hands its
// target to the recorder, registered as the handler. Texts are UTF-8.
// In lines, contents and expectations "{here}" stands for the program's
// folder, "{url}" for its file URL, "{program}" for its file, "{recorder}"
// for the recorder; in expectations "{short:path}" for a file's short name.
#pragma once

#include <string>
#include <vector>

namespace e2e {

// Made before the run, relative to the program's folder unless a full name:
// a path ending in "\" is a folder, with content "full disk" one on a file
// system that is full; content "-> path" makes a link to that path (Wine only).
struct Item {
  std::string path, content;
  double age_hours = 0;  // of the last write
};

struct Row {
  const char* name;
  std::string line;  // the whole command line
  std::vector<Item> files;
  // Each event on a line: "open: <the recorder's arguments>" (then " @ <its
  // working folder>" unless that is the system folder, then " by the desktop
  // shell, [un-]elevated" when the shell started it), "box: <text>"
  // (no caption or owner, only OK), "refused: <text>" (the same, while the
  // hidden owner window of the hand-off exists), an exit code but 0.
  std::string seen;
  // Files and folders written in the sandbox and WININIT.INI ("+ path:
  // content", "~ ...", "- path"), and deletions scheduled for the next start
  // of Windows ("+ delete at restart: path"), which no row should make.
  std::vector<std::string> changes;
  // The page handed over, in Chromium: its window.open and window.close
  // calls, or "shows: <html>" under the browser's popup blocker, "throws,
  // shows: <html>" when window.open throws (Wine only).
  std::string browser;
  std::string program = "launch.exe";
  std::string folder;           // the program's, within the sandbox
  std::string temp = "temp\\";  // TMP and TEMP, within the program's folder unless a full name
  bool win98 = false;           // Wine reports Windows 98 (Wine only)
  bool no_mailto = false;       // nothing handles mailto: addresses
  bool desktop_shell = false;     // the desktop shell runs as the user, not elevated (Wine only)
  int copies = 1;               // launchers started at once with the same line
};

// Rows whose name holds "Japanese" run with code page 932 (LC_ALL=ja_JP.UTF-8).
void run_row(const Row& row);

// The launch page file, with the values as its script holds them.
std::string page(const std::string& address, const std::string& name, const std::string& features);
// Expected changes in the program's folder.
std::string added(const std::string& path, const std::string& content);

}  // namespace e2e
