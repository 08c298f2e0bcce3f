#pragma once
// A read-only stream over a resource of type "FILE" (images, icons) of a module.

#include "framework/streams/StreamBase.h"

class ResourceStream : public StreamBase
{
public:
    // The resource of the program's own module; a missing resource raises a COM error (E_FAIL).
    explicit ResourceStream(int resourceId);
    ResourceStream(HMODULE module, int resourceId);

    STDMETHODIMP Read(void* buffer, ULONG count, ULONG* read) override;
    STDMETHODIMP Write(const void*, ULONG, ULONG*) override { return E_NOTIMPL; }
    STDMETHODIMP Seek(LARGE_INTEGER offset, DWORD origin, ULARGE_INTEGER* newPosition) override;
    STDMETHODIMP Stat(STATSTG* stat, DWORD) override { return StatOfSize(stat, size_); }
    STDMETHODIMP Clone(IStream** clone) override;

private:
    ResourceStream(const BYTE* data, ULONG size, ULONG position) noexcept;

    const BYTE* data_ = nullptr;
    ULONG size_ = 0;
    ULONG position_ = 0;
};
