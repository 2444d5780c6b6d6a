#include "subclass.h"

namespace kvorn {

namespace {

struct Entry {
    WNDPROC under;
    SubclassProcedure procedure;
    DWORD_PTR data;
};

const wchar_t* PropertyOf(SubclassId id)
{
    switch (id) {
    case KeystrokeRuleSubclass: return L"kvorn.keystroke-rule";
    case EditSelectionSubclass: return L"kvorn.edit-selection";
    case SelectorStepSubclass: return L"kvorn.selector-step";
    }
    return L"kvorn.subclass";
}

Entry* EntryOf(HWND window, SubclassId id) { return static_cast<Entry*>(GetPropW(window, PropertyOf(id))); }

// Windows calls a window procedure with nothing but the message: one
// procedure for each id finds its own entry.
template <SubclassId Id>
LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Entry* entry = EntryOf(window, Id);
    if (!entry)
        return DefWindowProcW(window, message, wParam, lParam);
    const LRESULT result = entry->procedure(window, message, wParam, lParam, entry->data);
    if (message == WM_NCDESTROY) {  // the last message the window gets
        RemovePropW(window, PropertyOf(Id));
        delete entry;
    }
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
    auto* entry = new Entry{nullptr, procedure, data};
    if (!SetPropW(window, PropertyOf(id), entry)) {
        delete entry;
        return;
    }
    entry->under = WNDPROC(SetWindowLongPtrW(window, GWLP_WNDPROC, LONG_PTR(ProcedureOf(id))));
}

LRESULT CallUnder(SubclassId id, HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const Entry* entry = EntryOf(window, id);
    return entry && entry->under ? CallWindowProcW(entry->under, window, message, wParam, lParam)
                                 : DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace kvorn
