#pragma once
// The registry entries of a stand-in served in-process under a real product's class IDs, as the
// product's own installer writes them: the class with its name, the DLL with threading model
// "Both", and the ProgID both ways.

#include <windows.h>

#include <initializer_list>

namespace StandInRegistration
{
struct InprocClass
{
    CLSID clsid;
    const wchar_t* progId;
    const wchar_t* description;
};

// Registers every class as served by module; SELFREG_E_CLASS when a key cannot be written.
HRESULT RegisterInprocClasses(HMODULE module, std::initializer_list<InprocClass> classes);

// Removes what RegisterInprocClasses wrote for the classes.
HRESULT UnregisterInprocClasses(std::initializer_list<InprocClass> classes);
} // namespace StandInRegistration
