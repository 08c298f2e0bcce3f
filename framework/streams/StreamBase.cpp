#include "framework/streams/StreamBase.h"

#include <algorithm>

HRESULT CopyStream(IStream* source, IStream* target, ULARGE_INTEGER count, ULARGE_INTEGER* read,
                   ULARGE_INTEGER* written) noexcept
{
    ULONGLONG total = 0;
    HRESULT result = S_OK;
    if (!source || !target)
    {
        result = STG_E_INVALIDPOINTER;
    }
    else
    {
        BYTE chunk[1024];
        while (total < count.QuadPart)
        {
            const ULONG wanted = static_cast<ULONG>(std::min<ULONGLONG>(count.QuadPart - total, sizeof chunk));
            ULONG got = 0;
            const HRESULT readResult = source->Read(chunk, wanted, &got);
            if (FAILED(readResult))
            {
                result = readResult;
                break;
            }
            if (got == 0)
                break;
            ULONG put = 0;
            const HRESULT writeResult = target->Write(chunk, got, &put);
            if (FAILED(writeResult))
            {
                result = writeResult;
                break;
            }
            total += put;
            if (put != got)
            {
                result = E_FAIL;
                break;
            }
        }
    }
    if (read)
        read->QuadPart = total;
    if (written)
        written->QuadPart = total;
    return result;
}
