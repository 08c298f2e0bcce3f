// Runs of text, inline data, callback sources and the ink-word markers.
#include "tests/onenote_model/ModelTestSupport.h"

#include <gtest/gtest.h>

using namespace ModelTest;

namespace
{
TEST(TextRuns, TRoundTripKeepsSelectionWhiteSpaceFlagLanguageAndCData)
{
    ExpectRoundTrips<ON::TextRange_T>({
        {"default T", Doc(L"T"), L"<one:T />"},
        {"selected none and preserveWhiteSpace true are not written",
         Doc(L"T", L"selected=\"none\" preserveWhiteSpace=\"True\"", L"a"), L"<one:T>a</one:T>"},
        {"other selected kept, unknown preserveWhiteSpace is false",
         Doc(L"T", L"selected=\"all\" preserveWhiteSpace=\"TRUE\"", L"a"),
         L"<one:T selected=\"all\" preserveWhiteSpace=\"false\">a</one:T>"},
        {"empty preserveWhiteSpace is false", Doc(L"T", L"preserveWhiteSpace=\"\"", L"a"),
         L"<one:T preserveWhiteSpace=\"false\">a</one:T>"},
        {"text group after own attributes", Doc(L"T", L"lang=\"de-DE\" quickStyleIndex=\"1\" selected=\"partial\"", L"a"),
         L"<one:T selected=\"partial\" quickStyleIndex=\"1\" lang=\"de-DE\">a</one:T>"},
        {"empty lang is kept", Doc(L"T", L"lang=\"\"", L"a"), L"<one:T lang=\"\">a</one:T>"},
        {"CDATA stays CDATA", Doc(L"T", L"", L"<![CDATA[<b>bold</b> & more]]>"),
         L"<one:T><![CDATA[<b>bold</b> & more]]></one:T>"},
        {"escaped text stays escaped", Doc(L"T", L"", L"a &lt; b &amp; c"), L"<one:T>a &lt; b &amp; c</one:T>"},
        {"text around a section joins it, as CDATA", Doc(L"T", L"", L"x<![CDATA[y]]>z"), L"<one:T><![CDATA[xyz]]></one:T>"},
        {"unknown attribute skipped", Doc(L"T", L"color=\"red\"", L"a"), L"<one:T>a</one:T>"},
    });
}

TEST(TextRuns, ContentIsRawOrCDataOrEscapedByTheElementsFlags)
{
    struct Case
    {
        const char* what;
        bool raw;
        bool cdata;
        std::wstring expected;
    };
    for (const Case& c : {Case{"raw wins", true, true, L"a<b>&amp;</b>"}, Case{"CDATA", false, true, L"<![CDATA[a<b>&amp;</b>]]>"},
                          Case{"escaped", false, false, L"a&lt;b&gt;&amp;amp;&lt;/b&gt;"}})
    {
        ON::TextRange_T t(L"none", true, ON::TextAttributes{}, L"a<b>&amp;</b>");
        t.raw = c.raw;
        t.cdata = c.cdata;
        EXPECT_EQ(Written(t), L"<one:T>" + c.expected + L"</one:T>") << c.what;
        ON::Data data(L"a<b>&amp;</b>");
        data.raw = c.raw;
        data.cdata = c.cdata;
        EXPECT_EQ(Written(data), L"<one:Data>" + c.expected + L"</one:Data>") << c.what;
    }
}

TEST(TextRuns, CharactersXmlCannotHoldAreDroppedFromTextContent)
{
    const std::wstring text = std::wstring(L"a\x01" L"b\tc\nd\re\x0B" L"f") + L"\xD800" + L"g\xDC00" + L"h\xFFFE" +
                              L"\xD83D\xDE00" + L"i";
    for (bool cdata : {false, true})
    {
        ON::TextRange_T t(L"none", true, ON::TextAttributes{}, text);
        t.cdata = cdata;
        std::wstring written;
        ASSERT_NO_THROW(written = Written(t));
        auto back = Read<ON::TextRange_T>(Tag(L"T") + written.substr(std::wstring(L"<one:T").size()));
        // A reader turns the kept carriage return into a line feed, as XML has it.
        EXPECT_EQ(back->text, L"ab\tc\nd\nef" L"gh\xD83D\xDE00" L"i") << (cdata ? "CDATA" : "escaped");
    }
}

TEST(TextRuns, CharactersXmlCannotHoldAreDroppedFromAttributeValues)
{
    ON::TextRange_T t(L"none", true, ON::TextAttributes(std::wstring(L"font-family:\x01" L"Calibri\xDC00"), std::nullopt, std::nullopt),
                      L"x");
    std::wstring written;
    ASSERT_NO_THROW(written = Written(t));
    auto back = Read<ON::TextRange_T>(Tag(L"T") + written.substr(std::wstring(L"<one:T").size()));
    ASSERT_TRUE(back->textAttributes.style);
    EXPECT_EQ(*back->textAttributes.style, L"font-family:Calibri");
}

TEST(TextRuns, DataCallbackAndMarkersRoundTrip)
{
    ExpectRoundTrips<ON::Data>({
        {"plain", Doc(L"Data", L"", L"QUJD"), L"<one:Data>QUJD</one:Data>"},
        {"CDATA", Doc(L"Data", L"", L"<![CDATA[<p>x</p>]]>"), L"<one:Data><![CDATA[<p>x</p>]]></one:Data>"},
    });
    ExpectRoundTrips<ON::CallbackID>({
        {"empty identifier written", Doc(L"CallbackID"), L"<one:CallbackID callbackID=\"\" />"},
        {"text dropped", Doc(L"CallbackID", L"callbackID=\"{1}{2}{B3}\"", L"text"),
         L"<one:CallbackID callbackID=\"{1}{2}{B3}\" />"},
    });
    ExpectRoundTrips<ON::Space>({{"text dropped", Doc(L"Space", L"a=\"1\"", L"text"), L"<one:Space />"}});
    ExpectRoundTrips<ON::EndOfLine>({{"CDATA dropped", Doc(L"EndOfLine", L"", L"<![CDATA[x]]>"), L"<one:EndOfLine />"}});
}

TEST(TextRuns, TIsValidAsParagraphContent)
{
    ON::TextRange_T t(L"all", false, ON::TextAttributes(L"font-family:Calibri", 1u, L"en-US"), L"<span>x</span>");
    t.cdata = true;
    EXPECT_TRUE(IsValidInPage(t, Place::ParagraphContent));
    EXPECT_TRUE(IsValidInPage(ON::TextRange_T(), Place::ParagraphContent));
}
} // namespace
