// Launchers are often started from a Downloads folder, where a planted DLL
// could wait for them: the program's own folder, which it also makes the
// current directory, must never be searched for DLLs.
#pragma once

// Limits the DLL search to the system folder. Called at start-up, right
// after start_system_calls, before any DLL is loaded by name. Where Windows lacks SetDefaultDllDirectories
// (before Windows 8, or 7 without update KB2533623) only the current
// directory can be taken out; before XP SP1 nothing changes.
void restrict_dll_search();
