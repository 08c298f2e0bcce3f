#pragma once
// IDispatch of a COM object that implements one interface T (derived from IDispatch): members are
// looked up by name and by dispatch id in tables that the derived class fills in RegisterMembers,
// and every late-bound call is written to the log.

#include "framework/com/UnknownImpl.h"
#include "framework/log/Log.h"

#include <comdef.h>
#include <oaidl.h>

#include <exception>
#include <functional>
#include <map>
#include <new>
#include <string>

template <typename T>
class Dispatch : public UnknownImpl<T>
{
public:
    using Handler = std::function<void(DISPPARAMS*, VARIANT*)>;

    STDMETHODIMP GetTypeInfoCount(UINT* count) override
    {
        if (!count)
            return E_POINTER;
        *count = 0;
        return S_OK;
    }

    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** typeInfo) override
    {
        if (typeInfo)
            *typeInfo = nullptr;
        return E_NOTIMPL;
    }

    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* memberNames, UINT count, LCID, DISPID* ids) override
    {
        try
        {
            EnsureMembers();
            if (count == 0)
                return S_OK;
            if (!memberNames || !ids)
                return E_POINTER;
            for (UINT i = 0; i < count; ++i)
            {
                const std::wstring name = memberNames[i] ? memberNames[i] : L"";
                const auto found = names.find(name);
                if (found == names.end())
                {
                    GetLog(true) << L"GetIDsOfNames: " << name << L" - Unknown dispid!";
                    return DISP_E_UNKNOWNNAME;
                }
                GetLog(true) << L"GetIDsOfNames: " << name;
                ids[i] = found->second;
            }
            return S_OK;
        }
        catch (const std::bad_alloc&)
        {
            return E_OUTOFMEMORY;
        }
        catch (const _com_error& error)
        {
            return error.Error();
        }
        catch (...)
        {
            return E_FAIL;
        }
    }

    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                        UINT*) override
    {
        std::wstring name;
        try
        {
            EnsureMembers();
            const auto named = idNames.find(id);
            if (named != idNames.end())
                name = named->second;
            const auto handler = handlers.find(id);
            if (handler == handlers.end())
            {
                GetLog(true) << L"Invoking: " << name << L" - Unknown dispid!";
                return DISP_E_BADINDEX;
            }
            GetLog(true) << L"Invoking: " << name;
            // A copy: the handler may change the tables while it runs.
            const Handler call = handler->second;
            call(params, result);
            GetLog(true) << L"Success: " << name;
            return S_OK;
        }
        catch (const _com_error& error)
        {
            return LogFailure(name, L"", error.Error());
        }
        catch (const std::bad_alloc&)
        {
            return LogFailure(name, L": out of memory", E_OUTOFMEMORY);
        }
        catch (const std::exception& error)
        {
            return LogFailure(name, L": " + WidenAscii(error.what()), E_FAIL);
        }
        catch (...)
        {
            // A failed handler is never reported as a success.
            return LogFailure(name, L": unknown exception", E_FAIL);
        }
    }

    void* FindInterface(REFIID riid) override
    {
        if (IsEqualIID(riid, IID_IDispatch))
            return static_cast<IDispatch*>(static_cast<T*>(this));
        return UnknownImpl<T>::FindInterface(riid);
    }

protected:
    // Fills the tables; called once, before the first name or call is looked up.
    virtual void RegisterMembers() {}

    // Enters one member in all three tables.
    void RegisterMember(const std::wstring& name, DISPID id, Handler handler)
    {
        names[name] = id;
        idNames[id] = name;
        handlers[id] = std::move(handler);
    }

    std::map<std::wstring, DISPID> names;
    std::map<DISPID, std::wstring> idNames;
    std::map<DISPID, Handler> handlers;

private:
    void EnsureMembers()
    {
        if (!membersRegistered_)
        {
            membersRegistered_ = true;
            RegisterMembers();
        }
    }

    static HRESULT LogFailure(const std::wstring& name, const std::wstring& detail, HRESULT hr) noexcept
    {
        try
        {
            GetLog(true) << L"ERROR: " << name << detail;
        }
        catch (...)
        {
        }
        return SUCCEEDED(hr) ? E_FAIL : hr;
    }

    static std::wstring WidenAscii(const char* text)
    {
        std::wstring wide;
        for (; text && *text; ++text)
            wide += static_cast<wchar_t>(static_cast<unsigned char>(*text));
        return wide;
    }

    bool membersRegistered_ = false;
};
