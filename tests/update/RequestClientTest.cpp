// Requests against the local update service: the token it can decrypt, the parameters in order,
// status errors, progress, answers cut short, headers, the log, certificates that fail, and the
// errors that may reach the error dialog.
#include "framework/files/Files.h"
#include "framework/log/Log.h"
#include "framework/text/Text.h"
#include "tests/support/TestPaths.h"
#include "tests/update/ServiceScenario.h"
#include "update/HttpsRequest.h"
#include "update/Update.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

using UpdateTest::ServiceScenario;

namespace
{
// Records the calls of the send error dialog and answers as told.
class ErrorDialogRecorder
{
public:
    explicit ErrorDialogRecorder(DWORD answer) : saved_(InternetErrorDialog)
    {
        InternetErrorDialog = [this, answer](HWND, HINTERNET, DWORD error, DWORD flags) {
            errors.push_back(error);
            this->flags = flags;
            return answer;
        };
    }
    ~ErrorDialogRecorder() { InternetErrorDialog = saved_; }

    std::vector<DWORD> errors;
    DWORD flags = 0;

private:
    InternetErrorDialogFunction saved_;
};

std::string Platform() { return "x86/" + GetPlatformName(); }

std::string ValueOf(const RequestParameters& parameters, const std::string& key)
{
    for (const auto& [name, value] : parameters)
        if (name == key)
            return value;
    return {};
}

HRESULT ErrorOf(const std::function<void()>& action, std::wstring* description = nullptr)
{
    try
    {
        action();
    }
    catch (const _com_error& error)
    {
        if (description)
            *description = error.Description().length() ? static_cast<const wchar_t*>(error.Description()) : L"";
        return error.Error();
    }
    return S_OK;
}
} // namespace

TEST(RequestClient, ServiceDecryptsTokensOfEveryBlockCount)
{
    ServiceScenario scenario;
    for (const int length : {1, 117, 118, 300})
    {
        SCOPED_TRACE(length);
        scenario.Set("token_length", std::to_string(length));
        scenario.Set("check.body", "fine");
        EXPECT_EQ("fine", SendServiceRequest(L"check", {})->GetBody());
        const auto requests = scenario.Requests();
        ASSERT_FALSE(requests.empty());
        EXPECT_EQ("good", requests.back().tokenVerdict);
        const size_t blocks = (length + 116) / 117;
        EXPECT_EQ(blocks * 256, ValueOf(requests.back().Parameters(), "token").size());
    }
}

TEST(RequestClient, SendsCallerParametersThenTokenVersionAndPlatform)
{
    ServiceScenario scenario;
    SendServiceRequest(L"getVersion", {{"product", "Sheafin.x86"}, {"note", "a b/\xC3\xBC"}})->GetBody();

    const auto requests = scenario.Requests();
    ASSERT_EQ(2u, requests.size());
    const std::string name = scenario.Identity().name;
    EXPECT_EQ("getToken", requests[0].name);
    EXPECT_EQ("product=" + name + "&version=1.3.0&platform=" + FormUrlEncode(Platform()) + "&", requests[0].body);
    EXPECT_EQ(name + "-1.3.0-" + Platform(), requests[0].agent);
    EXPECT_EQ("application/x-www-form-urlencoded", requests[0].contentType);

    EXPECT_EQ("getVersion", requests[1].name);
    const auto parameters = requests[1].Parameters();
    ASSERT_EQ(5u, parameters.size());
    EXPECT_EQ((std::pair<std::string, std::string>("product", "Sheafin.x86")), parameters[0]);
    EXPECT_EQ("note", parameters[1].first);
    EXPECT_EQ("token", parameters[2].first);
    EXPECT_EQ((std::pair<std::string, std::string>("version", "1.3.0")), parameters[3]);
    EXPECT_EQ((std::pair<std::string, std::string>("platform", Platform())), parameters[4]);
    EXPECT_NE(std::string::npos, requests[1].body.find("&note=a+b%2F%C3%BC&token="));
    EXPECT_EQ("good", requests[1].tokenVerdict);
}

