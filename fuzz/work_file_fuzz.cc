// Fuzzes the work file reader (-wx): the input is the newer work file; the
// older one is a sound baseline of a small tree, made once.  Both orders
// are compared, in text and XML, with and without line data.
#include "fuzz_support.h"

#include <sys/stat.h>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  vek_fuzz::Enter();
  mkdir("src", 0755);
  vek_fuzz::WriteText("src/small.cpp", vek_fuzz::kSmallSource);
  vek_fuzz::WriteText("src/a.h", "int f(void);\n");
  vek_fuzz::RunVek({"-wd", "-wFile dat old.dat", "-wcreate src",
                    "src/small.cpp", "src/a.h"});
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vek_fuzz::WriteFile("new.dat", data, size);
  vek_fuzz::RunVek({"-wx old.dat, new.dat"});
  vek_fuzz::RunVek({"-X", "-wg", "-k3", "-wx new.dat, old.dat"});
  vek_fuzz::RunVek({"-wd", "-ws", "-wx old.dat, new.dat"});
  vek_fuzz::Remove("new.dat");
  return 0;
}
