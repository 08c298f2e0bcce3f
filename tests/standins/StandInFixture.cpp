#include "tests/standins/StandInFixture.h"

#include "standins/onenote/Xml.h"
#include "tests/support/StandInSession.h"

#include "framework/text/Text.h"

#include <fstream>
#include <regex>

namespace StandInTest
{
std::string Utf8(const std::wstring& text) { return WideToUtf8(text); }

Owners::KernelHandle StartThisProgram(const std::wstring& testFilter)
{
    SetEnvironmentVariableW(L"GTEST_TOTAL_SHARDS", nullptr);
    SetEnvironmentVariableW(L"GTEST_SHARD_INDEX", nullptr);
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring commandLine =
        L"\"" + std::wstring(self) + L"\" --gtest_also_run_disabled_tests --gtest_filter=" + testFilter;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return {};
    const Owners::KernelHandle thread(process.hThread);
    return Owners::KernelHandle(process.hProcess);
}

void StandInTest::SetUp()
{
    ASSERT_TRUE(SUCCEEDED(apartment_.result()));
    const StandInSession::Files files = StandInSession::UseOwnFiles();
    store_ = files.store;
    callLog_ = files.callLog;
    scenario_ = files.scenario;
    // Every test starts from the demo store unless its scenario says otherwise.
    WriteScenario("store demo\n");
}

void StandInTest::TearDown()
{
    // XML the stand-in received but could not check against OneNote's schema: a test relying on
    // that check did not have it, and says so rather than passing.
    std::vector<StandIn::CallRecord> unchecked;
    for (auto& record : StandIn::ReadCallLog(callLog_.wstring()))
        if (record.method == StandIn::NotValidatedRecord)
            unchecked.push_back(std::move(record));
    if (unchecked.empty())
        return;
    const auto& first = unchecked.front().arguments;
    GTEST_SKIP() << "the OneNote stand-in could not check " << unchecked.size()
                 << " received document(s) against OneNote's schema ("
                 << Utf8(first.size() > 1 ? first[1] : L"no reason given")
                 << "), so what the test sent was not checked against it";
}

void StandInTest::WriteScenario(const std::string& text) { StandInSession::WriteScenario(scenario_, text); }

ApplicationPtr StandInTest::Connect(const CLSID& clsid)
{
    IUnknown* unknown = nullptr;
    HRESULT hr = CoCreateInstance(clsid, nullptr, 0x17, IID_IUnknown, reinterpret_cast<void**>(&unknown));
    EXPECT_EQ(hr, S_OK);
    if (FAILED(hr))
        return nullptr;
    EXPECT_EQ(OleRun(unknown), S_OK);
    ApplicationPtr app;
    hr = unknown->QueryInterface(__uuidof(ON16::IApplication), reinterpret_cast<void**>(&app));
    unknown->Release();
    EXPECT_EQ(hr, S_OK);
    return app;
}

std::vector<StandIn::CallRecord> StandInTest::Calls() const
{
    std::vector<StandIn::CallRecord> calls = StandIn::ReadCallLog(callLog_.wstring());
    std::erase_if(calls,
                  [](const StandIn::CallRecord& record) { return record.method == StandIn::NotValidatedRecord; });
    return calls;
}

std::wstring StandInTest::NewPage(ON16::IApplication* app, ON16::NewPageStyle style)
{
    const std::wstring section = FirstId(Hierarchy(app, L"", ON16::hsSections), L"Section", L"Projects");
    EXPECT_FALSE(section.empty());
    BSTR id = nullptr;
    EXPECT_EQ(app->CreateNewPage(_bstr_t(section.c_str()), &id, style), S_OK);
    std::wstring page = id ? id : L"";
    SysFreeString(id);
    return page;
}

std::wstring StandInTest::Hierarchy(ON16::IApplication* app, const std::wstring& id, ON16::HierarchyScope scope,
                                    ON16::XMLSchema schema)
{
    BSTR xml = nullptr;
    const HRESULT hr = app->GetHierarchy(_bstr_t(id.c_str()), scope, &xml, schema);
    EXPECT_EQ(hr, S_OK) << "GetHierarchy " << Utf8(id) << " scope " << scope;
    std::wstring text = xml ? xml : L"";
    SysFreeString(xml);
    return text;
}

std::wstring StandInTest::Content(ON16::IApplication* app, const std::wstring& id, ON16::XMLSchema schema)
{
    BSTR xml = nullptr;
    const HRESULT hr = app->GetPageContent(_bstr_t(id.c_str()), &xml, ON16::piBasic, schema);
    EXPECT_EQ(hr, S_OK) << "GetPageContent " << Utf8(id);
    std::wstring text = xml ? xml : L"";
    SysFreeString(xml);
    return text;
}

std::string PictureBytes(ON16::IApplication& app, const std::wstring& pageId, const std::wstring& callbackId)
{
    BSTR base64 = nullptr;
    if (app.GetBinaryPageContent(_bstr_t(pageId.c_str()), _bstr_t(callbackId.c_str()), &base64) != S_OK)
        return {};
    const _bstr_t text(base64, false);
    DWORD size = 0;
    if (!CryptStringToBinaryW(text, 0, CRYPT_STRING_BASE64, nullptr, &size, nullptr, nullptr))
        return {};
    std::string bytes(size, '\0');
    if (!CryptStringToBinaryW(text, 0, CRYPT_STRING_BASE64, reinterpret_cast<BYTE*>(bytes.data()), &size, nullptr, nullptr))
        return {};
    bytes.resize(size);
    return bytes;
}

std::wstring StandInTest::FirstId(const std::wstring& xml, const std::wstring& element, const std::wstring& nameFilter)
{
    const std::wregex tag(L"<one:" + element + L"\\b[^>]*>");
    for (std::wsregex_iterator it(xml.begin(), xml.end(), tag), end; it != end; ++it)
    {
        const std::wstring text = it->str();
        if (!nameFilter.empty() && text.find(L"name=\"" + nameFilter + L"\"") == std::wstring::npos)
            continue;
        std::wsmatch id;
        if (std::regex_search(text, id, std::wregex(L" ID=\"([^\"]*)\"")))
            return id[1];
    }
    return {};
}

std::wstring StandInTest::AttributeOf(const std::wstring& xml, const std::wstring& element, const std::wstring& attribute)
{
    std::wsmatch tag;
    if (!std::regex_search(xml, tag, std::wregex(L"<one:" + element + L"\\b[^>]*>")))
        return {};
    const std::wstring text = tag.str();
    std::wsmatch value;
    if (std::regex_search(text, value, std::wregex(L" " + attribute + L"=\"([^\"]*)\"")))
        return value[1];
    return {};
}

bool StandInTest::HaveSchemas()
{
    const bool have2013 = SchemaCheck::SharedFileOrSkip(L"platform/xsd/onenote-2013.xsd").has_value();
    const bool have2010 = SchemaCheck::SharedFileOrSkip(L"platform/xsd/onenote-2010.xsd").has_value();
    return have2013 && have2010;
}

testing::AssertionResult StandInTest::IsValid(const std::wstring& xml, ON16::XMLSchema schema, const std::wstring& name)
{
    const auto xsd = SchemaCheck::SharedFileOrSkip(schema == ON16::xs2010 ? L"platform/xsd/onenote-2010.xsd"
                                                                           : L"platform/xsd/onenote-2013.xsd");
    if (xml.rfind(L"<?xml version=\"1.0\"?>", 0) != 0)
        return testing::AssertionFailure() << "no XML declaration: " << Utf8(xml.substr(0, 80));
    if (xml.find(L"xmlns:one=\"") == std::wstring::npos)
        return testing::AssertionFailure() << "no \"one\" prefix";
    if (!xsd)
        return testing::AssertionSuccess() << "(no schema to check against: the test is reported skipped)";
    const auto file = SchemaCheck::WriteOutputFile(L"." + name + L".xml", Utf8(xml));
    return SchemaCheck::IsValidAgainst(file, *xsd);
}
} // namespace StandInTest
