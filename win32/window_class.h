#pragma once
// The program's window classes: each carries the ship icon, large and small.

#include <windows.h>

namespace kvorn {

// Registers the class, or finds it registered before; throws
// std::runtime_error when Windows refuses.
void RegisterWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, HCURSOR cursor = nullptr);

}  // namespace kvorn
