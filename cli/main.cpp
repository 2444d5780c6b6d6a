#include <iostream>

#include "regional_settings.h"
#include "scorer.h"

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    return kvorn::cli::Run({argv + 1, argv + argc}, std::cin, std::cout, std::cerr, kvorn::RegionalSeparator());
}
