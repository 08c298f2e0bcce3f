#pragma once
// What every test of the OneNote stand-in shares: a store folder, call log and scenario of its
// own (set in the environment before the in-process server is created), and a connection made
// the way the programs make it.

#include "framework/Owners.h"
#include "framework/onenote/OneNoteAutomation.h"
#include "standins/onenote/CallLog.h"
#include "tests/support/SchemaCheck.h"
#include "tests/support/TestPaths.h"

#include <comdef.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>


namespace StandInTest
{
using ApplicationPtr = _com_ptr_t<_com_IIID<ON16::IApplication, &__uuidof(ON16::IApplication)>>;
using WindowsPtr = _com_ptr_t<_com_IIID<ON16::Windows, &__uuidof(ON16::Windows)>>;
using WindowPtr = _com_ptr_t<_com_IIID<ON16::Window, &__uuidof(ON16::Window)>>;
using DialogPtr = _com_ptr_t<_com_IIID<ON16::IQuickFilingDialog, &__uuidof(ON16::IQuickFilingDialog)>>;

inline constexpr HRESULT Busy = static_cast<HRESULT>(0x80010001);
// The declaration of OneNote 2013's page namespace, as the stand-in writes it.
inline const std::wstring Ns2013 = L"xmlns:one=\"http://schemas.microsoft.com/office/onenote/2013/onenote\"";

class StandInTest : public testing::Test
{
protected:
    void SetUp() override;
    // Reports the test skipped, with the reason, when the stand-in could not check the XML it
    // received against OneNote's schema.
    void TearDown() override;

    // Writes the scenario file (before the first call that should see it).
    void WriteScenario(const std::string& text);
    // CoCreateInstance (context 0x17, IUnknown), OleRun, QueryInterface for IApplication.
    ApplicationPtr Connect(const CLSID& clsid = ON16::CLSID_Application);
    // The calls of the log, without the stand-in's notes of XML it could not check against the
    // schema (TearDown reports the test skipped for them).
    std::vector<StandIn::CallRecord> Calls() const;

    std::wstring Hierarchy(ON16::IApplication* app, const std::wstring& id, ON16::HierarchyScope scope,
                           ON16::XMLSchema schema = ON16::xs2013);
    std::wstring Content(ON16::IApplication* app, const std::wstring& id, ON16::XMLSchema schema = ON16::xs2013);
    // A new page in the demo store's section "Projects" (empty when it could not be made).
    std::wstring NewPage(ON16::IApplication* app, ON16::NewPageStyle style = ON16::npsDefault);
    // The ID attribute of the first element with this name in the XML (or empty).
    static std::wstring FirstId(const std::wstring& xml, const std::wstring& element, const std::wstring& nameFilter = {});
    static std::wstring AttributeOf(const std::wstring& xml, const std::wstring& element, const std::wstring& attribute);
    // Whether the published schemas are there for the stand-in to check received XML against.
    static bool HaveSchemas();
    // Validates XML against the published schema of its version (skips without the shared folder).
    testing::AssertionResult IsValid(const std::wstring& xml, ON16::XMLSchema schema, const std::wstring& name);

    std::filesystem::path store_;
    std::filesystem::path callLog_;
    std::filesystem::path scenario_;
    Owners::OleApartment apartment_;
};

std::string Utf8(const std::wstring& text);

// The bytes OneNote hands out for a picture of a stored page (GetBinaryPageContent, decoded);
// empty when it hands out none.
std::string PictureBytes(ON16::IApplication& app, const std::wstring& pageId, const std::wstring& callbackId);

// Starts this test program again to run one (disabled) test as a second process; it inherits this
// process's environment, without the sharding of the run that started it.
Owners::KernelHandle StartThisProgram(const std::wstring& testFilter);
} // namespace StandInTest
