// Fuzzes the macro file reader: the input is vek_macro.cfg, and a small file
// that uses a macro is analysed with it.
#include "fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  vek_fuzz::Enter();
  vek_fuzz::WriteText("small.cpp", vek_fuzz::kSmallSource);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vek_fuzz::WriteFile("vek_macro.cfg", data, size);
  vek_fuzz::RunVek({"-fa", "-c", "-n", "-o", "-i", "small.cpp"});
  vek_fuzz::Remove("vek_macro.cfg");
  return 0;
}
