#pragma once
// Calls into automation servers whose interfaces we reach only through IDispatch: a member is
// looked up by name (GetIDsOfNames) and invoked with its arguments in the member's own order.
// A failure is raised as a _com_error carrying the interface's error information.

#include <windows.h>
#include <oaidl.h>

#include <comdef.h>

#include <vector>

namespace LateBound
{
using DispatchPtr = _com_ptr_t<_com_IIID<IDispatch, &IID_IDispatch>>;

// The standard "argument left out" value.
_variant_t Missing();
_variant_t Bool(bool value);
_variant_t Int(long value);

// Invokes the member name of object (whose interface is iid) as a method or property getter.
_variant_t Call(IDispatch& object, REFIID iid, const wchar_t* name, const std::vector<_variant_t>& arguments = {});

// The object a call hands back; a missing one is raised as E_POINTER.
DispatchPtr CallForObject(IDispatch& object, REFIID iid, const wchar_t* name,
                          const std::vector<_variant_t>& arguments = {});
} // namespace LateBound
