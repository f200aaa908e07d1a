// The launch page: a small local web page whose script opens an address in a
// new, named browser window with the given features and then closes itself.
#pragma once

#include "common/text.h"

// The page text for three UTF-8 values, which the browser reads exactly,
// whatever character set it assumes: lines of ASCII, each ended by CR LF. In
// the script's strings a backslash, double quote, "<", control character and
// DEL is written as \xHH, every character from U+0080 up as \uXXXX (two for
// one beyond U+FFFF); a byte that starts no UTF-8 character stands for U+FFFD.
// A relative address opens from base_url (see folder_url). The page renders
// in standards mode, and carries the Mark of the Web, so that Internet
// Explorer runs its script as that of a page from the Internet.
Text build_launch_page(const Text& address, const Text& name, const Text& features, const Text& base_url);
// The address of a folder (UTF-8, with its trailing backslash) as a file URL
// ("C:\My docs\" gives "file:///C:/My%20docs/"): every byte but ASCII letters,
// digits and "-._~:" percent-encoded, so it is safe in the page too.
Text folder_url(const Text& folder);

// name in folder, with a backslash between them when folder lacks one.
Text in_folder(const Text& folder, const char* name);
// The full name of the page file number n in folder: "VexaTmp<n>.HTML".
Text launch_page_file_name(const Text& folder, long n);
// The n of a name "VexaTmp<n>.HTML" in any letter case (n in decimal, with no
// leading zero); 0 for any other name.
long page_number(const Text& name);
// Whether a file's name and content are those of a page written by this
// program or an earlier version: the exact name, the fixed lines around the
// lines that hold the values.
bool is_launch_page_name(const Text& name);
bool is_launch_page_file(const Text& content);

// The page numbers that names in the temporary folder take.
class PageNumbers {
 public:
  void take(long n);  // numbers beyond the first 65,536 are not kept
  // The least number that is not taken and not below from.
  long first_free(long from) const;

 private:
  Text taken_;  // byte n is 1 when n is taken
};

// Writes launch pages into the temporary folder.
class LaunchPageWriter {
 public:
  // Writes page_text and one more CR LF into a new file "VexaTmp<n>.HTML"
  // with the least n free, and returns its full name; the empty text when it
  // could not be created, written or closed, and then nothing of it is left.
  // An existing name is never reused. The first call reads the folder in one pass, which also removes
  // the pages of earlier runs (see page_cleanup.h).
  Text write(const Text& page_text);

 private:
  void read_folder(const Text& folder);

  bool folder_read_ = false;
  PageNumbers taken_;
};
