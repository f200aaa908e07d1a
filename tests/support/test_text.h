// Helpers for comparing Text with std::string in test expectations.
#pragma once

#include <string>

#include "common/text.h"

inline std::string str(const Text& text) { return std::string(text.c_str(), text.length()); }
inline Text text(const std::string& s) { return Text(s.data(), s.size()); }
