// Fuzzes the conversion of workspace, project and solution files into a
// list file (-F with a .dsw, .dsp or .sln name); the first byte picks the
// kind, and a .sln's project files are the input again under the names it
// is most likely to give.
#include "fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  vek_fuzz::Enter();
  vek_fuzz::WriteText("small.cpp", vek_fuzz::kSmallSource);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const char* const kNames[] = {"in.dsw", "in.dsp", "in.sln",
                                       "in.DSP"};
  const char* name = kNames[size > 0 ? data[0] % 4 : 0];
  vek_fuzz::WriteFile(name, data, size);
  vek_fuzz::WriteFile("p.vcproj", data, size);
  vek_fuzz::WriteFile("p.vcxproj", data, size);
  vek_fuzz::RunVek({"-s", "-F", name});
  vek_fuzz::Remove(name);
  vek_fuzz::Remove("veklist.lst");
  return 0;
}
