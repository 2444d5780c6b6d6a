#pragma once

// Starts the calculator: the application object with its title and icon,
// the one window, and the message loop until that window closes.
int RunCalculator(int argc, char** argv);
