// Proves the chain the whole project stands on: our 32-bit programs calling COM, GDI+, XmlLite
// and windows on the virtual display through Wine, and the test helpers that look at them.
#include "framework/Owners.h"
#include "framework/com/ComError.h"
#include "framework/streams/MemoryStream.h"
#include "tests/support/SchemaCheck.h"
#include "tests/support/Screenshot.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

#include <objidl.h>
#include <gdiplus.h>
#include <xmllite.h>

#include <ctime>
#include <filesystem>
#include <string>

_COM_SMARTPTR_TYPEDEF(IXmlWriter, IID_IXmlWriter);
_COM_SMARTPTR_TYPEDEF(IXmlReader, IID_IXmlReader);
_COM_SMARTPTR_TYPEDEF(IGlobalInterfaceTable, IID_IGlobalInterfaceTable);

TEST(PlatformChain, ComCreatesSystemObjectAndCarriesOurErrorText)
{
    Owners::ComApartment apartment(COINIT_APARTMENTTHREADED);
    ASSERT_TRUE(SUCCEEDED(apartment.result()));

    IGlobalInterfaceTablePtr table;
    ASSERT_EQ(table.CreateInstance(CLSID_StdGlobalInterfaceTable), S_OK);

    try
    {
        ThrowComError(0x80042005, L"The page is gone");
        FAIL() << "ThrowComError returned";
    }
    catch (const _com_error& error)
    {
        EXPECT_EQ(error.Error(), static_cast<HRESULT>(0x80042005));
        EXPECT_STREQ(static_cast<const wchar_t*>(error.Description()), L"The page is gone");
    }
}

TEST(PlatformChain, XmlLiteWritesAndReadsBackThroughMemoryStream)
{
    Owners::ComApartment apartment;
    IStreamPtr stream = CreateMemoryStream();

    IXmlWriterPtr writer;
    ASSERT_EQ(CreateXmlWriter(IID_IXmlWriter, reinterpret_cast<void**>(&writer), nullptr), S_OK);
    ASSERT_EQ(writer->SetOutput(stream), S_OK);
    writer->WriteStartDocument(XmlStandalone_Omit);
    writer->WriteStartElement(L"one", L"Page", L"http://schemas.microsoft.com/office/onenote/2013/onenote");
    writer->WriteAttributeString(nullptr, L"name", nullptr, L"Caf\u00e9 \u00e0 la carte");
    writer->WriteEndElement();
    ASSERT_EQ(writer->Flush(), S_OK);

    const _bstr_t bytes = StreamToBstr(stream);
    const std::string utf8(static_cast<const char*>(static_cast<const void*>(static_cast<wchar_t*>(bytes))),
                           SysStringByteLen(static_cast<wchar_t*>(bytes)));
    EXPECT_NE(utf8.find("Caf\xC3\xA9 \xC3\xA0 la carte"), std::string::npos) << utf8;

    LARGE_INTEGER start{};
    stream->Seek(start, STREAM_SEEK_SET, nullptr);
    IXmlReaderPtr reader;
    ASSERT_EQ(CreateXmlReader(IID_IXmlReader, reinterpret_cast<void**>(&reader), nullptr), S_OK);
    ASSERT_EQ(reader->SetInput(stream), S_OK);
    XmlNodeType type;
    while (reader->Read(&type) == S_OK && type != XmlNodeType_Element)
    {
    }
    ASSERT_EQ(type, XmlNodeType_Element);
    ASSERT_EQ(reader->MoveToAttributeByName(L"name", nullptr), S_OK);
    const wchar_t* value = nullptr;
    reader->GetValue(&value, nullptr);
    EXPECT_STREQ(value, L"Caf\u00e9 \u00e0 la carte");
}

