#pragma once
// The reference-counted IUnknown of a COM object that implements one interface T.

#include <windows.h>
#include <unknwn.h>

#include <atomic>

// Objects of every UnknownImpl class alive in this module; a DLL may unload only at 0.
inline std::atomic<long> g_liveComObjects{0};

template <typename T>
class UnknownImpl : public T
{
public:
    UnknownImpl() noexcept { ++g_liveComObjects; }
    UnknownImpl(const UnknownImpl&) = delete;
    UnknownImpl& operator=(const UnknownImpl&) = delete;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        void* found = FindInterface(riid);
        *ppv = found;
        if (!found)
            return E_NOINTERFACE;
        static_cast<IUnknown*>(found)->AddRef();
        return S_OK;
    }

    STDMETHODIMP_(ULONG) AddRef() override
    {
        UnknownImpl* controlling = GetControllingObject();
        if (controlling != this)
            return controlling->AddRef();
        return static_cast<ULONG>(++references_);
    }

    STDMETHODIMP_(ULONG) Release() override
    {
        UnknownImpl* controlling = GetControllingObject();
        if (controlling != this)
            return controlling->Release();
        const long count = --references_;
        if (count == 0)
            delete this;
        return static_cast<ULONG>(count);
    }

    virtual ~UnknownImpl() { --g_liveComObjects; }

    // The interface pointer this object answers for riid, or null.
    virtual void* FindInterface(REFIID riid)
    {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, __uuidof(T)))
            return static_cast<T*>(this);
        return nullptr;
    }

    // The object whose reference count AddRef and Release use.
    virtual UnknownImpl* GetControllingObject() { return this; }

private:
    std::atomic<long> references_{1};
};
