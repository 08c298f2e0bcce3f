#pragma once
// What the engine's tests share: a stand-in store, call log and scenario of each test's own, the
// connection the programs make, a log file per test and the pauses of the busy retry recorded
// instead of slept.

#include "framework/onenote/OneNoteApplication.h"
#include "import_engine/ImportEngine.h"
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
