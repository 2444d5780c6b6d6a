#include "application.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    return kvorn::RunCalculator(instance, showCommand);
}
