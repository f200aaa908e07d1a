#include <windows.h>

#include "launcher/arguments.h"
#include "settings/file_names.h"
#include "settings/settings.h"

Text read_setting(const Text& section, const Text& key) {
  Text program = argument(0);
  Text file = change_file_ext(program, ".ini");
  if (!file_exists(file)) file = extract_file_path(program) + "MOXLAB.INI";
  char value[1024];
  DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), "", value, sizeof value,
                                          file.c_str());
  return Text(value, length < sizeof value ? length : sizeof value - 1);
}
