#pragma once
// An automation object reached only through IDispatch by name, as the Office stand-ins are: a
// table of members, each a function of the arguments in the member's own order. Not framework's
// Dispatch<T>, which writes every call to the program's log: the stand-in must stay out of the
// log that the tests read.

#include "framework/com/UnknownImpl.h"

#include <oaidl.h>

#include <functional>
#include <string>
#include <vector>

namespace OfficeStandIn
{
using Arguments = std::vector<const VARIANT*>; // null where the caller passed fewer arguments
using Member = std::function<HRESULT(const Arguments& arguments, VARIANT* result)>;

class NamedDispatch : public UnknownImpl<IDispatch>
{
public:
    // iid: the dual interface the object answers for besides IDispatch.
    explicit NamedDispatch(const IID& iid) : iid_(iid) {}

    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                        UINT*) override;
    void* FindInterface(REFIID riid) override;

protected:
    void Add(const wchar_t* name, Member member);

private:
    IID iid_;
    std::vector<std::pair<std::wstring, Member>> members_; // the dispatch id is the position + 1
};
} // namespace OfficeStandIn
