// Test programs treat running out of memory as a failure.
#include <stdio.h>
#include <stdlib.h>

#include "common/text.h"

void out_of_memory() {
  fputs("out of memory\n", stderr);
  abort();
}
