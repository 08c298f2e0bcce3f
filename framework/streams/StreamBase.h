#pragma once
// What the program's own read-mostly streams share: the copy loop and the operations they don't
// support.

#include "framework/com/UnknownImpl.h"

#include <objidl.h>

// Copies up to count bytes from source to target in chunks of 1024 bytes, until the count is
// reached or source has no more. read and written (when given) receive the total either way.
// A failing Read or Write gives its HRESULT, a target that takes fewer bytes than given E_FAIL.
HRESULT CopyStream(IStream* source, IStream* target, ULARGE_INTEGER count, ULARGE_INTEGER* read,
                   ULARGE_INTEGER* written) noexcept;

class StreamBase : public UnknownImpl<IStream>
{
public:
    STDMETHODIMP SetSize(ULARGE_INTEGER) override { return E_NOTIMPL; }
    STDMETHODIMP CopyTo(IStream* target, ULARGE_INTEGER count, ULARGE_INTEGER* read,
                        ULARGE_INTEGER* written) override
    {
        return CopyStream(this, target, count, read, written);
    }
    STDMETHODIMP Commit(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP Revert() override { return E_NOTIMPL; }
    STDMETHODIMP LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return S_OK; }
    STDMETHODIMP UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return S_OK; }

    // IStream is an ISequentialStream as well.
    void* FindInterface(REFIID riid) override
    {
        if (IsEqualIID(riid, IID_ISequentialStream))
            return static_cast<IStream*>(this);
        return UnknownImpl<IStream>::FindInterface(riid);
    }

protected:
    // STATSTG of a stream of size bytes.
    static HRESULT StatOfSize(STATSTG* stat, ULONG size)
    {
        if (!stat)
            return STG_E_INVALIDPOINTER;
        *stat = STATSTG{};
        stat->type = STGTY_STREAM;
        stat->cbSize.QuadPart = size;
        return S_OK;
    }
};
