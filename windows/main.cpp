// The configurator.
#include "windows/program.h"

int main(int argc, char** argv) { return Program_Main(argc, argv); }