TEST(RequestClient, LogShowsEveryParameterButTheToken)
{
    ServiceScenario scenario;
    const auto log = TestPaths::OutputFile(L".log");
    OpenLogFile(log.wstring());
    SendServiceRequest(L"getVersion", {{"product", "Dayloom"}})->GetBody();
    CloseLogFile();
    const std::wstring text = ReadTextFile(log.c_str());
    OpenLogFile();

    const std::string token = ValueOf(scenario.Requests().back().Parameters(), "token");
    EXPECT_EQ(std::wstring::npos, text.find(Utf8ToWide(token)));
    for (const std::wstring& line : {std::wstring(L" - HTTPS Request"), std::wstring(L" - \tRequest: getToken"),
                                     std::wstring(L" - \tRequest: getVersion"), std::wstring(L" - \tproduct: Dayloom"),
                                     std::wstring(L" - \ttoken: <token>"), std::wstring(L" - \tversion: 1.3.0"),
                                     std::wstring(L" - Request completed"),
                                     std::wstring(L" - \tContent-Type: application/octet-stream")})
        EXPECT_NE(std::wstring::npos, text.find(line)) << WideToUtf8(line);
}

TEST(RequestClient, StatusOtherThan200FailsWhenTheBodyIsAsked)
{
    ServiceScenario scenario;
    scenario.Set("getVersion.status", "500");
    scenario.Set("getVersion.reason", "Service Down");
    auto response = SendServiceRequest(L"getVersion", {});
    EXPECT_EQ(500, response->GetStatusCode());
    EXPECT_EQ(L"Service Down", response->GetStatusText());
    std::wstring description;
    EXPECT_EQ(E_FAIL, ErrorOf([&] { response->GetBody(); }, &description));
    EXPECT_EQ(L"Service Down", description);
}

TEST(RequestClient, RefusedTokenRequestFailsBeforeTheRequestIsSent)
{
    ServiceScenario scenario;
    scenario.Set("getToken.status", "503");
    EXPECT_EQ(E_FAIL, ErrorOf([] { SendServiceRequest(L"getVersion", {}); }));
    const auto requests = scenario.Requests();
    ASSERT_EQ(1u, requests.size());
    EXPECT_EQ("getToken", requests[0].name);
}

TEST(RequestClient, TokenTheServiceRejectsAnswers403)
{
    ServiceScenario scenario;
    scenario.Set("bad_token", "1");
    auto response = SendServiceRequest(L"getVersion", {});
    EXPECT_EQ(403, response->GetStatusCode());
    EXPECT_EQ(E_FAIL, ErrorOf([&] { response->EnsureSuccess(); }));
}

TEST(RequestClient, ProgressCountsUpToTheContentLength)
{
    ServiceScenario scenario;
    const std::string body(100000, 'b');
    scenario.Set("getFile.body", body);
    std::vector<std::pair<uint64_t, uint64_t>> calls;
    auto response = SendRequestWithToken(L"getFile", {}, [&](uint64_t done, uint64_t total) {
        calls.emplace_back(done, total);
        return true;
    });
    EXPECT_EQ(body, response->GetBody());
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ((std::pair<uint64_t, uint64_t>(100000, 100000)), calls.back());
    for (size_t i = 1; i < calls.size(); ++i)
        EXPECT_LT(calls[i - 1].first, calls[i].first);
    // The body is read once: a second call neither reads nor reports again.
    const size_t reports = calls.size();
    EXPECT_EQ(body, response->GetBody());
    EXPECT_EQ(reports, calls.size());
}

TEST(RequestClient, ProgressAnsweringFalseStopsReadingWithThePartReceived)
{
    ServiceScenario scenario;
    scenario.Set("getFile.body", std::string(200000, 'b'));
    scenario.Set("getFile.delay", "20");
    int calls = 0;
    auto response = SendRequestWithToken(L"getFile", {}, [&](uint64_t, uint64_t) { return ++calls < 2; });
    const std::string partial = response->GetBody();
    EXPECT_EQ(2, calls);
    EXPECT_GT(partial.size(), 0u);
    EXPECT_LT(partial.size(), 200000u);
}

