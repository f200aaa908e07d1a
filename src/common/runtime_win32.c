/* The few C library functions the program and its compiler call, so that it
   needs no C runtime DLL: Windows 95 shipped without msvcrt.dll. Memory comes
   from the process heap. Built with -fno-builtin and without loop-to-call
   rewriting, so that no loop here becomes a call of itself. */
#include <stddef.h>
#include <windows.h>

void* malloc(size_t size) { return HeapAlloc(GetProcessHeap(), 0, size); }

void free(void* memory) {
  if (memory != NULL) HeapFree(GetProcessHeap(), 0, memory);
}

void* memmove(void* to, const void* from, size_t count) {
  unsigned char* t = to;
  const unsigned char* f = from;
  if (t < f) {
    while (count-- > 0) *t++ = *f++;
  } else {
    while (count-- > 0) t[count] = f[count];
  }
  return to;
}

void* memcpy(void* to, const void* from, size_t count) { return memmove(to, from, count); }

void* memset(void* to, int value, size_t count) {
  unsigned char* t = to;
  while (count-- > 0) *t++ = (unsigned char)value;
  return to;
}

int memcmp(const void* a, const void* b, size_t count) {
  const unsigned char* x = a;
  const unsigned char* y = b;
  for (; count > 0; ++x, ++y, --count)
    if (*x != *y) return *x - *y;
  return 0;
}

size_t strlen(const char* text) {
  size_t length = 0;
  while (text[length] != 0) ++length;
  return length;
}

char* strchr(const char* text, int c) {
  for (;; ++text) {
    if (*text == (char)c) return (char*)text;
    if (*text == 0) return NULL;
  }
}
