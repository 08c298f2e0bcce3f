// HTML sent to OneNote becomes the paragraphs a person sees: first how HTML is read into
// paragraphs, then what a page holds after an HTMLBlock arrives inline or as a file.
#include "standins/onenote/HtmlParagraphs.h"
#include "standins/onenote/Xml.h"
#include "tests/standins/StandInFixture.h"

#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <random>

namespace StandInTest
{
namespace
{
using StandIn::HtmlParagraph;
using StandIn::HtmlToParagraphs;

// Each paragraph as "hN:" (for a heading) and its markup.
std::vector<std::wstring> Read(const std::wstring& html)
{
    std::vector<std::wstring> shown;
    for (const HtmlParagraph& paragraph : HtmlToParagraphs(html))
        shown.push_back((paragraph.heading ? L"h" + std::to_wstring(paragraph.heading) + L":" : L"") + paragraph.markup);
    return shown;
}

struct Case
{
    const char* label;
    std::wstring html;
    std::vector<std::wstring> paragraphs;
};

void ExpectParagraphs(const std::vector<Case>& cases)
{
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(Read(c.html), c.paragraphs);
    }
}

TEST(HtmlParagraphs, BlocksAndLineBreaksMakeParagraphsAndBlanksCollapse)
{
    ExpectParagraphs({
        {"plain text", L"just text", {L"just text"}},
        {"two paragraphs", L"<p>one</p><p>two</p>", {L"one", L"two"}},
        {"blanks collapse and are trimmed", L"<p>\n  a \t  b\r\n</p>", {L"a b"}},
        {"a break ends a line", L"a<br>b<BR/>c", {L"a", L"b", L"c"}},
        {"two breaks leave an empty line", L"a<br><br>b", {L"a", L"", L"b"}},
        {"a break at a paragraph's end adds nothing", L"<p>a<br></p><p>b</p>", {L"a", L"b"}},
        {"divs, list items and rows", L"<div>x<ul><li>one<li>two</ul></div><table><tr><td>c1<td>c2</tr></table>",
         {L"x", L"one", L"two", L"c1 c2"}},
        {"inline tags keep one paragraph", L"<p>a <b>bold</b> and <i>x</i><span>y</span></p>", {L"a bold and xy"}},
        {"preformatted lines are kept", L"<pre>\n  line 1\n\n  line 2</pre>", {L"  line 1", L"", L"  line 2"}},
        {"empty documents show nothing", L"<html><body>  </body></html>", {}},
        {"nothing at all", L"", {}},
    });
}

TEST(HtmlParagraphs, HeadingsCarryTheirLevel)
{
    ExpectParagraphs({
        {"each level", L"<h1>a</h1><h2>b</h2><h3>c</h3><h4>d</h4><h5>e</h5><H6>f</H6>",
         {L"h1:a", L"h2:b", L"h3:c", L"h4:d", L"h5:e", L"h6:f"}},
        {"text after a heading is body text", L"<h2>Title</h2>body", {L"h2:Title", L"body"}},
        {"h7 is no heading", L"<h7>x</h7>", {L"x"}},
        {"a heading with a break is two heading lines", L"<h3>a<br>b</h3>", {L"h3:a", L"h3:b"}},
    });
}

TEST(HtmlParagraphs, LinksAreKeptAsOneNoteMarkup)
{
    ExpectParagraphs({
        {"a link", L"see <a href=\"http://x.org/?a=1&amp;b=2\">the site</a>.",
         {L"see <a href=\"http://x.org/?a=1&amp;b=2\">the site</a>."}},
        {"a file link", L"<a href='file:///C:/My%20Files/a.txt'>C:\\My Files\\a.txt</a>",
         {L"<a href=\"file:///C:/My%20Files/a.txt\">C:\\My Files\\a.txt</a>"}},
        {"unquoted address, quote inside", L"<a HREF=x\"y>t</a>", {L"<a href=\"x&quot;y\">t</a>"}},
        {"an anchor without address is text", L"<a name=top>top</a>", {L"top"}},
        {"an unclosed link ends with its paragraph and goes on in the next", L"<p><a href=u>one</p><p>two",
         {L"<a href=\"u\">one</a>", L"<a href=\"u\">two</a>"}},
        {"a new link ends the one before", L"<a href=a>1<a href=b>2</a>", {L"<a href=\"a\">1</a><a href=\"b\">2</a>"}},
        {"blanks around link text stay outside", L"x<a href=u> y </a>z", {L"x <a href=\"u\">y</a> z"}},
    });
}

TEST(HtmlParagraphs, CharacterReferencesAreResolvedAndTextStaysEscaped)
{
    ExpectParagraphs({
        {"named", L"&lt;tag&gt; &amp; &quot;q&quot; &copy; &euro;", {L"&lt;tag&gt; &amp; \"q\" \u00A9 \u20AC"}},
        {"numeric", L"&#65;&#x42;&#X43; &#128512;", {L"ABC \U0001F600"}},
        {"no-break space stays one", L"a&nbsp;&nbsp;b", {L"a&nbsp;&nbsp;b"}},
        {"unknown and unfinished stay as written", L"&bogus; &amp &#xZZ; a & b", {L"&amp;bogus; &amp;amp &amp;#xZZ; a &amp; b"}},
        {"out of range becomes the replacement character", L"&#0;&#x110000;&#xD800;", {L"\uFFFD\uFFFD\uFFFD"}},
        {"characters XML cannot hold are dropped", L"a\x0001\x0008&#x1F;b", {L"ab"}},
        {"a bare angle bracket is text", L"1 < 2 > 0", {L"1 &lt; 2 &gt; 0"}},
    });
}

TEST(HtmlParagraphs, WhatIsNotShownIsLeftOut)
{
    ExpectParagraphs({
        {"head parts", L"<html><head><title>T</title><style>p{x:1}</style><meta charset=utf-8></head><body>b</body></html>",
         {L"b"}},
        {"scripts, with markup inside", L"a<script>if (a<b) document.write('<p>x</p>')</script>b", {L"ab"}},
        {"comments and declarations", L"<!DOCTYPE html><!-- <p>hidden</p> -->x<?php echo 1 ?>y<![CDATA[z]]>",
         {L"xy"}},
        {"unknown tags", L"<custom-tag foo=bar>x</custom-tag><o:p>y</o:p>", {L"xy"}},
    });
}

TEST(HtmlParagraphs, BrokenMarkupIsReadAsFarAsItGoes)
{
    ExpectParagraphs({
        {"a tag that never closes", L"text<p class=\"x", {L"text"}},
        {"an unclosed script hides the rest", L"a<script>b", {L"a"}},
        {"an unclosed comment hides the rest", L"a<!-- b", {L"a"}},
        {"a lone angle bracket at the end", L"a<", {L"a&lt;"}},
        {"an end tag without name", L"a</>b</ >c", {L"abc"}},
        {"end tags that were never opened", L"</p></a></h1>x</pre>", {L"x"}},
        {"half a surrogate pair", std::wstring(L"a") + wchar_t(0xD800) + L"b", {L"a\uFFFDb"}},
    });
    // Deep nesting and unclosed elements cost nothing special.
    std::wstring deep;
    for (int i = 0; i < 100000; ++i)
        deep += L"<div><a href=x><pre><h1>";
    EXPECT_EQ(Read(deep + L"t"), (std::vector<std::wstring>{L"h1:<a href=\"x\">t</a>"}));
}

TEST(HtmlParagraphs, RandomInputNeverFails)
{
    std::mt19937 generator(18);
    const std::wstring pieces[] = {L"<", L">", L"/", L"a", L"p", L"br", L"h1", L"href=", L"\"", L"'", L"&", L";",
                                   L"#x", L"!--", L"-->", L"script", L" ", L"\n", L"pre", L"\xD800", L"x"};
    for (int run = 0; run < 2000; ++run)
    {
        std::wstring html;
        const int length = static_cast<int>(generator() % 60);
        for (int i = 0; i < length; ++i)
            html += pieces[generator() % std::size(pieces)];
        for (const HtmlParagraph& paragraph : HtmlToParagraphs(html))
        {
            // Whatever comes out can be a paragraph's CDATA text.
            EXPECT_EQ(paragraph.markup.find(L"]]>"), std::wstring::npos) << Utf8(html);
            for (const wchar_t c : paragraph.markup)
                ASSERT_TRUE(c >= 0x20 || c == L'\t') << Utf8(html);
        }
    }
}

TEST(HtmlParagraphs, PlainTextOfMarkupIsWhatAPersonReads)
{
    EXPECT_EQ(StandIn::PlainTextOfMarkup(L"see <a href=\"u?a&amp;b\">the &lt;site&gt;</a>&nbsp;now"),
              L"see the <site> now");
}


// One paragraph of a stored page: its style's name and its text markup.
struct Shown
{
    std::wstring style;
    std::wstring markup;
    bool operator==(const Shown&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Shown& shown)
{
    return out << Utf8(shown.style) << ": " << Utf8(shown.markup);
}

class HtmlBlock : public StandInTest
{
protected:
    HRESULT SendOutline(ON16::IApplication* app, const std::wstring& page, const std::wstring& blocks,
                        const std::wstring& pageChildren = {})
    {
        const std::wstring xml = L"<?xml version=\"1.0\"?><one:Page " + Ns2013 + L" ID=\"" + page + L"\">" +
                                 pageChildren + L"<one:Outline><one:Size width=\"480\" height=\"0\"/>" + blocks +
                                 L"</one:Outline></one:Page>";
        return app->UpdatePageContent(_bstr_t(xml.c_str()), 0.0, ON16::xs2013, VARIANT_TRUE);
    }

