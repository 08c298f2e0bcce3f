#pragma once
// Reaching Windows Runtime classes by name, as any program does: their activation factory for
// statics, RoActivateInstance for objects made with the default constructor.

#include "framework/winrt/RuntimeError.h"
#include "framework/winrt/WinRtInterfaces.h"

#include <string>

namespace WinRt
{
// The class's factory asked for iid; failures raise RuntimeError.
void GetActivationFactory(const wchar_t* className, REFIID iid, void** factory);

template <typename I>
ComPtr<I> GetFactory(const wchar_t* className)
{
    ComPtr<I> factory;
    GetActivationFactory(className, __uuidof(I), reinterpret_cast<void**>(&factory));
    return factory;
}

// A new object of the class, asked for I; failures raise RuntimeError.
ComPtr<IInspectable> ActivateInstance(const wchar_t* className);
template <typename I>
ComPtr<I> Activate(const wchar_t* className)
{
    ComPtr<IInspectable> instance = ActivateInstance(className);
    ComPtr<I> result;
    const HRESULT hr = instance->QueryInterface(__uuidof(I), reinterpret_cast<void**>(&result));
    if (FAILED(hr))
        throw RuntimeError(hr);
    return result;
}
} // namespace WinRt
