#pragma once
// The IDispatch half of the stand-in's dual interfaces. A member table names each member of the
// interface with its dispatch id; Invoke converts the VARIANT arguments and calls the member
// through the interface's own vtable slot, so that a late-bound call and an early-bound call
// land in the same implementation. Out-parameters go to a by-reference argument at their
// position, or to the result when the caller passed none there (a retval).
//
// Not framework's Dispatch<T>: that one writes every late-bound call to the program's log and
// maps errors the program's way, while the stand-in must answer as OneNote does.

#include "framework/com/UnknownImpl.h"

#include <oaidl.h>
#include <oleauto.h>

#include <tuple>
#include <type_traits>
#include <vector>

namespace StandIn
{
enum class MemberKind
{
    Method,
    Get,
    Put,
};

struct DispatchEntry
{
    const wchar_t* name;
    DISPID id;
    MemberKind kind;
    HRESULT (*invoke)(IDispatch* self, DISPPARAMS* params, VARIANT* result);
};

namespace Detail
{
// The VARIANT argument at position index (in the member's order), or null when not passed.
inline VARIANT* ArgumentAt(DISPPARAMS* params, size_t index)
{
    if (!params || index >= params->cArgs)
        return nullptr;
    return &params->rgvarg[params->cArgs - 1 - index];
}

template <typename T>
constexpr VARTYPE VariantTypeOf()
{
    if constexpr (std::is_same_v<T, BSTR>)
        return VT_BSTR;
    else if constexpr (std::is_same_v<T, VARIANT_BOOL>)
        return VT_BOOL;
    else if constexpr (std::is_same_v<T, ULONG>)
        return VT_UI4;
    else if constexpr (std::is_same_v<T, double>)
        return VT_R8;
    else if constexpr (std::is_same_v<T, ULONGLONG>)
        return VT_UI8;
    else if constexpr (std::is_same_v<T, POINT>)
        return VT_I8;
    else
        return VT_I4; // enumerations and LONG
}

template <typename T>
void ReadScalar(const VARIANT& v, T& out)
{
    if constexpr (std::is_same_v<T, BSTR>)
        out = v.bstrVal;
    else if constexpr (std::is_same_v<T, VARIANT_BOOL>)
        out = v.boolVal;
    else if constexpr (std::is_same_v<T, ULONG>)
        out = v.ulVal;
    else if constexpr (std::is_same_v<T, double>)
        out = v.dblVal;
    else if constexpr (std::is_same_v<T, ULONGLONG>)
        out = v.ullVal;
    else if constexpr (std::is_same_v<T, POINT>)
        out = POINT{static_cast<LONG>(v.llVal & 0xFFFFFFFF), static_cast<LONG>(v.llVal >> 32)};
    else
        out = static_cast<T>(v.lVal);
}

// Fills an empty VARIANT with value, taking over what it owns (a BSTR, an interface reference).
template <typename T>
void WriteScalar(VARIANT& v, T value)
{
    v.vt = VariantTypeOf<T>();
    if constexpr (std::is_same_v<T, BSTR>)
        v.bstrVal = value;
    else if constexpr (std::is_same_v<T, VARIANT_BOOL>)
        v.boolVal = value;
    else if constexpr (std::is_same_v<T, ULONG>)
        v.ulVal = value;
    else if constexpr (std::is_same_v<T, double>)
        v.dblVal = value;
    else if constexpr (std::is_same_v<T, ULONGLONG>)
        v.ullVal = value;
    else if constexpr (std::is_same_v<T, POINT>)
        v.llVal = (static_cast<LONGLONG>(value.y) << 32) | static_cast<ULONG>(value.x);
    else
        v.lVal = static_cast<LONG>(value);
}

template <typename T>
struct Parameter; // in-parameters by value

template <typename T>
requires(!std::is_pointer_v<T> || std::is_same_v<T, BSTR>) struct Parameter<T>
{
    VARIANT converted{};
    T value{};
    Parameter() { VariantInit(&converted); }
    ~Parameter() { VariantClear(&converted); }
    HRESULT Load(DISPPARAMS* params, size_t index, T fallback)
    {
        value = fallback;
        VARIANT* argument = ArgumentAt(params, index);
        if (!argument || (argument->vt == VT_ERROR && argument->scode == DISP_E_PARAMNOTFOUND))
            return S_OK;
        const HRESULT hr = VariantChangeType(&converted, argument, 0, VariantTypeOf<T>());
        if (FAILED(hr))
            return DISP_E_TYPEMISMATCH;
        ReadScalar(converted, value);
        return S_OK;
    }
    T Get() { return value; }
    void Store(DISPPARAMS*, size_t, VARIANT*, bool) {}
};

// An interface passed in (the quick filing callback).
template <typename I>
requires std::is_base_of_v<IUnknown, I> struct Parameter<I*>
{
    I* value = nullptr;
    ~Parameter()
    {
        if (value)
            value->Release();
    }
    HRESULT Load(DISPPARAMS* params, size_t index, I*)
    {
        VARIANT* argument = ArgumentAt(params, index);
        if (!argument)
            return S_OK;
        IUnknown* unknown = nullptr;
        if (argument->vt == VT_DISPATCH || argument->vt == VT_UNKNOWN)
            unknown = argument->punkVal;
        else if (argument->vt == (VT_BYREF | VT_DISPATCH) || argument->vt == (VT_BYREF | VT_UNKNOWN))
            unknown = *argument->ppunkVal;
        else
            return DISP_E_TYPEMISMATCH;
        if (unknown && FAILED(unknown->QueryInterface(__uuidof(I), reinterpret_cast<void**>(&value))))
            return DISP_E_TYPEMISMATCH;
        return S_OK;
    }
    I* Get() { return value; }
    void Store(DISPPARAMS*, size_t, VARIANT*, bool) {}
};

// Out-parameters: a local that the member fills, handed to the caller afterwards.
template <typename T>
requires(!std::is_base_of_v<IUnknown, T> && !std::is_same_v<T, OLECHAR> &&
         (!std::is_pointer_v<T> || std::is_same_v<T, BSTR>)) struct Parameter<T*>
{
    T value{};
    HRESULT Load(DISPPARAMS*, size_t, T*) { return S_OK; }
    T* Get() { return &value; }
    void Store(DISPPARAMS* params, size_t index, VARIANT* result, bool last)
    {
        VARIANT* argument = ArgumentAt(params, index);
        if (argument && argument->vt == (VT_BYREF | VariantTypeOf<T>()))
        {
            if constexpr (std::is_same_v<T, BSTR>)
            {
                SysFreeString(*argument->pbstrVal);
                *argument->pbstrVal = value;
            }
            else if constexpr (std::is_same_v<T, POINT>)
            {
                VARIANT temporary;
                WriteScalar(temporary, value);
                *argument->pllVal = temporary.llVal;
            }
            else
            {
                *static_cast<T*>(argument->byref) = value;
            }
            value = T{};
        }
        else if (argument && argument->vt == (VT_BYREF | VT_VARIANT))
        {
            VariantClear(argument->pvarVal);
            WriteScalar(*argument->pvarVal, value);
            value = T{};
        }
        else if (last && result)
        {
            VariantClear(result);
            WriteScalar(*result, value);
            value = T{};
        }
        if constexpr (std::is_same_v<T, BSTR>)
            SysFreeString(value);
    }
};

template <typename I>
requires std::is_base_of_v<IUnknown, I> struct Parameter<I**>
{
    I* value = nullptr;
    HRESULT Load(DISPPARAMS*, size_t, I**) { return S_OK; }
    I** Get() { return &value; }
    void Store(DISPPARAMS* params, size_t index, VARIANT* result, bool last)
    {
        constexpr VARTYPE type = std::is_base_of_v<IDispatch, I> ? VT_DISPATCH : VT_UNKNOWN;
        VARIANT* argument = ArgumentAt(params, index);
        if (argument && argument->vt == (VT_BYREF | type))
        {
            if (*argument->ppunkVal)
                (*argument->ppunkVal)->Release();
            *argument->ppunkVal = value;
            value = nullptr;
        }
        else if (argument && argument->vt == (VT_BYREF | VT_VARIANT))
        {
            VariantClear(argument->pvarVal);
            argument->pvarVal->vt = type;
            argument->pvarVal->punkVal = value;
            value = nullptr;
        }
        else if (last && result)
        {
            VariantClear(result);
            result->vt = type;
            result->punkVal = value;
            value = nullptr;
        }
        if (value)
            value->Release();
    }
};

// Trailing optional arguments of OneNote's members: a schema left out means the 2013 schema.
template <typename T>
T DefaultOf()
{
    if constexpr (std::is_enum_v<T>)
    {
        if constexpr (requires { T::xs2013; })
            return T::xs2013;
        else
            return T{};
    }
    else
    {
        return T{};
    }
}

template <typename C, typename... A, size_t... I>
HRESULT CallMember(IDispatch* self, HRESULT (STDMETHODCALLTYPE C::*member)(A...), [[maybe_unused]] DISPPARAMS* params,
                   [[maybe_unused]] VARIANT* result,
                   std::index_sequence<I...>)
{
    C* object = static_cast<C*>(self);
    std::tuple<Parameter<A>...> parameters;
    HRESULT hr = S_OK;
    ((hr = SUCCEEDED(hr) ? std::get<I>(parameters).Load(params, I, DefaultOf<A>()) : hr), ...);
    if (FAILED(hr))
        return hr;
    hr = (object->*member)(std::get<I>(parameters).Get()...);
    if (SUCCEEDED(hr))
        (std::get<I>(parameters).Store(params, I, result, I + 1 == sizeof...(A)), ...);
    else
        (std::get<I>(parameters).Store(nullptr, I, nullptr, false), ...);
    return hr;
}

template <typename C, typename... A>
HRESULT CallMember(IDispatch* self, HRESULT (STDMETHODCALLTYPE C::*member)(A...), DISPPARAMS* params, VARIANT* result)
{
    return CallMember(self, member, params, result, std::index_sequence_for<A...>{});
}
} // namespace Detail

template <auto Member>
HRESULT InvokeMember(IDispatch* self, DISPPARAMS* params, VARIANT* result)
{
    return Detail::CallMember(self, Member, params, result);
}

#define STANDIN_WIDE2(x) L##x
#define STANDIN_WIDE(x) STANDIN_WIDE2(x)
#define STANDIN_METHOD(Interface, Name, Id) \
    StandIn::DispatchEntry { STANDIN_WIDE(#Name), Id, StandIn::MemberKind::Method, &StandIn::InvokeMember<&Interface::Name> }
#define STANDIN_GET(Interface, Name, Id) \
    StandIn::DispatchEntry { STANDIN_WIDE(#Name), Id, StandIn::MemberKind::Get, &StandIn::InvokeMember<&Interface::get_##Name> }
#define STANDIN_PUT(Interface, Name, Id) \
    StandIn::DispatchEntry { STANDIN_WIDE(#Name), Id, StandIn::MemberKind::Put, &StandIn::InvokeMember<&Interface::put_##Name> }

// IUnknown, IDispatch by name and ISupportErrorInfo for one dual interface T.
template <typename T>
class DualDispatch : public UnknownImpl<T>, public ISupportErrorInfo
{
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override { return UnknownImpl<T>::QueryInterface(riid, ppv); }
    STDMETHODIMP_(ULONG) AddRef() override { return UnknownImpl<T>::AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return UnknownImpl<T>::Release(); }

    STDMETHODIMP GetTypeInfoCount(UINT* count) override
    {
        if (!count)
            return E_POINTER;
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override
    {
        if (info)
            *info = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override
    {
        if (!names || !ids)
            return E_POINTER;
        HRESULT hr = S_OK;
        for (UINT i = 0; i < count; ++i)
            ids[i] = DISPID_UNKNOWN;
        if (count == 0)
            return S_OK;
        for (const DispatchEntry& entry : Members())
            if (_wcsicmp(entry.name, names[0]) == 0)
            {
                ids[0] = entry.id;
                break;
            }
        if (ids[0] == DISPID_UNKNOWN)
            hr = DISP_E_UNKNOWNNAME;
        // Parameter names are not known by name: callers pass arguments by position.
        if (count > 1)
            hr = DISP_E_UNKNOWNNAME;
        return hr;
    }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                        UINT*) override
    {
        const DispatchEntry* chosen = nullptr;
        for (const DispatchEntry& entry : Members())
        {
            if (entry.id != id)
                continue;
            const bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
            if ((put && entry.kind == MemberKind::Put) || (!put && entry.kind != MemberKind::Put))
            {
                chosen = &entry;
                break;
            }
        }
        if (!chosen)
            return DISP_E_MEMBERNOTFOUND;
        return chosen->invoke(static_cast<T*>(this), params, result);
    }

    STDMETHODIMP InterfaceSupportsErrorInfo(REFIID riid) override
    {
        return IsEqualIID(riid, __uuidof(T)) ? S_OK : S_FALSE;
    }

    void* FindInterface(REFIID riid) override
    {
        if (IsEqualIID(riid, IID_IDispatch))
            return static_cast<T*>(this);
        if (IsEqualIID(riid, IID_ISupportErrorInfo))
            return static_cast<ISupportErrorInfo*>(this);
        return UnknownImpl<T>::FindInterface(riid);
    }

    // The member table of the interface, in the interface's order.
    virtual const std::vector<DispatchEntry>& Members() const = 0;
};
} // namespace StandIn
