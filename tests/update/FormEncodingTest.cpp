// The form encoding of request bodies, the parameter defaults, the token's hexadecimal form, and
// which programs carry which key.
#include "tests/update/ServiceScenario.h"
#include "update/FormEncoding.h"
#include "update/RequestToken.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <iterator>

namespace
{
const BYTE testKeyHigh[] = {UPDATE_TEST_KEY_HIGH};
} // namespace

TEST(FormEncoding, EscapesEveryByteButLettersDigitsAndFourMarks)
{
    const struct
    {
        std::string text;
        std::string encoded;
    } rows[] = {
        {"a b/\xC3\xBC", "a+b%2F%C3%BC"},
        {"AZaz09-_.~", "AZaz09-_.~"},
        {"&=+%", "%26%3D%2B%25"},
        {"line\nbreak", "line%0Abreak"},
        {std::string("\0\xFF", 2), "%00%FF"},
        {"", ""},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.encoded);
        EXPECT_EQ(row.encoded, FormUrlEncode(row.text));
    }
}

TEST(FormEncoding, BodyEndsEveryPairWithAnAmpersand)
{
    EXPECT_EQ("", BuildFormBody({}));
    EXPECT_EQ("product=Quillora+Batch+File+Import&version=1.3.0&",
              BuildFormBody({{"product", "Quillora Batch File Import"}, {"version", "1.3.0"}}));
    EXPECT_EQ("a%26b=c%3Dd&", BuildFormBody({{"a&b", "c=d"}}));
}

TEST(FormEncoding, ParameterAlreadyPresentKeepsItsValueAndPlace)
{
    RequestParameters parameters{{"product", "Sheafin.x86"}, {"note", ""}};
    AddParameterIfMissing(parameters, "product", "Quillora Batch File Import");
    AddParameterIfMissing(parameters, "version", "1.3.0");
    AddParameterIfMissing(parameters, "Product", "other case is another key");
    const RequestParameters expected{
        {"product", "Sheafin.x86"}, {"note", ""}, {"version", "1.3.0"}, {"Product", "other case is another key"}};
    EXPECT_EQ(expected, parameters);
}

TEST(FormEncoding, HexadecimalIsLowerCaseWithoutSeparators)
{
    EXPECT_EQ("00ff7fa0", BytesToHex(std::string("\x00\xFF\x7F\xA0", 4)));
    EXPECT_EQ("", BytesToHex(""));
}

TEST(FormEncoding, TrimmingRemovesWhiteSpaceAtBothEndsOnly)
{
    for (const auto& [text, trimmed] : std::vector<std::pair<std::wstring, std::wstring>>{
             {L"  Content-Type ", L"Content-Type"}, {L"\t\r\n", L""}, {L"a b", L"a b"}, {L"", L""}})
    {
        std::wstring value = text;
        TrimWhiteSpace(value);
        EXPECT_EQ(trimmed, value);
    }
}

TEST(RequestToken, GivesOneBlockOf128BytesPerStarted117Bytes)
{
    for (const auto& [length, blocks] : std::vector<std::pair<size_t, size_t>>{
             {0, 1}, {1, 1}, {117, 1}, {118, 2}, {234, 2}, {300, 3}})
    {
        SCOPED_TRACE(length);
        EXPECT_EQ(blocks * 128, EncryptToken(std::string(length, 't')).size());
    }
}

TEST(RequestToken, EncryptsTheSameTokenDifferentlyEachTime)
{
    // PKCS#1 padding is random: equal ciphertexts would mean no padding at all.
    EXPECT_NE(EncryptToken("token"), EncryptToken("token"));
}

TEST(RequestToken, OnlyTheTestBuildCarriesTheKeyWhosePrivateHalfIsInTheRepository)
{
    // The first piece of the test key's modulus, as the key assembly keeps it.
    const std::string piece(std::begin(testKeyHigh), std::end(testKeyHigh));
    const auto build = UpdateTest::BuildFolder();
    const struct
    {
        std::filesystem::path program;
        bool carriesTestKey;
    } rows[] = {
        {build / L"batch_import" / L"Sheafin.exe", false},
        {build / L"calendar" / L"Lumday.exe", false},
        {build / L"tests" / L"batch_import" / L"loopback" / L"Sheafin.exe", true},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.program.string());
        const std::string bytes = UpdateTest::ReadBytes(row.program);
        ASSERT_FALSE(bytes.empty());
        EXPECT_EQ(row.carriesTestKey, bytes.find(piece) != std::string::npos);
    }
}
