#include "tests/standins/StandInFixture.h"

namespace StandInTest
{
namespace
{
class Scenario : public StandInTest
{
};

TEST_F(Scenario, BusyForTheFirstCallsOfAMethod)
{
    WriteScenario("store demo\nbusy GetHierarchy 2\n");
    ApplicationPtr app = Connect();
    BSTR xml = nullptr;
    EXPECT_EQ(app->GetHierarchy(_bstr_t(L""), ON16::hsNotebooks, &xml, ON16::xs2013), Busy);
    EXPECT_EQ(app->GetHierarchy(_bstr_t(L""), ON16::hsNotebooks, &xml, ON16::xs2013), Busy);
    EXPECT_EQ(xml, nullptr);
    EXPECT_EQ(app->GetHierarchy(_bstr_t(L""), ON16::hsNotebooks, &xml, ON16::xs2013), S_OK);
    EXPECT_NE(xml, nullptr);
    SysFreeString(xml);
    const auto calls = Calls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].result, Busy);
    EXPECT_EQ(calls[2].result, S_OK);
    EXPECT_EQ(calls[2].method, L"GetHierarchy");
}

TEST_F(Scenario, FailureWithAndWithoutDescription)
{
    WriteScenario("store demo\nfail UpdatePageContent 0x80042010 The last modified date does not match.\n"
                  "fail NavigateToUrl 0x8004200A\n");
    ApplicationPtr app = Connect();
    EXPECT_EQ(app->UpdatePageContent(_bstr_t(L"<x/>"), 0.0, ON16::xs2013, VARIANT_TRUE),
              static_cast<HRESULT>(0x80042010));
    IErrorInfo* info = nullptr;
    ASSERT_EQ(GetErrorInfo(0, &info), S_OK);
    BSTR description = nullptr;
    info->GetDescription(&description);
    EXPECT_STREQ(description, L"The last modified date does not match.");
    SysFreeString(description);
    info->Release();
    // The error information is found the way _com_error finds it.
    ISupportErrorInfo* support = nullptr;
    ASSERT_EQ(app->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(&support)), S_OK);
    EXPECT_EQ(support->InterfaceSupportsErrorInfo(__uuidof(ON16::IApplication)), S_OK);
    support->Release();

    EXPECT_EQ(app->NavigateToUrl(_bstr_t(L"onenote:///x"), VARIANT_FALSE), static_cast<HRESULT>(0x8004200A));
    info = nullptr;
    EXPECT_EQ(GetErrorInfo(0, &info), S_FALSE);
    if (info)
        info->Release();
}

TEST_F(Scenario, FailureForAnId)
{
    ApplicationPtr app = Connect();
    const std::wstring section = FirstId(Hierarchy(app, L"", ON16::hsSections), L"Section");
    WriteScenario("failid " + Utf8(section) + " 0x8004200B\n");
    BSTR xml = nullptr;
    EXPECT_EQ(app->GetHierarchy(_bstr_t(section.c_str()), ON16::hsPages, &xml, ON16::xs2013),
              static_cast<HRESULT>(0x8004200B));
    BSTR page = nullptr;
    EXPECT_EQ(app->CreateNewPage(_bstr_t(section.c_str()), &page, ON16::npsDefault), static_cast<HRESULT>(0x8004200B));
    EXPECT_EQ(app->GetHierarchy(_bstr_t(L""), ON16::hsNotebooks, &xml, ON16::xs2013), S_OK);
    SysFreeString(xml);
}

TEST_F(Scenario, StartsFromTheStoreItNames)
{
    const auto storeFile = SchemaCheck::WriteOutputFile(
        L".start.xml",
        "<?xml version=\"1.0\"?><one:Notebooks xmlns:one=\"http://schemas.microsoft.com/office/onenote/2013/onenote\">"
        "<one:Notebook name=\"Only\" ID=\"{AAAAAAAA-0000-0000-0000-000000000001}{1}{B0}\" path=\"C:\\Only\">"
        "<one:Section name=\"S\" ID=\"{AAAAAAAA-0000-0000-0000-000000000002}{1}{B0}\" path=\"C:\\Only\\S.one\"/>"
        "</one:Notebook></one:Notebooks>");
    WriteScenario("store " + storeFile.string() + "\n");
    ApplicationPtr app = Connect();
    const std::wstring xml = Hierarchy(app, L"", ON16::hsSections);
    EXPECT_NE(xml.find(L"name=\"Only\""), std::wstring::npos);
    EXPECT_EQ(xml.find(L"name=\"Work\""), std::wstring::npos);
    EXPECT_TRUE(IsValid(xml, ON16::xs2013, L"seeded"));
}

TEST_F(Scenario, NoWindowCollectionOrNoCurrentWindow)
{
    WriteScenario("store demo\nwindows none\n");
    ApplicationPtr app = Connect();
    ON16::Windows* windows = reinterpret_cast<ON16::Windows*>(1);
    EXPECT_EQ(app->get_Windows(&windows), S_OK);
    EXPECT_EQ(windows, nullptr);

    WriteScenario("store demo\ncurrentwindow none\n");
    WindowsPtr collection;
    ASSERT_EQ(app->get_Windows(&collection), S_OK);
    ASSERT_TRUE(collection);
    ULONG count = 7;
    EXPECT_EQ(collection->get_Count(&count), S_OK);
    EXPECT_EQ(count, 0u);
    ON16::Window* window = reinterpret_cast<ON16::Window*>(1);
    EXPECT_EQ(collection->get_CurrentWindow(&window), S_OK);
    EXPECT_EQ(window, nullptr);
}
} // namespace
} // namespace StandInTest
