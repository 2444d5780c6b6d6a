#include "window_class.h"

#include <stdexcept>

#include "resource_ids.h"

namespace kvorn {

void RegisterWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, HCURSOR cursor)
{
    WNDCLASSEXW type = {};
    type.cbSize = sizeof type;
    type.lpfnWndProc = procedure;
    type.hInstance = instance;
    // Every class carries the same icons: read from the resources once.
    static HINSTANCE iconsOf = nullptr;
    static HICON large = nullptr, small = nullptr;
    if (iconsOf != instance) {
        iconsOf = instance;
        large = LoadIconW(instance, MAKEINTRESOURCEW(IDI_SHIP));
        small = HICON(LoadImageW(instance, MAKEINTRESOURCEW(IDI_SHIP), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                 GetSystemMetrics(SM_CYSMICON), 0));
    }
    type.hIcon = large;
    type.hIconSm = small;
    type.hCursor = cursor;
    type.lpszClassName = name;
    if (!RegisterClassExW(&type) && !GetClassInfoExW(instance, name, &type))
        throw std::runtime_error("The window class cannot be registered");
}

}  // namespace kvorn
