// Fuzzes the list file reader (-F): the input is the list; two files exist
// in the working folder for its lines to name.
#include "fuzz_support.h"

#include <cstring>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  vek_fuzz::Enter();
  vek_fuzz::WriteText("small.cpp", vek_fuzz::kSmallSource);
  vek_fuzz::WriteText("a.h", "int f(void);\n");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A list line may ask for a walk of any folder ("-r c /"): a walk of the
  // whole machine is a long run, not a fault.  Lists that leave the
  // working folder are not tried.
  if (memchr(data, '/', size) != nullptr || memchr(data, '\\', size) != nullptr ||
      memmem(data, size, "..", 2) != nullptr || memchr(data, '~', size) != nullptr)
    return 0;
  vek_fuzz::WriteFile("in.lst", data, size);
  vek_fuzz::RunVek({"-s", "-F", "in.lst"});
  vek_fuzz::RunVek({"-Rl", "-Rn", "-F", "in.lst"});
  vek_fuzz::Remove("in.lst");
  return 0;
}
