// Fuzzes the list file reader (-F): the input is the list; two files exist
// in the working folder for its lines to name.
#include "fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  vek_fuzz::Enter();
  vek_fuzz::WriteText("small.cpp", vek_fuzz::kSmallSource);
  vek_fuzz::WriteText("a.h", "int f(void);\n");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vek_fuzz::WriteFile("in.lst", data, size);
  vek_fuzz::RunVek({"-s", "-F", "in.lst"});
  vek_fuzz::RunVek({"-Rl", "-Rn", "-F", "in.lst"});
  vek_fuzz::Remove("in.lst");
  return 0;
}