    static std::wstring Line(const std::wstring& text) { return L"<one:OE><one:T><![CDATA[" + text + L"]]></one:T></one:OE>"; }
    static std::wstring InlineHtml(const std::wstring& html)
    {
        return L"<one:HTMLBlock><one:Data><![CDATA[" + html + L"]]></one:Data></one:HTMLBlock>";
    }
    static std::wstring HtmlFile(const std::filesystem::path& path)
    {
        return L"<one:HTMLBlock><one:File path=\"" + path.wstring() + L"\"/></one:HTMLBlock>";
    }

    // The paragraphs of the page's outlines, in order, with the names of their quick styles.
    std::vector<Shown> Paragraphs(ON16::IApplication* app, const std::wstring& page)
    {
        const std::wstring xml = Content(app, page);
        const StandIn::ParseResult parsed = StandIn::ParseXml(xml, StandIn::Namespace2013, L"");
        EXPECT_EQ(parsed.status, StandIn::ParseStatus::Ok);
        std::vector<Shown> shown;
        if (!parsed.root)
            return shown;
        std::map<std::wstring, std::wstring> styles;
        for (const auto& style : parsed.root->Elements(L"QuickStyleDef"))
            styles[style->AttributeOr(L"index")] = style->AttributeOr(L"name");
        std::function<void(const StandIn::XNode&)> collect = [&](const StandIn::XNode& node) {
            EXPECT_NE(node.name, L"HTMLBlock");
            if (node.name == L"OE")
            {
                const auto t = node.FirstElement(L"T");
                shown.push_back({styles[node.AttributeOr(L"quickStyleIndex")], t ? t->InnerText() : L""});
            }
            for (const auto& child : node.children)
                if (child->IsElement())
                    collect(*child);
        };
        for (const auto& outline : parsed.root->Elements(L"Outline"))
            collect(*outline);
        return shown;
    }

