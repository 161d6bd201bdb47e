// Fuzzes the analysis of one source file with every analysis on: functions
// with complexity details, classes and the inheritance tree, notices,
// keywords, the line trace, XML and CSV reports, and the comment and string
// extraction.  The first byte picks the language.
#include "fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  vek_fuzz::Enter();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const char* const kNames[] = {"in.c", "in.cpp", "in.java", "in.cs",
                                       "in.h"};
  const char* name = kNames[size > 0 ? data[0] % 5 : 0];
  vek_fuzz::WriteFile(name, data, size);
  vek_fuzz::RunVek({"-fa", "-fd", "-fm", "-c", "-n", "-o", "-i", "-a", "-m",
                    "-v", "-l", "-e", "-d", "-Ta", name});
  vek_fuzz::RunVek({"-X", "-Ta", "-fa", "-c", "-n", "-o", "-i", name});
  vek_fuzz::RunVek({"-C", "-fa", "-c", "-n", "-o", name});
  vek_fuzz::RunVek({"-Ec", "-Es", name});
  vek_fuzz::RunVek({"-EC", name});
  vek_fuzz::Remove(name);
  return 0;
}
