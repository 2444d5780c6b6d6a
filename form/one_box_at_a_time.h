#pragma once
// The boxes' guard, on every platform: a failure raised while a box is open
// must not stack a second box behind it.

namespace kvorn {

// Runs `show` unless a box is already open; `showing` is the one flag all of
// a window's boxes share.
template <class Show>
void OneBoxAtATime(bool& showing, Show&& show)
{
    if (showing)
        return;
    showing = true;
    show();
    showing = false;
}

}  // namespace kvorn
