#include "framework/streams/ResourceStream.h"

#include <comdef.h>

#include <climits>
#include <cstring>

ResourceStream::ResourceStream(int resourceId) : ResourceStream(GetModuleHandleW(nullptr), resourceId) {}

ResourceStream::ResourceStream(HMODULE module, int resourceId)
{
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(resourceId), L"FILE");
    if (!resource)
        _com_issue_error(E_FAIL);
    size_ = SizeofResource(module, resource);
    HGLOBAL loaded = LoadResource(module, resource);
    data_ = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    if (!data_)
        _com_issue_error(E_FAIL);
}

ResourceStream::ResourceStream(const BYTE* data, ULONG size, ULONG position) noexcept
    : data_(data), size_(size), position_(position)
{
}

STDMETHODIMP ResourceStream::Read(void* buffer, ULONG count, ULONG* read)
{
    if (!buffer && count > 0)
        return STG_E_INVALIDPOINTER;
    const ULONG available = position_ < size_ ? size_ - position_ : 0;
    const ULONG copied = count < available ? count : available;
    if (copied > 0)
        std::memcpy(buffer, data_ + position_, copied);
    position_ += copied;
    if (read)
        *read = copied;
    return S_OK;
}

STDMETHODIMP ResourceStream::Seek(LARGE_INTEGER offset, DWORD origin, ULARGE_INTEGER* newPosition)
{
    const LONGLONG move = offset.QuadPart;
    if (move < INT_MIN || move > INT_MAX)
        return E_FAIL;
    LONGLONG target = move;
    if (origin == STREAM_SEEK_CUR)
        target = static_cast<LONGLONG>(position_) + move;
    else if (origin == STREAM_SEEK_END)
    {
        if (move > 0)
            return E_FAIL;
        target = static_cast<LONGLONG>(size_) + move;
    }
    if (target < 0 || target > static_cast<LONGLONG>(size_))
        return E_FAIL;
    position_ = static_cast<ULONG>(target);
    if (newPosition)
        newPosition->QuadPart = position_;
    return S_OK;
}

STDMETHODIMP ResourceStream::Clone(IStream** clone)
{
    if (!clone)
        return STG_E_INVALIDPOINTER;
    *clone = new (std::nothrow) ResourceStream(data_, size_, position_);
    return *clone ? S_OK : E_OUTOFMEMORY;
}
