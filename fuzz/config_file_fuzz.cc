// Fuzzes the configuration reader: the input is vek.cfg; the run shows the
// settings and then analyses a small file under them.
#include "fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  vek_fuzz::Enter();
  vek_fuzz::WriteText("small.cpp", vek_fuzz::kSmallSource);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vek_fuzz::WriteFile("vek.cfg", data, size);
  vek_fuzz::RunVek({"-hc"});
  vek_fuzz::WriteFile("vek.cfg", data, size);
  vek_fuzz::RunVek({"-fa", "-c", "-n", "-o", "-i", "-v", "-Ta", "small.cpp"});
  vek_fuzz::Remove("vek.cfg");
  return 0;
}