TEST(RequestClient, AnswerWithoutLengthReportsTotalZero)
{
    ServiceScenario scenario;
    scenario.Set("getFile.body", std::string(20000, 'n'));
    scenario.Set("getFile.no_length", "1");
    std::vector<uint64_t> totals;
    auto response = SendRequestWithToken(L"getFile", {}, [&](uint64_t, uint64_t total) {
        totals.push_back(total);
        return true;
    });
    EXPECT_EQ(20000u, response->GetBody().size());
    ASSERT_FALSE(totals.empty());
    for (const uint64_t total : totals)
        EXPECT_EQ(0u, total);
}

TEST(RequestClient, BodyShorterThanItsLengthIsAnError)
{
    ServiceScenario scenario;
    scenario.Set("getFile.body", std::string(50000, 'c'));
    scenario.Set("getFile.truncate", "20000");
    auto response = SendRequestWithToken(L"getFile", {}, {});
    std::wstring description;
    EXPECT_TRUE(FAILED(ErrorOf([&] { response->GetBody(); }, &description)));
    EXPECT_NE(std::wstring::npos, description.find(L"of 50000 bytes")) << WideToUtf8(description);
}

TEST(RequestClient, AnswersLongerThanWhatTheyCanBeAreRefusedWithoutBeingKept)
{
    ServiceScenario scenario;
    // A program announced one byte longer than any program may be, of which the service sends a piece.
    const fs::path huge = TestPaths::OutputFile(L".huge.exe");
    {
        std::ofstream file(huge, std::ios::binary | std::ios::trunc);
        file << "MZ";
        file.seekp(static_cast<std::streamoff>(LargestProgramSize));
        file << 'z';
    }
    const struct
    {
        const char* what;
        std::vector<std::pair<std::string, std::string>> lines;
        std::function<void()> ask;
    } rows[] = {
        {"a version with its length", {{"getVersion.body", std::string(64 * 1024, '1')}},
         [&] { GetLatestVersion(scenario.Identity().name); }},
        {"a version without a length",
         {{"getVersion.body", std::string(64 * 1024, '1')}, {"getVersion.no_length", "1"}},
         [&] { GetLatestVersion(scenario.Identity().name); }},
        {"a program", {{"getFile.truncate", "4096"}},
         [&] { RequestProgramFile(scenario.Identity().updateFileId, {}); }},
    };
    scenario.SetFile("getFile.file", huge);
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.what);
        for (const auto& [key, value] : row.lines)
            scenario.Set(key, value);
        std::wstring description;
        EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_FILE_TOO_LARGE), ErrorOf(row.ask, &description)) << WideToUtf8(description);
    }
    fs::remove(huge);
}

TEST(RequestClient, HeadersComeAsNameValuePairsWithTheStatusLineFirst)
{
    ServiceScenario scenario;
    scenario.Set("getVersion.body", "1.3.0");
    auto response = SendServiceRequest(L"getVersion", {});
    const HeaderList headers = response->GetHeaders();
    ASSERT_GE(headers.size(), 3u);
    EXPECT_EQ(L"HTTP/1.1 200 OK", headers.front().first);
    EXPECT_EQ(L"", headers.front().second);
    EXPECT_NE(headers.end(), std::find(headers.begin(), headers.end(),
                                       std::pair<std::wstring, std::wstring>(L"Content-Length", L"5")));
    EXPECT_EQ(L"application/octet-stream", response->GetHeader(L"Content-Type"));
    EXPECT_EQ(L"", response->GetHeader(L"X-Not-There"));
    EXPECT_EQ(L"1.3.0", response->GetBodyText());
}

TEST(RequestClient, CertificateUntrustedForAnotherHostOrExpiredFailsWithoutOfferingTheDialog)
{
    ServiceScenario scenario;
    ErrorDialogRecorder dialog(ERROR_SUCCESS);
    const struct
    {
        const char* what;
        INTERNET_PORT port;
    } rows[] = {
        {"signed by no authority the prefix trusts", UPDATE_TEST_SERVICE_PORT + 1},
        {"signed for another host", scenario.ListenerPort("elsewhere")},
        {"expired", scenario.ListenerPort("expired")},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.what);
        ASSERT_NE(0, row.port);
        const HRESULT hr = ErrorOf([&] { SendHttpsRequestTo({L"localhost", row.port}, L"getVersion", {}, {}); });
        EXPECT_TRUE(FAILED(hr)) << "the service answered";
        EXPECT_FALSE(MayShowErrorDialog(HRESULT_CODE(hr))) << std::hex << hr;
    }
    EXPECT_TRUE(dialog.errors.empty());
    EXPECT_TRUE(scenario.Requests().empty());
}