TEST(PlatformChain, WindowOnVirtualDisplayIsPaintedAndCaptured)
{
    Screenshot::GdiplusSession gdiplus;
    ASSERT_TRUE(gdiplus.started());

    static const wchar_t className[] = L"PlatformChainTestWindow";
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hbrBackground = CreateSolidBrush(RGB(0, 120, 215));
    windowClass.lpszClassName = className;
    ASSERT_NE(RegisterClassExW(&windowClass), 0);

    Owners::OwnedWindow window(CreateWindowExW(0, className, L"Chain", WS_POPUP | WS_VISIBLE, 40, 40, 200, 120,
                                               nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
    ASSERT_TRUE(window);
    Owners::OwnedWindow button(CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10,
                                               80, 28, window.get(), nullptr, GetModuleHandleW(nullptr), nullptr));
    ASSERT_TRUE(button);

    const Screenshot::Capture capture = Screenshot::CaptureWindow(window.get());
    ASSERT_EQ(capture.width, 200);
    ASSERT_EQ(capture.height, 120);
    EXPECT_EQ(capture.At(150, 100), RGB(0, 120, 215)) << "the class brush paints the background";
    EXPECT_NE(capture.At(50, 24), RGB(0, 120, 215)) << "the button paints over it";

    const std::filesystem::path png = Screenshot::Save(capture, L"window");
    ASSERT_FALSE(png.empty());
    EXPECT_GT(std::filesystem::file_size(png), 100u);

    button.reset();
    window.reset();
    UnregisterClassW(className, GetModuleHandleW(nullptr));
    DeleteObject(windowClass.hbrBackground);
}

TEST(PlatformChain, ManifestSelectsVersion6CommonControls)
{
    // Wine's version 6 library still answers 5 to DllGetVersion: tell it by where it was loaded
    // from, the side-by-side assembly that the manifest names.
    HMODULE comctl = LoadLibraryW(L"comctl32.dll");
    ASSERT_NE(comctl, nullptr);
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(comctl, path, MAX_PATH);
    EXPECT_NE(std::wstring(path).find(L"common-controls_6595b64144ccf1df_6."), std::wstring::npos) << path;
    FreeLibrary(comctl);
}

TEST(PlatformChain, HostToolsCheckXmlAgainstOneNoteSchema)
{
    SKIP_WITHOUT_SHARED_FILE(schema, L"platform/xsd/onenote-2013.xsd");
    const auto valid = SchemaCheck::WriteOutputFile(
        L".valid.xml",
        "<?xml version=\"1.0\"?><one:Notebooks xmlns:one=\"http://schemas.microsoft.com/office/onenote/2013/onenote\"/>");
    EXPECT_TRUE(SchemaCheck::IsValidAgainst(valid, *schema));

    const auto invalid = SchemaCheck::WriteOutputFile(
        L".invalid.xml",
        "<?xml version=\"1.0\"?><one:Bogus xmlns:one=\"http://schemas.microsoft.com/office/onenote/2013/onenote\"/>");
    EXPECT_FALSE(SchemaCheck::IsValidAgainst(invalid, *schema));

    const auto reordered = SchemaCheck::WriteOutputFile(L".c14n.xml", "<a y=\"2\"   x=\"1\"></a>");
    EXPECT_EQ(SchemaCheck::Canonical(reordered), "<a x=\"1\" y=\"2\"></a>");
}

TEST(PlatformChain, TestsRunInBerlinTimeForWindowsAndTheCLibrary)
{
    TIME_ZONE_INFORMATION zone{};
    GetTimeZoneInformation(&zone);
    EXPECT_EQ(zone.Bias, -60);

    // 2024-07-01 12:00 UTC is 14:00 summer time in Berlin, 2024-01-15 12:00 UTC is 13:00.
    const __time64_t summer = 1719835200;
    const __time64_t winter = 1705320000;
    tm local{};
    ASSERT_EQ(_localtime64_s(&local, &summer), 0);
    EXPECT_EQ(local.tm_hour, 14);
    ASSERT_EQ(_localtime64_s(&local, &winter), 0);
    EXPECT_EQ(local.tm_hour, 13);
}
