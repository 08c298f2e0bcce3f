#include "framework/winrt/HString.h"

#include <comdef.h>

namespace WinRt
{
HString::HString(const std::wstring& text)
{
    const HRESULT hr = ::WindowsCreateString(text.c_str(), static_cast<UINT32>(text.size()), &value_);
    if (FAILED(hr))
        _com_issue_error(hr);
}

void HString::reset(HSTRING value) noexcept
{
    HSTRING old = std::exchange(value_, value);
    if (old)
        ::WindowsDeleteString(old);
}

std::wstring HString::TextOf(HSTRING value)
{
    UINT32 length = 0;
    const wchar_t* characters = ::WindowsGetStringRawBuffer(value, &length);
    return characters ? std::wstring(characters, length) : std::wstring();
}
} // namespace WinRt
