// Reads the settings file through the system's profile calls.
#include "settings/settings.h"

#include "common/system_win32.h"
#include "common/file_names.h"

Text settings_file(const Text& program_path) {
  Text file = change_file_ext(program_path, ".ini");
  // The name of earlier versions' settings file: the CD menus that ship one keep working.
  return file_exists(file) ? file : extract_file_path(program_path) + "MOXLAB.INI";
}

Text read_setting(const Text& file, const char* section, const char* key) {
  return profile_string(file, section, key);
}
