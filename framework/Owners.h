#pragma once
// Owners for every kind of handle the programs hold, so that no path that throws can leak one.
// COM interface pointers are held by _com_ptr_t (comdef.h) and BSTRs by _bstr_t.

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <ole2.h>
#include <wincrypt.h>
#include <wininet.h>

#include <utility>

namespace Owners
{
// A movable, non-copyable owner of one handle. Traits supply the invalid value and the close call.
template <typename Traits>
class UniqueHandle
{
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Handle handle) noexcept : handle_(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        reset(other.release());
        return *this;
    }
    ~UniqueHandle() { reset(); }

    Handle get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != Traits::Invalid(); }

    Handle release() noexcept { return std::exchange(handle_, Traits::Invalid()); }
    void reset(Handle handle = Traits::Invalid()) noexcept
    {
        Handle old = std::exchange(handle_, handle);
        if (old != Traits::Invalid())
            Traits::Close(old);
    }
    // For APIs that hand out a handle through an out-parameter; releases what was held.
    Handle* put() noexcept
    {
        reset();
        return &handle_;
    }

private:
    Handle handle_ = Traits::Invalid();
};

template <typename H, H InvalidValue, auto CloseFunction>
struct HandleTraits
{
    using Handle = H;
    static Handle Invalid() noexcept { return InvalidValue; }
    static void Close(Handle handle) noexcept { CloseFunction(handle); }
};

// A kernel object whose "no handle" value is null (events, threads, processes, mappings).
struct KernelTraits
{
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle handle) noexcept { ::CloseHandle(handle); }
};
// A file, whose "no handle" value is INVALID_HANDLE_VALUE.
struct FileTraits
{
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Handle handle) noexcept { ::CloseHandle(handle); }
};
struct FindTraits
{
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Handle handle) noexcept { ::FindClose(handle); }
};
// A process; GetCurrentProcess's pseudo-handle (the same value as INVALID_HANDLE_VALUE) may be
// held too, and is never closed.
struct ProcessTraits
{
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle handle) noexcept
    {
        if (handle != INVALID_HANDLE_VALUE)
            ::CloseHandle(handle);
    }
};
template <typename T>
struct GdiTraits
{
    using Handle = T;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle handle) noexcept { ::DeleteObject(handle); }
};

using KernelHandle = UniqueHandle<KernelTraits>;
using FileHandle = UniqueHandle<FileTraits>;
using ProcessHandle = UniqueHandle<ProcessTraits>;
using FindHandle = UniqueHandle<FindTraits>;
using RegistryKey = UniqueHandle<HandleTraits<HKEY, nullptr, ::RegCloseKey>>;
using Module = UniqueHandle<HandleTraits<HMODULE, nullptr, ::FreeLibrary>>;
using Icon = UniqueHandle<HandleTraits<HICON, nullptr, ::DestroyIcon>>;
using AcceleratorTable = UniqueHandle<HandleTraits<HACCEL, nullptr, ::DestroyAcceleratorTable>>;
using Menu = UniqueHandle<HandleTraits<HMENU, nullptr, ::DestroyMenu>>;
using MemoryDC = UniqueHandle<HandleTraits<HDC, nullptr, ::DeleteDC>>;
using OwnedWindow = UniqueHandle<HandleTraits<HWND, nullptr, ::DestroyWindow>>;
using GlobalMemory = UniqueHandle<HandleTraits<HGLOBAL, nullptr, ::GlobalFree>>;
using LocalMemory = UniqueHandle<HandleTraits<HLOCAL, nullptr, ::LocalFree>>;
using ImageList = UniqueHandle<HandleTraits<HIMAGELIST, nullptr, ::ImageList_Destroy>>;
// WinINet session, connection and request handles.
using InternetHandle = UniqueHandle<HandleTraits<HINTERNET, nullptr, ::InternetCloseHandle>>;
struct CryptProviderTraits
{
    using Handle = HCRYPTPROV;
    static Handle Invalid() noexcept { return 0; }
    static void Close(Handle handle) noexcept { ::CryptReleaseContext(handle, 0); }
};
using CryptProviderHandle = UniqueHandle<CryptProviderTraits>;
using CryptKeyHandle = UniqueHandle<HandleTraits<HCRYPTKEY, 0, ::CryptDestroyKey>>;
template <typename T>
using GdiObject = UniqueHandle<GdiTraits<T>>;
using Bitmap = GdiObject<HBITMAP>;
using Font = GdiObject<HFONT>;
using Brush = GdiObject<HBRUSH>;
using Pen = GdiObject<HPEN>;
using Region = GdiObject<HRGN>;

// Memory handed out by COM (CoTaskMemAlloc), such as the path of a known folder.
template <typename T>
class CoTaskMemory
{
public:
    CoTaskMemory() noexcept = default;
    CoTaskMemory(const CoTaskMemory&) = delete;
    CoTaskMemory& operator=(const CoTaskMemory&) = delete;
    ~CoTaskMemory() { ::CoTaskMemFree(pointer_); }
    T* get() const noexcept { return pointer_; }
    T** put() noexcept
    {
        ::CoTaskMemFree(std::exchange(pointer_, nullptr));
        return &pointer_;
    }

private:
    T* pointer_ = nullptr;
};

// A device context borrowed from a window with GetDC, given back with ReleaseDC.
class WindowDC
{
public:
    explicit WindowDC(HWND window) noexcept : window_(window), dc_(::GetDC(window)) {}
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    ~WindowDC()
    {
        if (dc_)
            ::ReleaseDC(window_, dc_);
    }
    HDC get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// Selects a GDI object into a device context for the owner's lifetime.
class SelectedObject
{
public:
    SelectedObject(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(::SelectObject(dc, object)) {}
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    ~SelectedObject()
    {
        if (previous_ && previous_ != HGDI_ERROR)
            ::SelectObject(dc_, previous_);
    }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Balances a successful CoInitializeEx on this thread, whatever leaves the scope.
class ComApartment
{
public:
    explicit ComApartment(DWORD model = COINIT_MULTITHREADED) noexcept
        : result_(::CoInitializeEx(nullptr, model))
    {
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment()
    {
        if (SUCCEEDED(result_))
            ::CoUninitialize();
    }
    HRESULT result() const noexcept { return result_; }

private:
    HRESULT result_;
};

// Balances a successful OleInitialize (single-threaded apartment with OLE services).
class OleApartment
{
public:
    OleApartment() noexcept : result_(::OleInitialize(nullptr)) {}
    OleApartment(const OleApartment&) = delete;
    OleApartment& operator=(const OleApartment&) = delete;
    ~OleApartment()
    {
        if (SUCCEEDED(result_))
            ::OleUninitialize();
    }
    HRESULT result() const noexcept { return result_; }

private:
    HRESULT result_;
};
} // namespace Owners
