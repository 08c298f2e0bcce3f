#include "framework/streams/Base64Stream.h"

#include <array>
#include <climits>
#include <new>

namespace
{
const wchar_t alphabet[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/=";

// The value of each character of the alphabet ("=" is 64), -1 for any other; built once, safely
// from any thread.
const std::array<signed char, 128>& CharacterValues()
{
    static const std::array<signed char, 128> values = [] {
        std::array<signed char, 128> table;
        table.fill(-1);
        for (int i = 0; i < 65; ++i)
            table[static_cast<size_t>(alphabet[i])] = static_cast<signed char>(i);
        return table;
    }();
    return values;
}

int ValueOf(wchar_t c)
{
    return c < 128 ? CharacterValues()[c] : -1;
}

// The three bytes of a group; characters past the end of the text and "=" count as zero bits.
std::array<BYTE, 3> DecodeGroup(const std::wstring& text, size_t group)
{
    int v[4] = {};
    for (size_t i = 0; i < 4; ++i)
    {
        const size_t at = group * 4 + i;
        const int value = at < text.size() ? ValueOf(text[at]) : 0;
        v[i] = value < 0 || value == 64 ? 0 : value;
    }
    return {static_cast<BYTE>(v[0] << 2 | v[1] >> 4), static_cast<BYTE>((v[1] & 15) << 4 | v[2] >> 2),
            static_cast<BYTE>((v[2] & 3) << 6 | v[3])};
}

void EncodeGroup(std::wstring& text, size_t group, const std::array<BYTE, 3>& bytes)
{
    wchar_t* at = &text[group * 4];
    at[0] = alphabet[bytes[0] >> 2];
    at[1] = alphabet[(bytes[0] & 3) << 4 | bytes[1] >> 4];
    at[2] = alphabet[(bytes[1] & 15) << 2 | bytes[2] >> 6];
    at[3] = alphabet[bytes[2] & 63];
}

ULONG DecodedSize(const std::wstring& text)
{
    ULONG size = static_cast<ULONG>(text.size() * 3 / 4);
    if (size > 0 && text.back() == L'=')
    {
        --size;
        if (size > 0 && text.size() >= 2 && text[text.size() - 2] == L'=')
            --size;
    }
    return size;
}
} // namespace

Base64Stream::Base64Stream() : text_(std::make_shared<std::wstring>()) {}

Base64Stream::Base64Stream(const std::wstring& text) : Base64Stream()
{
    text_->reserve(text.size());
    for (const wchar_t c : text)
    {
        if (ValueOf(c) >= 0)
            text_->push_back(c);
    }
    size_ = DecodedSize(*text_);
}

Base64Stream::Base64Stream(const std::shared_ptr<const std::wstring>& text)
    : Base64Stream(text ? *text : std::wstring())
{
}

STDMETHODIMP Base64Stream::Read(void* buffer, ULONG count, ULONG* read)
{
    if (!buffer && count > 0)
        return STG_E_INVALIDPOINTER;
    BYTE* out = static_cast<BYTE*>(buffer);
    ULONG copied = 0;
    while (copied < count && position_ < size_)
    {
        const auto bytes = DecodeGroup(*text_, position_ / 3);
        for (ULONG i = position_ % 3; i < 3 && copied < count && position_ < size_; ++i, ++position_)
            out[copied++] = bytes[i];
    }
    if (read)
        *read = copied;
    return copied < count ? S_FALSE : S_OK;
}

STDMETHODIMP Base64Stream::Write(const void* buffer, ULONG count, ULONG* written)
{
    if (written)
        *written = 0;
    if (count == 0)
        return S_OK;
    if (!buffer)
        return STG_E_INVALIDPOINTER;
    const ULONGLONG end = static_cast<ULONGLONG>(position_) + count;
    if (end > ULONG_MAX)
        return STG_E_MEDIUMFULL;
    try
    {
        std::wstring& text = *text_;
        const size_t needed = static_cast<size_t>((end + 2) / 3 * 4);
        if (text.size() < needed)
        {
            // Padding of the old end now lies inside the text: it becomes zero bits.
            for (wchar_t& c : text)
            {
                if (c == L'=')
                    c = L'A';
            }
            text.resize(needed, L'A');
        }
        const BYTE* in = static_cast<const BYTE*>(buffer);
        ULONG done = 0;
        while (done < count)
        {
            const size_t group = position_ / 3;
            // The bytes of the group that are not written keep their values.
            auto bytes = DecodeGroup(text, group);
            for (ULONG i = position_ % 3; i < 3 && done < count; ++i, ++position_)
                bytes[i] = in[done++];
            EncodeGroup(text, group, bytes);
        }
    }
    catch (const std::bad_alloc&)
    {
        return E_OUTOFMEMORY;
    }
    if (position_ > size_)
        size_ = position_;
    if (written)
        *written = count;
    return S_OK;
}

STDMETHODIMP Base64Stream::Seek(LARGE_INTEGER offset, DWORD origin, ULARGE_INTEGER* newPosition)
{
    const LONGLONG move = offset.QuadPart;
    if (move < INT_MIN || move > INT_MAX)
        return E_FAIL;
    switch (origin)
    {
    case STREAM_SEEK_SET:
        if (move < 0)
            return STG_E_INVALIDFUNCTION;
        position_ = static_cast<ULONG>(move);
        break;
    case STREAM_SEEK_CUR:
        if (move < 0 && static_cast<ULONGLONG>(-move) > position_)
            return STG_E_INVALIDFUNCTION;
        if (static_cast<LONGLONG>(position_) + move > LONG_MAX)
            return E_FAIL;
        position_ = static_cast<ULONG>(static_cast<LONGLONG>(position_) + move);
        break;
    case STREAM_SEEK_END:
        if (move >= 0 || static_cast<ULONGLONG>(-move) > size_)
            return STG_E_INVALIDFUNCTION;
        position_ = static_cast<ULONG>(static_cast<LONGLONG>(size_) + move);
        break;
    default:
        break;
    }
    if (newPosition)
        newPosition->QuadPart = position_;
    return S_OK;
}

STDMETHODIMP Base64Stream::Clone(IStream** clone)
{
    if (!clone)
        return STG_E_INVALIDPOINTER;
    *clone = nullptr;
    Base64Stream* copy = nullptr;
    try
    {
        copy = new Base64Stream();
    }
    catch (const std::bad_alloc&)
    {
        return E_OUTOFMEMORY;
    }
    copy->text_ = text_;
    copy->position_ = position_;
    copy->size_ = size_;
    *clone = copy;
    return S_OK;
}
