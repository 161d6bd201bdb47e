// Fuzzes the line data loader and the line comparison (-wd -wx): two sound
// baselines of a small file are made once; the input replaces the newer
// baseline's line data file of that source, and both orders are compared
// with the line details (-ws).
#include "fuzz_support.h"

#include <dirent.h>
#include <sys/stat.h>

#include <string>

namespace {

std::string dif_name;  // new.dat.dif/<the flattened source name>

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  vek_fuzz::Enter();
  mkdir("src", 0755);
  vek_fuzz::WriteText("src/small.cpp", vek_fuzz::kSmallSource);
  vek_fuzz::RunVek({"-wd", "-wFile dat old.dat", "-wcreate src",
                    "src/small.cpp"});
  vek_fuzz::WriteText("src/small.cpp", "int main(void)\n{\n  return 0;\n}\n");
  vek_fuzz::RunVek({"-wd", "-wFile dat new.dat", "-wcreate src",
                    "src/small.cpp"});
  if (DIR* d = opendir("new.dat.dif")) {
    while (dirent* e = readdir(d)) {
      if (e->d_name[0] != '.') dif_name = std::string("new.dat.dif/") + e->d_name;
    }
    closedir(d);
  }
  if (dif_name.empty()) abort();  // the baseline wrote no line data
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vek_fuzz::WriteFile(dif_name.c_str(), data, size);
  vek_fuzz::RunVek({"-wd", "-ws", "-wx old.dat, new.dat"});
  vek_fuzz::RunVek({"-H", "-wd", "-ws", "-wg", "-xDIFFDEBUG",
                    "-wx new.dat, old.dat"});
  return 0;
}
