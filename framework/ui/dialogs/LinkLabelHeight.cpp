#include "framework/ui/dialogs/LinkLabelHeight.h"

#include <commctrl.h>

namespace
{
// LM_GETIDEALSIZE: the message of LM_GETIDEALHEIGHT, given a maximum width and a SIZE to fill.
constexpr UINT getIdealSize = WM_USER + 0x301;
} // namespace

int GetLinkLabelIdealHeight(HWND label, int width)
{
    if (!label || width <= 0)
        return 0;
    SIZE ideal{};
    SendMessageW(label, getIdealSize, static_cast<WPARAM>(width), reinterpret_cast<LPARAM>(&ideal));
    return ideal.cy > 0 ? static_cast<int>(ideal.cy) : 0;
}