    std::filesystem::path WriteFile(const std::wstring& name, const std::string& bytes)
    {
        const std::filesystem::path path = store_ / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
};

TEST_F(HtmlBlock, InlineHtmlBecomesParagraphsInTheBlocksPlace)
{
    ApplicationPtr app = Connect();
    const std::wstring page = NewPage(app);
    ASSERT_EQ(SendOutline(app, page,
                          L"<one:OEChildren>" + Line(L"before") +
                              InlineHtml(L"<h1>Report</h1><p>See <a href=\"file:///C:/a%23b.txt\">C:\\a#b.txt</a>"
                                         L"<br>and &amp; more</p><h6>deep</h6>") +
                              Line(L"after") + L"</one:OEChildren>"),
              S_OK);
    EXPECT_EQ(Paragraphs(app, page), (std::vector<Shown>{
                                          {L"", L"before"},
                                          {L"h1", L"Report"},
                                          {L"p", L"See <a href=\"file:///C:/a%23b.txt\">C:\\a#b.txt</a>"},
                                          {L"p", L"and &amp; more"},
                                          {L"h6", L"deep"},
                                          {L"", L"after"},
                                      }));
    const std::wstring xml = Content(app, page);
    EXPECT_TRUE(IsValid(xml, ON16::xs2013, L"html-inline"));
    EXPECT_TRUE(IsValid(Content(app, page, ON16::xs2010), ON16::xs2010, L"html-inline-2010"));
    // Six lines of text: the outline is measured by what shows, not by the HTML sent.
    EXPECT_NE(xml.find(L"height=\"90.0\""), std::wstring::npos) << Utf8(xml);
}

TEST_F(HtmlBlock, HeadingStylesAreAddedOnceAndTheSentStylesAreKept)
{
    ApplicationPtr app = Connect();
    const std::wstring page = NewPage(app);
    // The program defines index 2 itself; the heading style goes after it.
    const std::wstring own = L"<one:QuickStyleDef index=\"2\" name=\"h2\" font=\"Arial\" fontSize=\"20.0\"/>";
    ASSERT_EQ(SendOutline(app, page, L"<one:OEChildren>" + InlineHtml(L"<h2>a</h2><h3>b</h3>") + L"</one:OEChildren>", own),
              S_OK);
    ASSERT_EQ(SendOutline(app, page, L"<one:OEChildren>" + InlineHtml(L"<h3>c</h3>x") + L"</one:OEChildren>"), S_OK);
    const std::wstring xml = Content(app, page);
    EXPECT_NE(xml.find(L"index=\"2\" name=\"h2\" font=\"Arial\""), std::wstring::npos) << Utf8(xml);
    EXPECT_NE(xml.find(L"index=\"3\" name=\"h3\""), std::wstring::npos) << Utf8(xml);
    size_t count = 0;
    for (size_t at = xml.find(L"name=\"h3\""); at != std::wstring::npos; at = xml.find(L"name=\"h3\"", at + 1))
        ++count;
    EXPECT_EQ(count, 1u);
    EXPECT_EQ(Paragraphs(app, page),
              (std::vector<Shown>{{L"h2", L"a"}, {L"h3", L"b"}, {L"h3", L"c"}, {L"p", L"x"}}));
    EXPECT_TRUE(IsValid(xml, ON16::xs2013, L"html-styles"));
}

TEST_F(HtmlBlock, HtmlFilesAreReadInTheirEncoding)
{
    ApplicationPtr app = Connect();
    const std::string utf16le = std::string("\xFF\xFE", 2) + std::string("<\0p\0>\0\xE4\0<\0/\0p\0>\0", 16);
    const std::string utf16be = std::string("\xFE\xFF", 2) + std::string("\0<\0p\0>\0\xE4\0<\0/\0p\0>", 16);
    const struct
    {
        const char* label;
        std::string bytes;
    } files[] = {
        {"utf-8 with mark", "\xEF\xBB\xBF<p>\xC3\xA4</p>"},
        {"utf-8", "<html><body><p>\xC3\xA4</p></body></html>"},
        {"windows-1252", "<p>\xE4</p>"},
        {"utf-16 little-endian", utf16le},
        {"utf-16 big-endian", utf16be},
    };
    int n = 0;
    for (const auto& file : files)
    {
        SCOPED_TRACE(file.label);
        const std::wstring page = NewPage(app);
        const auto path = WriteFile(L"page" + std::to_wstring(++n) + L".htm", file.bytes);
        ASSERT_EQ(SendOutline(app, page, L"<one:OEChildren>" + HtmlFile(path) + L"</one:OEChildren>"), S_OK);
        EXPECT_EQ(Paragraphs(app, page), (std::vector<Shown>{{L"p", L"\u00E4"}}));
    }
}

TEST_F(HtmlBlock, EmptyHtmlLeavesOneEmptyLine)
{
    ApplicationPtr app = Connect();
    const std::wstring page = NewPage(app);
    const auto empty = WriteFile(L"empty.htm", "");
    ASSERT_EQ(SendOutline(app, page,
                          L"<one:OEChildren>" + InlineHtml(L"<!-- nothing -->") + HtmlFile(empty) + L"</one:OEChildren>"),
              S_OK);
    EXPECT_EQ(Paragraphs(app, page), (std::vector<Shown>{{L"p", L""}}));
    EXPECT_TRUE(IsValid(Content(app, page), ON16::xs2013, L"html-empty"));
}

TEST_F(HtmlBlock, AFileThatCannotBeReadFailsTheCallAndChangesNothing)
{
    ApplicationPtr app = Connect();
    const std::wstring page = NewPage(app);
    const std::wstring before = Content(app, page);
    EXPECT_EQ(SendOutline(app, page,
                          L"<one:OEChildren>" + InlineHtml(L"x") + HtmlFile(store_ / L"missing.htm") +
                              L"</one:OEChildren>"),
              static_cast<HRESULT>(0x80042006));
    EXPECT_EQ(Content(app, page), before);
}

TEST_F(HtmlBlock, SearchFindsTheTextOfHtmlButNotItsMarkup)
{
    ApplicationPtr app = Connect();
    const std::wstring page = NewPage(app);
    ASSERT_EQ(SendOutline(app, page,
                          L"<one:OEChildren>" +
                              InlineHtml(L"<a href=\"http://zebraquill.example/\">Quagga</a><script>narwhal</script>") +
                              L"</one:OEChildren>"),
              S_OK);
    auto find = [&](const wchar_t* query) {
        BSTR xml = nullptr;
        EXPECT_EQ(app->FindPages(_bstr_t(L""), _bstr_t(query), &xml, VARIANT_FALSE, VARIANT_FALSE, ON16::xs2013), S_OK);
        const std::wstring answer = xml ? xml : L"";
        SysFreeString(xml);
        return answer.find(page) != std::wstring::npos;
    };
    EXPECT_TRUE(find(L"quagga"));
    EXPECT_FALSE(find(L"zebraquill"));
    EXPECT_FALSE(find(L"narwhal"));
}
} // namespace
} // namespace StandInTest
