#pragma once
// Runs the form's key-press handler on every character typed into an edit
// (or a combo box's text part) before the edit sees it.

#include <windows.h>

#include "form_view.h"
#include "tform1.h"

namespace kvorn {

// `edit` must be destroyed before `form`.
void AttachKeystrokeRule(HWND edit, TForm1& form, Control control);

}  // namespace kvorn
