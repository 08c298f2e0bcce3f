#pragma once
// What the engine's tests share: a stand-in store, call log and scenario of each test's own, the
// connection the programs make, a log file per test and the pauses of the busy retry recorded
// instead of slept.

#include "framework/onenote/OneNoteApplication.h"
#include "import_engine/EntryImport.h"
#include "import_engine/FolderExpansion.h"
#include "import_engine/ImageImport.h"
#include "import_engine/ImportEngine.h"
#include "import_engine/ImportRun.h"
#include "import_engine/Target.h"
#include "import_engine/TargetPreparation.h"
#include "import_engine/TextContent.h"
#include "tests/standins/StandInFixture.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace EngineTest
{
// Records the pauses of the busy retry while it lives, so that no test waits for them.
class RecordedPauses
{
public:
    RecordedPauses();
    ~RecordedPauses();
    RecordedPauses(const RecordedPauses&) = delete;
    RecordedPauses& operator=(const RecordedPauses&) = delete;

    std::vector<DWORD> Taken() const;

private:
    BusyPause previous_;
};

class EngineTest : public StandInTest::StandInTest
{
protected:
    void SetUp() override;
    void TearDown() override;

    // CreateOneNoteApplication, expected to succeed.
    ON16::ApplicationPtr Application();
    // The messages of the log entries written since the test started.
    std::vector<std::wstring> LogMessages();

    RecordedPauses pauses_;
    std::wstring logPath_;
};

// The scenario line that seeds the store from a store file of the engine's tests (with fixed IDs).
std::string FixtureStoreLine(const std::wstring& file = L"store.xml");

// Fixed IDs of the fixture store (tests/import_engine/fixtures/store.xml).
namespace FixtureIds
{
inline constexpr const wchar_t* Work = L"{8E2C0A51-3B7F-4C2D-A6E9-10F4D2B7C301}{1}{B0}";
inline constexpr const wchar_t* Surveys = L"{8E2C0A51-3B7F-4C2D-A6E9-10F4D2B7C302}{1}{B0}";
inline constexpr const wchar_t* Projects = L"{8E2C0A51-3B7F-4C2D-A6E9-10F4D2B7C304}{1}{B0}";
inline constexpr const wchar_t* Renovation = L"{8E2C0A51-3B7F-4C2D-A6E9-10F4D2B7C305}{1}{B0}";
inline constexpr const wchar_t* Group2025 = L"{8E2C0A51-3B7F-4C2D-A6E9-10F4D2B7C306}{1}{B0}";
inline constexpr const wchar_t* Garden = L"{8E2C0A51-3B7F-4C2D-A6E9-10F4D2B7C307}{1}{B0}";
inline constexpr const wchar_t* SiteSurvey =
    L"{6F0D3C2A-8B41-4E57-9A1C-2D7E5B90C101}{1}{E19550781203469385721820161923412680271}";
inline constexpr const wchar_t* Budget = L"{9A1B2C3D-4E5F-4061-8293-A4B5C6D7E801}{1}{E1}";
inline constexpr const wchar_t* Clients = L"{B1C2D3E4-F5A6-4B7C-8D9E-0F1A2B3C4D01}{1}{B0}";
inline constexpr const wchar_t* Acme = L"{B1C2D3E4-F5A6-4B7C-8D9E-0F1A2B3C4D02}{1}{B0}";
inline constexpr const wchar_t* Contracts = L"{B1C2D3E4-F5A6-4B7C-8D9E-0F1A2B3C4D03}{1}{B0}";
inline constexpr const wchar_t* OpenSections = L"{00000000-0000-0000-0000-000000000000}{1}{B0}";
// A section without pages.
inline constexpr const wchar_t* Archive = L"{8E2C0A51-3B7F-4C2D-A6E9-10F4D2B7C303}{1}{B0}";
} // namespace FixtureIds

// Whether XML the engine sent is valid against OneNote's published 2013 schema (where the shared
// folder is missing, the test is reported skipped).
testing::AssertionResult IsValidSent(const std::wstring& xml, const std::wstring& name);

// The text of a _com_error's IErrorInfo description; empty when it carries none.
std::wstring DescriptionOf(const _com_error& error);

// The COM error that call raises, if it raises one.
template <typename Call>
std::optional<_com_error> ComErrorRaisedBy(Call&& call)
{
    try
    {
        call();
    }
    catch (const _com_error& error)
    {
        return error;
    }
    return std::nullopt;
}
} // namespace EngineTest
