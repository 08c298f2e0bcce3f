#include "framework/streams/Base64Stream.h"
#include "framework/streams/MemoryStream.h"
#include "framework/streams/ResourceStream.h"

#include <gtest/gtest.h>

#include <wincrypt.h>

#include <random>
#include <string>

namespace
{
IStreamPtr Base64(const std::wstring& text) { return IStreamPtr(new Base64Stream(text), false); }

std::string ReadAll(IStream* stream, HRESULT* last = nullptr)
{
    std::string bytes;
    char chunk[7];
    for (;;)
    {
        ULONG read = 0;
        const HRESULT hr = stream->Read(chunk, sizeof chunk, &read);
        if (last)
            *last = hr;
        bytes.append(chunk, read);
        if (hr != S_OK || read == 0)
            return bytes;
    }
}

ULONGLONG Seek(IStream* stream, LONGLONG offset, DWORD origin, HRESULT* result = nullptr)
{
    LARGE_INTEGER move;
    move.QuadPart = offset;
    ULARGE_INTEGER position{};
    const HRESULT hr = stream->Seek(move, origin, &position);
    if (result)
        *result = hr;
    return position.QuadPart;
}

ULONGLONG Size(IStream* stream)
{
    STATSTG stat{};
    EXPECT_EQ(stream->Stat(&stat, STATFLAG_NONAME), S_OK);
    EXPECT_EQ(stat.type, static_cast<DWORD>(STGTY_STREAM));
    return stat.cbSize.QuadPart;
}

// A target that takes at most `limit` bytes of each write.
class NarrowTarget : public StreamBase
{
public:
    explicit NarrowTarget(ULONG limit) : limit_(limit) {}
    STDMETHODIMP Read(void*, ULONG, ULONG*) override { return E_NOTIMPL; }
    STDMETHODIMP Write(const void* data, ULONG count, ULONG* written) override
    {
        const ULONG taken = count < limit_ ? count : limit_;
        bytes.append(static_cast<const char*>(data), taken);
        *written = taken;
        return S_OK;
    }
    STDMETHODIMP Seek(LARGE_INTEGER, DWORD, ULARGE_INTEGER*) override { return E_NOTIMPL; }
    STDMETHODIMP Stat(STATSTG* stat, DWORD) override { return StatOfSize(stat, 0); }
    STDMETHODIMP Clone(IStream**) override { return E_NOTIMPL; }
    std::string bytes;

private:
    ULONG limit_;
};
} // namespace

TEST(Base64Stream, ReadsFullAndPaddedGroups)
{
    EXPECT_EQ(ReadAll(Base64(L"QUJD")), "ABC");
    EXPECT_EQ(ReadAll(Base64(L"QUI=")), "AB");
    EXPECT_EQ(ReadAll(Base64(L"QQ==")), "A");
    EXPECT_EQ(ReadAll(Base64(L"")), "");
    EXPECT_EQ(Size(Base64(L"QQ==")), 1u);
}

TEST(Base64Stream, IgnoresLineBreaksAndBlanks)
{
    EXPECT_EQ(ReadAll(Base64(L"QU\r\nJD\n Q\tUJD")), "ABCABC");
}

TEST(Base64Stream, TextOfAnOddLengthReadsOnlyWhatItHolds)
{
    EXPECT_EQ(ReadAll(Base64(L"QUJDRA")), "ABCD");
    EXPECT_EQ(ReadAll(Base64(L"QUJDREU")), "ABCDE");
    EXPECT_EQ(ReadAll(Base64(L"QUJDR")), "ABC");
    EXPECT_EQ(ReadAll(Base64(L"Q")), "");
}

TEST(Base64Stream, ShortReadIsReportedWithSFalse)
{
    IStreamPtr stream = Base64(L"QUJD");
    char buffer[8];
    ULONG read = 0;
    EXPECT_EQ(stream->Read(buffer, 2, &read), S_OK);
    EXPECT_EQ(read, 2u);
    EXPECT_EQ(stream->Read(buffer, 8, &read), S_FALSE);
    EXPECT_EQ(read, 1u);
    EXPECT_EQ(buffer[0], 'C');
}

