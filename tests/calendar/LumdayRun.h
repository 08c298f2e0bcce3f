#pragma once
// What the tests of the real Lumday.exe share: starting it with a profile and a stand-in store of
// their own, its settings file, and its main window.

#include "tests/support/ProgramHarness.h"
#include "tests/support/Screenshot.h"

#include <windows.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>

namespace LumdayTest
{
using namespace std::chrono_literals;
using Screenshot::ClientPicture;

// " - Dayloom 1.18.1", the end of every title of the main window.
extern const wchar_t* const TitleSuffix;

std::filesystem::path LumdayExe();

// A store file of the OneNote stand-in holding the notebooks (2013 schema, inside the root
// "Notebooks"), named after the running test and the name.
std::filesystem::path WriteStoreFile(const std::wstring& name, const std::wstring& notebooksXml);
// A notebook of a store file with one page, created now.
std::wstring StoreNotebook(int number, const std::wstring& name, const std::wstring& path);

// Points the stand-in at a scenario ("store demo", "store <file>", ...); writing it again seeds
// the store again, also for a program that runs.
class StandInFiles
{
public:
    StandInFiles();
    void SetScenario(const std::string& scenario) const;
    // The environment that points a program at these files.
    std::map<std::wstring, std::wstring> Environment() const;
    // The store's folder, whose lock a test may hold to keep a program's calls into OneNote waiting.
    const std::filesystem::path& StoreFolder() const { return store_; }

private:
    std::filesystem::path store_;
    std::filesystem::path scenario_;
    std::filesystem::path callLog_;
};

std::unique_ptr<Harness::Program> Start(const Harness::Profile& profile, const StandInFiles& standIn,
                                        const std::wstring& arguments = L"",
                                        const std::filesystem::path& program = LumdayExe());

void WriteSettings(const Harness::Profile& profile, const std::wstring& text);
std::wstring ReadSettings(const Harness::Profile& profile);

// The title of the month view of today in English.
std::wstring MonthTitle();

// The main window, once it is visible.
HWND MainWindowOf(const Harness::Program& program);
// Whether the title comes to show the view's text and the suffix (a failure says what it shows).
bool TitleBecomes(HWND window, const std::wstring& viewText, std::chrono::milliseconds timeout = 10s);

// Whether the window comes to show something drawn in the square of side 2 * half + 1 around a
// client point (more than one colour there): a button or an arrow that the view has laid down.
bool DrawnAround(HWND window, POINT point, int half, std::chrono::milliseconds timeout = 20s);

// Opens the settings view with one click on the calendar's settings button, once the calendar has
// drawn it (it draws no buttons while a first load has filed no page, nor while it shows an
// update's progress), and waits for the view's title (viewText in the language shown). A click
// that is lost fails.
bool OpenSettings(HWND window, const std::wstring& viewText = L"Settings");

// Closes the Lumday that an update started again (the only main window left) and waits for it.
void CloseRestartedLumday();

// A colour of Lumday's table as a pixel.
COLORREF ColorRef(int color);
} // namespace LumdayTest
