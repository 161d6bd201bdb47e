#include "driver/run.h"

int main(int argc, char** argv) { return vek::Run(argc, argv); }
