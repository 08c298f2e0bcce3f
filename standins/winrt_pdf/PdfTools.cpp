#include "standins/winrt_pdf/PdfTools.h"

#include "framework/files/Files.h"
#include "framework/text/Text.h"
#include "framework/winrt/RuntimeError.h"
#include "framework/winrt/WinRtInterfaces.h"
#include "standins/common/HostShell.h"

#include <sstream>

namespace WinRtStandIn
{
namespace
{
// A password opens the document as its owner or as a user, whichever it is.
std::string PasswordArguments(const std::optional<std::wstring>& password)
{
    if (!password)
        return {};
    const std::string quoted = HostShell::Quoted(WideToUtf8(*password));
    return " -opw " + quoted + " -upw " + quoted;
}

std::string InputFile(const std::wstring& path)
{
    const std::string unix = HostShell::UnixPath(path);
    if (unix.empty())
        throw WinRt::RuntimeError(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    return HostShell::Quoted(unix);
}

// The tool's refusal as the platform reports it.
[[noreturn]] void ThrowToolFailure(const HostShell::Result& result)
{
    if (result.output.find("Incorrect password") != std::string::npos)
        throw WinRt::RuntimeError(WinRt::WrongPassword);
    if (result.output.find("Couldn't open file") != std::string::npos)
        throw WinRt::RuntimeError(static_cast<HRESULT>(0x8003001E)); // STG_E_READFAULT
    throw WinRt::RuntimeError(E_FAIL);
}
} // namespace

PdfFacts ReadPdfFacts(const std::wstring& path, const std::optional<std::wstring>& password)
{
    const HostShell::Result result =
        HostShell::Run("pdfinfo -box -f 1 -l 2147483647" + PasswordArguments(password) + " " + InputFile(path));
    if (result.exitCode != 0)
    {
        // poppler refuses any page range of a document without pages; the platform opens it.
        if (result.output.find("the last page (0)") != std::string::npos)
            return {};
        ThrowToolFailure(result);
    }

    PdfFacts facts;
    std::istringstream lines(result.output);
    std::string line;
    std::vector<int> rotations;
    while (std::getline(lines, line))
    {
        std::istringstream words(line);
        std::string first;
        words >> first;
        if (first == "Pages:")
        {
            size_t count = 0;
            words >> count;
            facts.pages.resize(count);
            rotations.resize(count);
        }
        else if (first == "Encrypted:")
        {
            std::string answer;
            words >> answer;
            facts.isPasswordProtected = answer == "yes";
        }
        else if (first == "Page")
        {
            size_t number = 0;
            std::string what;
            words >> number >> what;
            if (number < 1 || number > facts.pages.size())
                continue;
            if (what == "rot:")
                words >> rotations[number - 1];
            else if (what == "CropBox:")
            {
                float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
                words >> x1 >> y1 >> x2 >> y2;
                // Points (1/72 inch) to device-independent pixels (1/96 inch).
                facts.pages[number - 1] = {(x2 - x1) * 96.0f / 72.0f, (y2 - y1) * 96.0f / 72.0f};
            }
        }
    }
    for (size_t i = 0; i < facts.pages.size(); ++i)
        if (rotations[i] % 180 != 0)
            std::swap(facts.pages[i].width, facts.pages[i].height);
    return facts;
}

std::string RenderPdfPage(const std::wstring& path, const std::optional<std::wstring>& password, unsigned index,
                          unsigned width, unsigned height)
{
    const std::wstring image = GetTempFilePath(
        (L"winrt-standin-page-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
         std::to_wstring(::GetCurrentThreadId()) + L"-" + std::to_wstring(::GetTickCount()))
            .c_str());
    const std::string page = std::to_string(index + 1);
    const HostShell::Result result = HostShell::Run(
        "pdftoppm -png -singlefile -f " + page + " -l " + page + " -scale-to-x " + std::to_string(width) +
        " -scale-to-y " + std::to_string(height) + PasswordArguments(password) + " " + InputFile(path) + " " +
        HostShell::Quoted(HostShell::UnixPath(image)));
    if (result.exitCode != 0)
        ThrowToolFailure(result);
    const std::wstring pngFile = image + L".png";
    std::string bytes = ReadFileBytes(pngFile.c_str());
    ::DeleteFileW(pngFile.c_str());
    if (bytes.empty())
        throw WinRt::RuntimeError(E_FAIL);
    return bytes;
}
} // namespace WinRtStandIn
