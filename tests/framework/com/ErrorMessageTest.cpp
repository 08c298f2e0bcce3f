#include "framework/com/ComError.h"
#include "framework/com/ErrorInfo.h"
#include "framework/com/ErrorMessage.h"

#include <gtest/gtest.h>

namespace
{
_com_error Raised(HRESULT hr, const wchar_t* message)
{
    try
    {
        ThrowComError(hr, message);
    }
    catch (const _com_error& error)
    {
        return error;
    }
    return _com_error(S_OK);
}
} // namespace

TEST(ErrorMessage, OneNoteTableHoldsFortySevenCodesWithoutTheTwoGaps)
{
    int known = 0;
    for (HRESULT hr = static_cast<HRESULT>(0x80042000); hr <= static_cast<HRESULT>(0x80042030); ++hr)
        known += FindOneNoteErrorText(hr) != nullptr;
    EXPECT_EQ(known, 47);
    EXPECT_EQ(FindOneNoteErrorText(static_cast<HRESULT>(0x80042021)), nullptr);
    EXPECT_EQ(FindOneNoteErrorText(static_cast<HRESULT>(0x8004202F)), nullptr);
    EXPECT_EQ(FindOneNoteErrorText(static_cast<HRESULT>(0x80042031)), nullptr);
    EXPECT_STREQ(FindOneNoteErrorText(static_cast<HRESULT>(0x80042000)),
                 L"Page content or notebook hierarchy is not well-formed.");
    EXPECT_STREQ(FindOneNoteErrorText(static_cast<HRESULT>(0x80042022)),
                 L"Cannot continue this operation as there is content on this page from a future version of OneNote.");
    EXPECT_STREQ(FindOneNoteErrorText(static_cast<HRESULT>(0x80042030)), L"OneNote has a modal dialog box open.");
}

TEST(ErrorMessage, OneNoteCodeGetsItsTextAfterTheDescription)
{
    EXPECT_EQ(GetErrorMessage(_com_error(static_cast<HRESULT>(0x80042005))), L"The page does not exist.");
    EXPECT_EQ(GetErrorMessage(Raised(static_cast<HRESULT>(0x80042005), L"x")), L"x\r\n\r\nThe page does not exist.");
    EXPECT_EQ(GetErrorMessage(Raised(static_cast<HRESULT>(0x8004201B), L"")), L"The section is encrypted and locked.");
}

TEST(ErrorMessage, OtherCodesGetTheirDescriptionElseTheSystemText)
{
    EXPECT_EQ(GetErrorMessage(Raised(E_FAIL, L"Download failed")), L"Download failed");
    const std::wstring system = GetErrorMessage(_com_error(E_OUTOFMEMORY));
    EXPECT_FALSE(system.empty());
    EXPECT_EQ(system, GetSystemErrorMessage(E_OUTOFMEMORY));
    EXPECT_NE(system.back(), L'\n');
    EXPECT_EQ(GetErrorMessage(_com_error(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND))),
              GetSystemErrorMessage(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)));
}

TEST(ErrorMessage, GapsOfTheOneNoteRangeFallBackToTheSystemText)
{
    for (const HRESULT hr : {static_cast<HRESULT>(0x80042021), static_cast<HRESULT>(0x8004202F)})
    {
        const std::wstring text = GetErrorMessage(_com_error(hr));
        EXPECT_EQ(text, GetSystemErrorMessage(hr));
        EXPECT_FALSE(text.empty());
    }
    EXPECT_EQ(GetSystemErrorMessage(static_cast<HRESULT>(0x80042021)), L"IDispatch error #7713");
    EXPECT_EQ(GetSystemErrorMessage(static_cast<HRESULT>(0xA0FF1234)), L"Unknown error 0xA0FF1234");
}

TEST(ErrorMessage, HResultFormNamesOneNoteCodesAndWritesOthersInHex)
{
    EXPECT_EQ(GetErrorMessage(static_cast<HRESULT>(0x80042030)), L"OneNote has a modal dialog box open.");
    EXPECT_EQ(GetErrorMessage(E_FAIL), L"HRESULT: 0x80004005");
}

TEST(ErrorInfo, EmptyDescriptionIsANullStringAndOtherMembersAreNotImplemented)
{
    IErrorInfoPtr empty(new ErrorInfo(L""), false);
    BSTR text = reinterpret_cast<BSTR>(1);
    EXPECT_EQ(empty->GetDescription(&text), S_OK);
    EXPECT_EQ(text, nullptr);
    GUID guid{};
    EXPECT_EQ(empty->GetGUID(&guid), E_NOTIMPL);
    EXPECT_EQ(empty->GetSource(&text), E_NOTIMPL);
    EXPECT_EQ(empty->GetHelpFile(&text), E_NOTIMPL);
    DWORD context = 0;
    EXPECT_EQ(empty->GetHelpContext(&context), E_NOTIMPL);
}

TEST(ErrorInfo, DescriptionIsACopyOfTheSameLength)
{
    IErrorInfoPtr info(new ErrorInfo(L"Caf\u00e9"), false);
    BSTR text = nullptr;
    ASSERT_EQ(info->GetDescription(&text), S_OK);
    EXPECT_STREQ(text, L"Caf\u00e9");
    EXPECT_EQ(SysStringByteLen(text), 8u);
    SysFreeString(text);
    void* unrelated = reinterpret_cast<void*>(1);
    EXPECT_EQ(info->QueryInterface(IID_IDispatch, &unrelated), E_NOINTERFACE);
    EXPECT_EQ(unrelated, nullptr);
}

TEST(ErrorInfo, ThrowComErrorCarriesCodeAndMessageAndLeavesNoObjectBehind)
{
    const long before = g_liveComObjects;
    {
        const _com_error error = Raised(static_cast<HRESULT>(0x80070005), std::wstring(L"denied").c_str());
        EXPECT_EQ(error.Error(), static_cast<HRESULT>(0x80070005));
        EXPECT_EQ(GetErrorMessage(error), L"denied");
        EXPECT_EQ(g_liveComObjects, before + 1);
    }
    EXPECT_EQ(g_liveComObjects, before);
}
