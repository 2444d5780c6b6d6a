#include "application.h"

int main(int argc, char** argv) { return kvorn::RunCalculator(argc, argv); }
