#include "application.h"

int main(int argc, char** argv) { return RunCalculator(argc, argv); }
