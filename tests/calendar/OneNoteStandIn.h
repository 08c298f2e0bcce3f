#pragma once
// Lumday's workers against the registered OneNote stand-in: each test gets a store, a call log and
// a scenario of its own, the English UI strings, a recorder in place of the failure message box,
// and the program's shared state as a fresh start leaves it.

#include "standins/onenote/CallLog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace CalendarTest
{
// A page of a store file: its name (none when empty), creation and modification times.
std::wstring StorePage(const std::wstring& id, const std::wstring& name, const std::wstring& created,
                       const std::wstring& modified = {}, const std::wstring& extra = {});

class OneNoteStandIn : public testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // The scenario file's text; "store <file>" with the given notebooks XML (2013 schema, inside
    // the root "Notebooks") comes first when notebooksXml is not empty.
    void UseStore(const std::wstring& notebooksXml, const std::string& moreScenario = {});
    void UseScenario(const std::string& scenario);
    std::vector<StandIn::CallRecord> Calls() const;
    // The calls of one method, in order.
    std::vector<StandIn::CallRecord> Calls(const std::wstring& method) const;

public:
    struct ShownFailure
    {
        std::wstring text;
        std::wstring caption;
    };

protected:
    // The failures shown since the test began.
    static std::vector<ShownFailure> ShownFailures();

    std::filesystem::path store_;
    std::filesystem::path callLog_;
    std::filesystem::path scenario_;
};
} // namespace CalendarTest