TEST(Base64Stream, DecodesWhatTheSystemEncodes)
{
    std::mt19937 random(7);
    for (const DWORD length : {1u, 2u, 3u, 100u, 1000u})
    {
        std::string bytes(length, '\0');
        for (char& b : bytes)
            b = static_cast<char>(random());
        DWORD characters = 0;
        ASSERT_TRUE(CryptBinaryToStringW(reinterpret_cast<const BYTE*>(bytes.data()), length, CRYPT_STRING_BASE64,
                                         nullptr, &characters));
        std::wstring text(characters, L'\0');
        ASSERT_TRUE(CryptBinaryToStringW(reinterpret_cast<const BYTE*>(bytes.data()), length, CRYPT_STRING_BASE64,
                                         text.data(), &characters));
        text.resize(characters);
        EXPECT_EQ(ReadAll(Base64(text)), bytes) << length;
    }
}

TEST(Base64Stream, SeeksWithinAndPastTheEndButNotFromTheEndForward)
{
    IStreamPtr stream = Base64(L"QUJDREVG");
    HRESULT hr = S_OK;
    Seek(stream, 0, STREAM_SEEK_END, &hr);
    EXPECT_EQ(hr, STG_E_INVALIDFUNCTION);
    EXPECT_EQ(Seek(stream, -2, STREAM_SEEK_END, &hr), 4u);
    EXPECT_EQ(hr, S_OK);
    EXPECT_EQ(ReadAll(stream), "EF");
    Seek(stream, -1, STREAM_SEEK_SET, &hr);
    EXPECT_EQ(hr, STG_E_INVALIDFUNCTION);
    Seek(stream, -7, STREAM_SEEK_CUR, &hr);
    EXPECT_EQ(hr, STG_E_INVALIDFUNCTION);
    EXPECT_EQ(Seek(stream, -5, STREAM_SEEK_CUR, &hr), 1u);
    EXPECT_EQ(ReadAll(stream), "BCDEF");
    EXPECT_EQ(Seek(stream, 100, STREAM_SEEK_SET, &hr), 100u);
    EXPECT_EQ(ReadAll(stream), "");
    Seek(stream, 0x100000000LL, STREAM_SEEK_SET, &hr);
    EXPECT_EQ(hr, E_FAIL);
}

TEST(Base64Stream, WritingTwoBytesIntoAnEmptyStreamMakesOneGroup)
{
    auto* object = new Base64Stream();
    IStreamPtr stream(object, false);
    ULONG written = 0;
    EXPECT_EQ(stream->Write("AB", 2, &written), S_OK);
    EXPECT_EQ(written, 2u);
    EXPECT_EQ(object->Text().size(), 4u);
    EXPECT_EQ(Size(stream), 2u);
    Seek(stream, 0, STREAM_SEEK_SET);
    EXPECT_EQ(ReadAll(stream), "AB");
}

TEST(Base64Stream, WritingIntoAGroupKeepsItsOtherBytes)
{
    IStreamPtr stream = Base64(L"QUJDREVG");
    Seek(stream, 1, STREAM_SEEK_SET);
    ULONG written = 0;
    ASSERT_EQ(stream->Write("xy", 2, &written), S_OK);
    Seek(stream, 0, STREAM_SEEK_SET);
    EXPECT_EQ(ReadAll(stream), "AxyDEF");
    Seek(stream, 4, STREAM_SEEK_SET);
    ASSERT_EQ(stream->Write("z", 1, &written), S_OK);
    Seek(stream, 0, STREAM_SEEK_SET);
    EXPECT_EQ(ReadAll(stream), "AxyDzF");
}

TEST(Base64Stream, WritingPastThePaddedEndExtendsWithZeros)
{
    IStreamPtr stream = Base64(L"QUI=");
    Seek(stream, 5, STREAM_SEEK_SET);
    ULONG written = 0;
    ASSERT_EQ(stream->Write("Z", 1, &written), S_OK);
    EXPECT_EQ(Size(stream), 6u);
    Seek(stream, 0, STREAM_SEEK_SET);
    EXPECT_EQ(ReadAll(stream), std::string("AB\0\0\0Z", 6));
}

TEST(Base64Stream, CloneSharesTheTextAtTheSamePosition)
{
    IStreamPtr stream = Base64(L"QUJDREVG");
    Seek(stream, 2, STREAM_SEEK_SET);
    IStreamPtr clone;
    ASSERT_EQ(stream->Clone(&clone), S_OK);
    EXPECT_EQ(ReadAll(clone), "CDEF");
    EXPECT_EQ(ReadAll(stream), "CDEF");
}

