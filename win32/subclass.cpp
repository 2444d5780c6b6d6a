#include "subclass.h"

#include <vector>

namespace kvorn {

namespace {

struct Entry {
    HWND window;
    SubclassId id;
    WNDPROC under;
    SubclassProcedure procedure;
    DWORD_PTR data;
};

// Kept in the program, not in window properties: under Wine each property
// read is a trip to the server, and every message of a field takes several.
// A window's messages come on the thread that made it, and so do its entries.
thread_local std::vector<Entry> entries;

Entry* EntryOf(HWND window, SubclassId id)
{
    for (Entry& entry : entries)
        if (entry.window == window && entry.id == id)
            return &entry;
    return nullptr;
}

// Windows calls a window procedure with nothing but the message: one
// procedure for each id finds its own entry.
template <SubclassId Id>
LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const Entry* entry = EntryOf(window, Id);
    if (!entry)
        return DefWindowProcW(window, message, wParam, lParam);
    // Copied: the procedure may subclass other windows, which can move the entries.
    const Entry self = *entry;
    const LRESULT result = self.procedure(window, message, wParam, lParam, self.data);
    if (message == WM_NCDESTROY)  // the last message the window gets
        std::erase_if(entries, [&](const Entry& e) { return e.window == window && e.id == Id; });
    return result;
}

WNDPROC ProcedureOf(SubclassId id)
{
    switch (id) {
    case KeystrokeRuleSubclass: return Procedure<KeystrokeRuleSubclass>;
    case EditSelectionSubclass: return Procedure<EditSelectionSubclass>;
    case SelectorStepSubclass: return Procedure<SelectorStepSubclass>;
    }
    return nullptr;
}

}  // namespace

void Subclass(HWND window, SubclassId id, SubclassProcedure procedure, DWORD_PTR data)
{
    if (EntryOf(window, id))
        return;
    entries.push_back({window, id, nullptr, procedure, data});
    const auto under = WNDPROC(SetWindowLongPtrW(window, GWLP_WNDPROC, LONG_PTR(ProcedureOf(id))));
    if (under)
        entries.back().under = under;
    else
        entries.pop_back();
}

LRESULT CallUnder(SubclassId id, HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const Entry* entry = EntryOf(window, id);
    return entry && entry->under ? CallWindowProcW(entry->under, window, message, wParam, lParam)
                                 : DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace kvorn
