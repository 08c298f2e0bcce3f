#include "framework/winrt/Activation.h"

#include "framework/winrt/HString.h"
#include "framework/winrt/RuntimeError.h"

#include <roapi.h>

namespace WinRt
{
void GetActivationFactory(const wchar_t* className, REFIID iid, void** factory)
{
    const HString name(className);
    ThrowIfRuntimeFailed(::RoGetActivationFactory(name.get(), iid, factory));
}

ComPtr<IInspectable> ActivateInstance(const wchar_t* className)
{
    const HString name(className);
    ComPtr<IInspectable> instance;
    ThrowIfRuntimeFailed(::RoActivateInstance(name.get(), reinterpret_cast<IInspectable**>(&instance)));
    return instance;
}
} // namespace WinRt
