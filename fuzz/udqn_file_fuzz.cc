// Fuzzes the user defined notice reader: the input is vek_udqn.cfg (and an
// include file it may name); its rules are then tried on a small file and
// listed with -xUDQNSHOW.
#include "fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  vek_fuzz::Enter();
  vek_fuzz::WriteText("small.cpp", vek_fuzz::kSmallSource);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vek_fuzz::WriteFile("vek_udqn.cfg", data, size);
  vek_fuzz::WriteFile("extra.cfg", data, size);
  vek_fuzz::RunVek({"-n", "-fa", "-o", "small.cpp"});
  vek_fuzz::RunVek({"-xUDQNSHOW"});
  vek_fuzz::Remove("vek_udqn.cfg");
  vek_fuzz::Remove("extra.cfg");
  return 0;
}
