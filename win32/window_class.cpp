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
    type.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_SHIP));
    type.hIconSm = HICON(LoadImageW(instance, MAKEINTRESOURCEW(IDI_SHIP), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                    GetSystemMetrics(SM_CYSMICON), 0));
    type.hCursor = cursor;
    type.lpszClassName = name;
    if (!RegisterClassExW(&type) && !GetClassInfoExW(instance, name, &type))
        throw std::runtime_error("The window class cannot be registered");
}

}  // namespace kvorn