TEST(Streams, CopyToMovesEveryByteOrTheCountAsked)
{
    std::string big(5000, '\0');
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>(i * 7);
    auto* source = new Base64Stream();
    IStreamPtr stream(source, false);
    ULONG written = 0;
    ASSERT_EQ(stream->Write(big.data(), static_cast<ULONG>(big.size()), &written), S_OK);
    Seek(stream, 0, STREAM_SEEK_SET);

    IStreamPtr target = CreateMemoryStream();
    ULARGE_INTEGER all, read{}, put{};
    all.QuadPart = ~0ULL;
    ASSERT_EQ(stream->CopyTo(target, all, &read, &put), S_OK);
    EXPECT_EQ(read.QuadPart, 5000u);
    EXPECT_EQ(put.QuadPart, 5000u);
    const _bstr_t copied = StreamToBstr(target);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(static_cast<const wchar_t*>(copied)), 5000), big);

    Seek(stream, 0, STREAM_SEEK_SET);
    IStreamPtr partial = CreateMemoryStream();
    ULARGE_INTEGER some;
    some.QuadPart = 1500;
    ASSERT_EQ(stream->CopyTo(partial, some, &read, &put), S_OK);
    EXPECT_EQ(read.QuadPart, 1500u);
    EXPECT_EQ(Size(partial), 1500u);
}

TEST(Streams, CopyToATargetThatTakesLessFails)
{
    IStreamPtr source = Base64(L"QUJDREVG");
    auto* narrow = new NarrowTarget(4);
    IStreamPtr target(narrow, false);
    ULARGE_INTEGER all, read{}, put{};
    all.QuadPart = 100;
    EXPECT_EQ(source->CopyTo(target, all, &read, &put), E_FAIL);
    EXPECT_EQ(narrow->bytes, "ABCD");
    EXPECT_EQ(put.QuadPart, 4u);
}

TEST(ResourceStream, ReadsSeeksAndClonesAFileResource)
{
    IStreamPtr stream(new ResourceStream(4711), false);
    EXPECT_EQ(Size(stream), 16u);
    HRESULT last = E_FAIL;
    EXPECT_EQ(ReadAll(stream, &last), "0123456789abcdef");
    EXPECT_EQ(last, S_OK) << "a resource stream reports S_OK even for a short read";

    HRESULT hr = S_OK;
    EXPECT_EQ(Seek(stream, 0, STREAM_SEEK_END, &hr), 16u);
    EXPECT_EQ(hr, S_OK);
    Seek(stream, 1, STREAM_SEEK_END, &hr);
    EXPECT_EQ(hr, E_FAIL);
    Seek(stream, -17, STREAM_SEEK_END, &hr);
    EXPECT_EQ(hr, E_FAIL);
    Seek(stream, 17, STREAM_SEEK_SET, &hr);
    EXPECT_EQ(hr, E_FAIL);
    EXPECT_EQ(Seek(stream, -6, STREAM_SEEK_CUR, &hr), 10u);

    IStreamPtr clone;
    ASSERT_EQ(stream->Clone(&clone), S_OK);
    EXPECT_EQ(ReadAll(clone), "abcdef");
    ULONG written = 0;
    EXPECT_EQ(stream->Write("x", 1, &written), E_NOTIMPL);
    EXPECT_EQ(stream->SetSize(ULARGE_INTEGER{}), E_NOTIMPL);
    EXPECT_EQ(StreamToBstr(stream).length(), 8u) << "16 bytes are 8 UTF-16 characters";
}

TEST(ResourceStream, MissingResourceIsRaisedAsFailure)
{
    try
    {
        ResourceStream missing(4712);
        FAIL() << "no error";
    }
    catch (const _com_error& error)
    {
        EXPECT_EQ(error.Error(), E_FAIL);
    }
}

TEST(Streams, AnswerTheStreamInterfacesOnlyAndCountLiveObjects)
{
    const long before = g_liveComObjects;
    {
        IStreamPtr stream(new ResourceStream(4711), false);
        IStreamPtr clone;
        ASSERT_EQ(stream->Clone(&clone), S_OK);
        EXPECT_EQ(g_liveComObjects, before + 2);
        void* found = nullptr;
        EXPECT_EQ(stream->QueryInterface(IID_ISequentialStream, &found), S_OK);
        static_cast<IUnknown*>(found)->Release();
        EXPECT_EQ(stream->QueryInterface(IID_IStorage, &found), E_NOINTERFACE);
        EXPECT_EQ(found, nullptr);
    }
    EXPECT_EQ(g_liveComObjects, before);
}
