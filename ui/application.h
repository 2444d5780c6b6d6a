#pragma once

namespace kvorn {

// Starts the calculator: the application object with its title and icon,
// the one window, and the message loop until that window closes.
int RunCalculator(int argc, char** argv);

// The application's name, title (the boxes' caption), desktop entry and
// style, as the program sets them once the application object exists.
void NameApplication();

// Qt's own texts (the fields' context menus) in Russian, as the rest of
// the window, from Qt's translations where they are installed.
void TranslateQtIntoRussian();

}  // namespace kvorn
