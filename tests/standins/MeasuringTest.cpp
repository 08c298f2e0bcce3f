// What OneNote decides itself about what a program sends: the height of an outline's text, the
// attributes only OneNote sets, and sections whose names differ only in letter case.
#include "tests/standins/StandInFixture.h"

#include <cwctype>
#include <regex>

namespace StandInTest
{
namespace
{

class Measuring : public StandInTest
{
protected:
    HRESULT Update(ON16::IApplication* app, const std::wstring& page, const std::wstring& attributes,
                   const std::wstring& content)
    {
        const std::wstring xml = L"<?xml version=\"1.0\"?><one:Page " + Ns2013 + L" ID=\"" + page + L"\"" + attributes +
                                 L">" + content + L"</one:Page>";
        return app->UpdatePageContent(_bstr_t(xml.c_str()), 0.0, ON16::xs2013, VARIANT_TRUE);
    }

    // The heights of the page's outlines, in order.
    std::vector<double> OutlineHeights(ON16::IApplication* app, const std::wstring& page)
    {
        const std::wstring xml = Content(app, page);
        const std::wregex size(L"<one:Outline[^>]*>\\s*(?:<one:Position[^>]*/>\\s*)?<one:Size[^>]*height=\"([^\"]*)\"");
        std::vector<double> heights;
        for (std::wsregex_iterator it(xml.begin(), xml.end(), size), end; it != end; ++it)
            heights.push_back(std::stod((*it)[1].str()));
        return heights;
    }

    static std::wstring Outline(double width, double height, const std::wstring& blocks)
    {
        return L"<one:Outline><one:Position x=\"36\" y=\"100\"/><one:Size width=\"" + std::to_wstring(width) +
               L"\" height=\"" + std::to_wstring(height) + L"\" isSetByUser=\"true\"/>" + blocks + L"</one:Outline>";
    }

    static std::wstring Line(const std::wstring& text)
    {
        return L"<one:OE><one:T><![CDATA[" + text + L"]]></one:T></one:OE>";
    }
};

TEST_F(Measuring, OutlineIsAsHighAsItsTextWrappedAtItsWidth)
{
    ApplicationPtr app = Connect();
    const std::wstring page = NewPage(app);
    // 480 points hold 80 characters of 6 points; 200 characters take three lines.
    const std::wstring longLine(200, L'x');
    ASSERT_EQ(Update(app, page, L"",
                     Outline(480, 0, L"<one:OEChildren>" + Line(L"one") + Line(L"two") + L"</one:OEChildren>") +
                         Outline(480, 500, L"<one:OEChildren>" + Line(longLine) + L"</one:OEChildren>") +
                         Outline(480, 0,
                                 L"<one:OEChildren><one:HTMLBlock><one:Data><![CDATA[<p>short <b>html</b></p>]]>"
                                 L"</one:Data></one:HTMLBlock></one:OEChildren><one:OEChildren indent=\"2\">" +
                                     Line(L"code") + L"</one:OEChildren>")),
              S_OK);
    EXPECT_EQ(OutlineHeights(app, page), (std::vector<double>{2 * 15, 3 * 15, 2 * 15}));
    EXPECT_TRUE(IsValid(Content(app, page), ON16::xs2013, L"measured"));
}

TEST_F(Measuring, AttributesOnlyOneNoteSetsAreNotTakenFromAProgram)
{
    ApplicationPtr app = Connect();
    const std::wstring page = NewPage(app);
    const std::wstring before = Content(app, page);
    ASSERT_EQ(Update(app, page,
                     L" pageLevel=\"2\" isUnread=\"true\" isCurrentlyViewed=\"true\" isInRecycleBin=\"true\""
                     L" lastModifiedTime=\"2001-01-01T00:00:00.000Z\"",
                     L""),
              S_OK);
    const std::wstring after = Content(app, page);
    EXPECT_EQ(AttributeOf(after, L"Page", L"pageLevel"), L"2");
    for (const wchar_t* attribute : {L"isUnread", L"isCurrentlyViewed", L"isInRecycleBin"})
    {
        SCOPED_TRACE(Utf8(attribute));
        EXPECT_EQ(AttributeOf(after, L"Page", attribute), AttributeOf(before, L"Page", attribute));
    }
    EXPECT_NE(AttributeOf(after, L"Page", L"lastModifiedTime"), L"2001-01-01T00:00:00.000Z");
}

TEST_F(Measuring, NewSectionNamedAsAnotherInOtherLetterCaseIsANameClash)
{
    ApplicationPtr app = Connect();
    const std::wstring notebook = FirstId(Hierarchy(app, L"", ON16::hsNotebooks), L"Notebook", L"Work");
    const std::wstring before = Hierarchy(app, notebook, ON16::hsChildren);
    const std::wstring existing = AttributeOf(before, L"Section", L"name");
    ASSERT_FALSE(existing.empty());
    std::wstring other = existing;
    for (wchar_t& c : other)
        c = static_cast<wchar_t>(iswupper(c) ? towlower(c) : towupper(c));
    const auto add = [&](const std::wstring& name) {
        const std::wstring xml = L"<one:Notebook " + Ns2013 + L" ID=\"" + notebook + L"\"><one:Section name=\"" + name +
                                 L"\"/></one:Notebook>";
        return app->UpdateHierarchy(_bstr_t(xml.c_str()), ON16::xs2013);
    };
    EXPECT_EQ(add(other), static_cast<HRESULT>(0x8004201A));
    EXPECT_EQ(Hierarchy(app, notebook, ON16::hsChildren), before);
    // The same name is the section that is there.
    EXPECT_EQ(add(existing), S_OK);
    EXPECT_EQ(Hierarchy(app, notebook, ON16::hsChildren), before);
}
} // namespace
} // namespace StandInTest
