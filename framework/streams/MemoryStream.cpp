#include "framework/streams/MemoryStream.h"

#include "framework/com/ComError.h"

#include <shlwapi.h>

#include <cstdint>

IStreamPtr CreateMemoryStream()
{
    IStreamPtr stream(SHCreateMemStream(nullptr, 0), false);
    if (!stream)
        ThrowIfFailed(CreateStreamOnHGlobal(nullptr, TRUE, &stream));
    return stream;
}

_bstr_t StreamToBstr(IStream* stream)
{
    STATSTG stat{};
    ThrowIfFailed(stream->Stat(&stat, STATFLAG_NONAME));
    if (stat.cbSize.QuadPart > UINT32_MAX)
        _com_issue_error(E_OUTOFMEMORY);
    const ULONG size = static_cast<ULONG>(stat.cbSize.QuadPart);

    LARGE_INTEGER start{};
    ThrowIfFailed(stream->Seek(start, STREAM_SEEK_SET, nullptr));

    BSTR text = SysAllocStringByteLen(nullptr, size);
    if (!text)
        _com_issue_error(E_OUTOFMEMORY);
    _bstr_t result(text, false);
    ULONG read = 0;
    ThrowIfFailed(stream->Read(text, size, &read));
    if (read != size)
        _com_issue_error(E_FAIL);
    return result;
}

std::string StreamToBytes(IStream* stream)
{
    STATSTG stat{};
    ThrowIfFailed(stream->Stat(&stat, STATFLAG_NONAME));
    if (stat.cbSize.QuadPart >= UINT32_MAX)
        _com_issue_error(E_FAIL);
    std::string bytes(static_cast<size_t>(stat.cbSize.QuadPart), '\0');

    LARGE_INTEGER start{};
    ThrowIfFailed(stream->Seek(start, STREAM_SEEK_SET, nullptr));
    ULONG read = 0;
    ThrowIfFailed(stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read));
    if (read != bytes.size())
        _com_issue_error(E_FAIL);
    return bytes;
}
