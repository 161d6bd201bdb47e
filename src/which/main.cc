#include "which/path_lookup.h"

int main(int argc, char** argv) {
  return which::RunWhich(argc, argv, stdin, stdout);
}
