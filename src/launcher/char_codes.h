// Failure texts may name any byte by a five-character code "<#hh>", where hh
// is two hexadecimal digits: "<#0D>" is a carriage return, "<#20>" a blank.
#pragma once

#include "common/text.h"

// 0 to 15 for a hexadecimal digit; 0 for any other character.
int hex_digit_value(char c);
// The text with every complete, well-formed code replaced by its byte. A
// produced byte is never examined again; anything else is copied unchanged.
// The bytes of consecutive codes are one text of the ANSI code page, which
// from_code_bytes turns into the program's own form of text.
Text decode_char_codes(const Text& text, Text (*from_code_bytes)(const Text&));