TEST(RequestClient, DialogIsOfferedForCredentialsAndProxiesOnly)
{
    const struct
    {
        DWORD error;
        bool offered;
    } rows[] = {
        {12014, true},  // credentials of the service or a proxy
        {12034, true},  // a proxy asks for credentials
        {12165, true},  // the proxy cannot be reached
        {12166, true},  // the proxy's script is broken
        {12037, false}, // certificate expired
        {12038, false}, // certificate of another host
        {12045, false}, // unknown authority
        {12062, false}, // weak signature
        {12179, false},
        {12040, false}, // redirected from HTTPS to HTTP
        {12043, false}, // posting to plain HTTP
        {12052, false}, // redirected to plain HTTP when posting
        {12168, false}, // a redirect that needs the user's consent
        {12029, false}, // no connection
        {12007, false}, // the host's name is unknown
        {12002, false}, // timed out
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.error);
        EXPECT_EQ(row.offered, MayShowErrorDialog(row.error));
    }
}

TEST(RequestClient, ConnectionErrorFailsWithItsTextWithoutOfferingTheDialog)
{
    ServiceScenario scenario;
    ErrorDialogRecorder dialog(ERROR_SUCCESS);
    // Nothing listens two ports above the service.
    std::wstring description;
    const HRESULT hr = ErrorOf(
        [] { SendHttpsRequestTo({L"localhost", UPDATE_TEST_SERVICE_PORT + 2}, L"getVersion", {}, {}); }, &description);
    EXPECT_TRUE(FAILED(hr));
    EXPECT_TRUE(dialog.errors.empty());
    EXPECT_EQ(0u, description.find(std::to_wstring(HRESULT_CODE(hr)) + L" - ")) << WideToUtf8(description);
}

TEST(RequestClient, CredentialsErrorAsksTheDialogOnceAndKeepsTheFirstErrorWhenCancelled)
{
    ErrorDialogRecorder dialog(ERROR_CANCELLED);
    std::vector<DWORD> answers{ERROR_INTERNET_INCORRECT_PASSWORD, ERROR_SUCCESS};
    size_t sends = 0;
    EXPECT_EQ(static_cast<DWORD>(ERROR_INTERNET_INCORRECT_PASSWORD),
              SendOfferingTheDialog(nullptr, [&] { return answers[sends++]; }));
    EXPECT_EQ(1u, sends);
    EXPECT_EQ(std::vector<DWORD>{ERROR_INTERNET_INCORRECT_PASSWORD}, dialog.errors);
    EXPECT_EQ(static_cast<DWORD>(FLAGS_ERROR_UI_FLAGS_CHANGE_OPTIONS), dialog.flags);
}

TEST(RequestClient, CredentialsErrorIsSentOnceMoreWhenTheDialogSaysRetry)
{
    ErrorDialogRecorder dialog(ERROR_INTERNET_FORCE_RETRY);
    const auto log = TestPaths::OutputFile(L".log");
    OpenLogFile(log.wstring());
    size_t sends = 0;
    const DWORD error = SendOfferingTheDialog(nullptr, [&] {
        ++sends;
        return static_cast<DWORD>(ERROR_INTERNET_INCORRECT_PASSWORD);
    });
    CloseLogFile();
    const std::wstring text = ReadTextFile(log.c_str());
    OpenLogFile();
    EXPECT_EQ(static_cast<DWORD>(ERROR_INTERNET_INCORRECT_PASSWORD), error);
    EXPECT_EQ(2u, sends);
    EXPECT_EQ(1u, dialog.errors.size());
    EXPECT_NE(std::wstring::npos, text.find(L"ERROR: Failed to send the request. Asking user: 12014"));
    EXPECT_NE(std::wstring::npos, text.find(L"Dialog Result: 12032"));
    EXPECT_NE(std::wstring::npos, text.find(L"ERROR: Failed to send the request on retry: 12014"));
}
