// The element binding through a small catalog vocabulary: what is written, what is read, and
// what survives a round trip.
#include "tests/framework/xml/CatalogElements.h"
#include "tests/framework/xml/XmlTestText.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

using namespace TestCatalog;
using XmlTestText::Write;

namespace
{
constexpr wchar_t Declaration[] = L"<?xml version=\"1.0\" encoding=\"utf-16\"?>";

std::shared_ptr<Catalog> Parse(const std::wstring& text, const ElementEndCallback& onEnd = {})
{
    auto catalog = std::make_shared<Catalog>();
    ParseElement(*catalog, text, onEnd);
    return catalog;
}

std::wstring InCatalog(const std::wstring& content)
{
    return std::wstring(Declaration) + L"<c:Catalog xmlns:c=\"urn:quillora:test:catalog\" name=\"n\">" + content +
           L"</c:Catalog>";
}

std::vector<std::wstring> AuthorNames(const Book& book)
{
    std::vector<std::wstring> names;
    for (const auto& author : book.authors)
        names.push_back(author->name);
    return names;
}
} // namespace

TEST(XmlWrite, DefaultElementIsEmptyTagWithItsPrefixAndOneNamespaceDeclaration)
{
    const auto shelf = std::make_shared<Shelf>();
    shelf->books.AddNew();
    const std::wstring text = Write(*shelf);

    EXPECT_EQ(text.rfind(Declaration, 0), 0u) << "a whole document starts with the declaration";
    EXPECT_NE(text.find(L"<c:Shelf xmlns:c=\"urn:quillora:test:catalog\">"), std::wstring::npos) << text;
    EXPECT_NE(text.find(L"<c:Book id=\"0\" />"), std::wstring::npos) << text;
    EXPECT_EQ(text.find(L"xmlns", text.find(L"<c:Book")), std::wstring::npos) << "declared once, on the outermost";
}

TEST(XmlWrite, AttributesAreWrittenByTheirKind)
{
    Book book;
    EXPECT_EQ(Write(book).substr(wcslen(Declaration)),
              L"\r\n<c:Book id=\"0\" xmlns:c=\"urn:quillora:test:catalog\" />")
        << "required always; defaults and unset optionals never (Wine puts the declaration last)";

    book.pages = 12;
    book.available = false;
    book.cover = ParseColor(L"Red");
    book.rating = 0;
    const std::wstring text = Write(book);
    EXPECT_NE(text.find(L"pages=\"12\" available=\"false\" cover=\"#ff0000\" rating=\"0\""), std::wstring::npos)
        << text;
    EXPECT_EQ(text.find(L"price"), std::wstring::npos) << "equal to its default";
}

TEST(XmlWrite, AttributeGroupIsWrittenAfterTheOwnAttributes)
{
    Catalog catalog;
    catalog.name = L"Main";
    catalog.audit.by = L"Ann";
    catalog.audit.checked = true;
    EXPECT_NE(Write(catalog).find(L"<c:Catalog name=\"Main\" by=\"Ann\" checked=\"true\""), std::wstring::npos);
}

TEST(XmlWrite, SameElementWritesSameTextTwice)
{
    auto catalog = Parse(InCatalog(L"<c:Shelf label=\"A\"><c:Book id=\"1\"><c:Author name=\"Ann\"/></c:Book>"
                                   L"</c:Shelf>"));
    EXPECT_EQ(Write(*catalog), Write(*catalog));
}

TEST(XmlWrite, ContentOnlyGivesChildrenWithoutDeclarationAndNothingForAttributesOnly)
{
    Author author;
    author.name = L"Ann";
    EXPECT_EQ(XmlTestText::Of(WriteElement(author, nullptr, true)), L"");

    Book book;
    book.authors.AddNew()->name = L"Ann";
    book.authors.AddNew()->name = L"Bob";
    EXPECT_EQ(XmlTestText::Of(WriteElement(book, nullptr, true)),
              L"<c:Author name=\"Ann\" xmlns:c=\"urn:quillora:test:catalog\" />\r\n"
              L"<c:Author name=\"Bob\" xmlns:c=\"urn:quillora:test:catalog\" />");
}

TEST(XmlWrite, TextIsRawElseCDataElseEscaped)
{
    Text_Note note;
    note.text = L"<b>bold</b> & more";
    EXPECT_NE(Write(note).find(L">&lt;b&gt;bold&lt;/b&gt; &amp; more</c:Note>"), std::wstring::npos);

    note.cdata = true;
    EXPECT_NE(Write(note).find(L"<![CDATA[<b>bold</b> & more]]>"), std::wstring::npos);

    note.raw = true;
    EXPECT_NE(Write(note).find(L"><b>bold</b> & more"), std::wstring::npos) << "raw wins over CDATA";
    EXPECT_TRUE(note.IsRaw());
    EXPECT_TRUE(note.IsCData());
}

TEST(XmlWrite, AttributeValuesWithMarkupCharactersAreWellFormedAndReadBack)
{
    Author author;
    author.name = L"Tom & \"Jerry\" <1>\ttab\nline";
    const std::wstring text = Write(author);
    // Tab and line break are written as character references, so that they are not read as
    // spaces (Wine's reader still reads them so: its fault, hence xmllint is asked here).
    EXPECT_NE(XmlTestText::Canonical(text, XmlTestText::Form::Canonical)
                  .find("name=\"Tom &amp; &quot;Jerry&quot; &lt;1>&#x9;tab&#xA;line\""),
              std::string::npos)
        << XmlTestText::Canonical(text, XmlTestText::Form::Canonical);

    author.name = L"Tom & \"Jerry\" <1>";
    Author read;
    ParseElement(read, Write(author));
    EXPECT_EQ(read.name, author.name);
}

TEST(XmlWrite, AttributeValuesLoseOnlyTheCharactersXmlCannotHold)
{
    const struct
    {
        const wchar_t* value;
        const wchar_t* readBack;
    } rows[] = {
        {L"2026-12-08T16:02:47.000Z", L"2026-12-08T16:02:47.000Z"},
        {L"{6F0D3C2A-8B41-4E57-9A1C-2D7E5B90C134}", L"{6F0D3C2A-8B41-4E57-9A1C-2D7E5B90C134}"},
        {L"a\x01" L"b\x1F", L"ab"},
        {L"\xD800x", L"x"},
        {L"x\xDC00", L"x"},
        {L"\xDC00\xD800", L""},
        {L"\xD83D\xDE00 pair", L"\xD83D\xDE00 pair"},
        {L"\xFFFE\xFFFFz\xFFFD\xE000", L"z\xFFFD\xE000"},
        {L"<&>\x01\"", L"<&>\""},
        {L"", L""},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(testing::PrintToString(std::wstring(row.value)));
        Author author;
        author.name = row.value;
        Author read;
        ParseElement(read, Write(author));
        EXPECT_EQ(read.name, row.readBack);
    }
}

TEST(XmlWrite, SectionEndInTextSurvivesEveryForm)
{
    for (const bool cdata : {false, true})
    {
        Text_Note note;
        note.text = L"a]]>b]]>";
        note.cdata = cdata;
        const std::wstring text = Write(note);
        EXPECT_EQ(XmlTestText::Canonical(text, XmlTestText::Form::Canonical).rfind("not well-formed", 0),
                  std::string::npos)
            << text;

        Text_Note read;
        ParseElement(read, text);
        EXPECT_EQ(read.text, note.text) << text;
        EXPECT_EQ(read.cdata, cdata);
        EXPECT_EQ(Write(read), text);
    }
}

TEST(XmlRead, DocumentWithOrWithoutDeclarationReadsRootAttributes)
{
    for (const std::wstring& prolog : {std::wstring(Declaration), std::wstring(L"<!-- saved -->\r\n"), std::wstring()})
    {
        auto catalog = Parse(prolog + L"<c:Catalog xmlns:c=\"urn:x\" name=\"Main\" version=\"3\">"
                                      L"<c:Shelf label=\"A\"/></c:Catalog>");
        EXPECT_EQ(catalog->name, L"Main");
        EXPECT_EQ(catalog->version, 3u);
        ASSERT_EQ(catalog->shelves.size(), 1u);
        EXPECT_EQ(catalog->shelves[0]->label, L"A");
    }
}

TEST(XmlRead, RootOfAnotherNameIsReadAsChildOrSkipped)
{
    auto catalog = Parse(L"<c:Shelf xmlns:c=\"urn:x\" label=\"A\"><c:Book id=\"1\"/></c:Shelf>");
    ASSERT_EQ(catalog->shelves.size(), 1u);
    EXPECT_EQ(catalog->shelves[0]->books.size(), 1u);

    auto foreign = Parse(L"<Settings name=\"x\"><Shelf label=\"A\"/></Settings>");
    EXPECT_EQ(foreign->name, L"") << "a foreign document leaves the defaults";
    EXPECT_TRUE(foreign->shelves.empty());
}

TEST(XmlRead, DocumentTypeDeclarationStopsReadingQuietly)
{
    std::shared_ptr<Catalog> catalog;
    ASSERT_NO_THROW(catalog = Parse(std::wstring(Declaration) +
                                    L"<!DOCTYPE c [<!ENTITY e \"x\">]><Catalog name=\"Main\">&e;</Catalog>"));
    EXPECT_EQ(catalog->name, L"");
    EXPECT_FALSE(catalog->read);
}

TEST(XmlRead, CutOffDocumentKeepsWhatWasRead)
{
    const std::wstring whole = InCatalog(L"<c:Shelf label=\"A\"><c:Book id=\"1\"><c:Author name=\"Ann\"/>"
                                         L"<c:Author name=\"Bob\"/><c:Note>text</c:Note></c:Book>"
                                         L"<c:Book id=\"2\"/></c:Shelf>");
    struct Cut
    {
        const wchar_t* after;
        size_t books;
        size_t authorsOfFirstBook;
    };
    // Wine's reader hands out the last node again and again at a cut-off end.
    for (const Cut cut : {Cut{L"<c:Book id=\"1\">", 1, 0}, Cut{L"<c:Author name=\"Ann\"/>", 1, 1},
                          Cut{L"<c:Author name=\"B", 1, 1}, Cut{L"<c:Note>te", 1, 2}, Cut{L"</c:Note>", 1, 2},
                          Cut{L"<c:Book id=\"2\"/>", 2, 2}})
    {
        const std::wstring text = whole.substr(0, whole.find(cut.after) + wcslen(cut.after));
        std::shared_ptr<Catalog> catalog;
        ASSERT_NO_THROW(catalog = Parse(text)) << text;
        EXPECT_EQ(catalog->name, L"n");
        ASSERT_EQ(catalog->shelves.size(), 1u) << text;
        const Shelf& shelf = *catalog->shelves[0];
        ASSERT_EQ(shelf.books.size(), cut.books) << text;
        EXPECT_EQ(shelf.books[0]->authors.size(), cut.authorsOfFirstBook) << text;
    }
}

TEST(XmlRead, LargeDocumentReadsBackWholeWhereverTheReadersBuffersEnd)
{
    // Long enough for many of the reader's buffers, with section ends at every offset.
    Catalog catalog;
    Shelf& shelf = *catalog.shelves.AddNew();
    for (std::uint32_t id = 0; id < 3000; ++id)
    {
        Book& book = *shelf.books.AddNew();
        book.id = id;
        book.title = std::make_shared<Text_Title>();
        book.title->cdata = id % 2 == 0;
        book.title->text = std::wstring(id % 13, L'x') + L"]]> \u00e9\U0001F600 " + std::to_wstring(id);
    }
    const std::wstring text = Write(catalog);
    ASSERT_GT(text.size(), 200000u);

    auto read = Parse(text);
    ASSERT_EQ(read->shelves.size(), 1u);
    ASSERT_EQ(read->shelves[0]->books.size(), shelf.books.size());
    for (size_t i = 0; i < shelf.books.size(); ++i)
        ASSERT_EQ(read->shelves[0]->books[i]->title->text, shelf.books[i]->title->text) << i;
    EXPECT_EQ(Write(*read), text);
}

TEST(XmlRead, UnknownElementWithContentIsSkippedWholeAndClosesNoList)
{
    auto catalog = Parse(InCatalog(L"<c:Shelf><c:Book id=\"1\"><c:Author name=\"Ann\"/>"
                                   L"<c:Sticker color=\"red\"><c:Author name=\"Inner\"/><c:Note>inner</c:Note>"
                                   L"</c:Sticker><c:Author name=\"Bob\"/><c:Blank/><c:Note>outer</c:Note></c:Book>"
                                   L"<c:Book id=\"2\"/></c:Shelf>"));
    ASSERT_EQ(catalog->shelves.size(), 1u);
    const Shelf& shelf = *catalog->shelves[0];
    ASSERT_EQ(shelf.books.size(), 2u) << "the unknown element's end tag ended nothing";
    EXPECT_EQ(AuthorNames(*shelf.books[0]), (std::vector<std::wstring>{L"Ann", L"Bob"}));
    ASSERT_TRUE(shelf.books[0]->note);
    EXPECT_EQ(shelf.books[0]->note->text, L"outer");
}

TEST(XmlRead, ElementOutOfItsPlaceIsSkippedWhole)
{
    // The note closes the author list: the author after it is out of place, with what it holds.
    auto catalog = Parse(InCatalog(L"<c:Shelf><c:Book id=\"1\"><c:Author name=\"Ann\"/><c:Note>n</c:Note>"
                                   L"<c:Author name=\"Late\"><c:Title>t</c:Title></c:Author></c:Book></c:Shelf>"));
    const Book& book = *catalog->shelves[0]->books[0];
    EXPECT_EQ(AuthorNames(book), (std::vector<std::wstring>{L"Ann"}));
    EXPECT_TRUE(book.authors.closed);
    EXPECT_FALSE(book.title) << "the late author's content is not the book's";
}

TEST(XmlRead, OptionalChildIsTakenOnceWhereverItComes)
{
    auto catalog = Parse(InCatalog(L"<c:Shelf><c:Book id=\"1\"><c:Author name=\"Ann\"/><c:Title>first</c:Title>"
                                   L"<c:Title>second</c:Title></c:Book></c:Shelf>"));
    const Book& book = *catalog->shelves[0]->books[0];
    ASSERT_TRUE(book.title);
    EXPECT_EQ(book.title->text, L"first");
    EXPECT_EQ(book.authors.size(), 1u);
}

TEST(XmlRead, ListsNestToAnyDepth)
{
    auto catalog = Parse(InCatalog(L"<c:Shelf label=\"1\"><c:Shelf label=\"1.1\"><c:Shelf label=\"1.1.1\">"
                                   L"<c:Book id=\"7\"/></c:Shelf></c:Shelf><c:Shelf label=\"1.2\"/></c:Shelf>"
                                   L"<c:Shelf label=\"2\"/>"));
    ASSERT_EQ(catalog->shelves.size(), 2u);
    const Shelf& first = *catalog->shelves[0];
    ASSERT_EQ(first.shelves.size(), 2u);
    EXPECT_EQ(first.shelves[1]->label, L"1.2");
    const Shelf& deepest = *first.shelves[0]->shelves.at(0);
    EXPECT_EQ(deepest.label, L"1.1.1");
    ASSERT_EQ(deepest.books.size(), 1u);
    EXPECT_EQ(deepest.books[0]->id, 7u);
    EXPECT_EQ(deepest.parentList, &first.shelves[0]->shelves);
}

TEST(XmlRead, GroupRecordIsMadeOnlyWhenItTakesAChild)
{
    auto catalog = Parse(InCatalog(L"<c:Shelf label=\"plain\"/><c:Shelf label=\"signed\"><c:Note>Poetry</c:Note>"
                                   L"<c:Note>again</c:Note></c:Shelf>"));
    EXPECT_FALSE(catalog->shelves[0]->signage);
    ASSERT_TRUE(catalog->shelves[1]->signage);
    EXPECT_EQ(catalog->shelves[1]->signage->caption->text, L"Poetry");
    EXPECT_NE(Write(*catalog).find(L"<c:Note>Poetry</c:Note>\r\n  </c:Shelf>"), std::wstring::npos);
}

TEST(XmlRead, ChoiceListKeepsOneHolderPerElementInOrder)
{
    auto catalog = Parse(InCatalog(L"<WindowPosition/><c:Book id=\"1\"/><c:Magazine issue=\"5\" publisher=\"P\"/>"
                                   L"<c:Book id=\"2\"/>"));
    ASSERT_EQ(catalog->loans.size(), 3u);
    EXPECT_EQ(catalog->loans[0]->book->id, 1u);
    EXPECT_FALSE(catalog->loans[0]->magazine);
    EXPECT_EQ(catalog->loans[1]->magazine->issue, 5u);
    EXPECT_EQ(catalog->loans[1]->magazine->publisher, L"P") << "the base class's attribute";
    EXPECT_EQ(catalog->loans[2]->book->id, 2u);
    EXPECT_TRUE(catalog->window.read);
}

TEST(XmlRead, TextAndCDataNodesAreJoinedAndIndentationAroundCDataIsDropped)
{
    Text_Note note;
    ParseElement(note, L"<Note>one &amp; <![CDATA[two]]> three<!-- c --><![CDATA[]]>four</Note>");
    EXPECT_EQ(note.text, L"one & two threefour");
    EXPECT_TRUE(note.cdata);

    Text_Note indented;
    ParseElement(indented, L"<Note>\r\n    <![CDATA[ two ]]>\r\n  </Note>");
    EXPECT_EQ(indented.text, L" two ");

    Text_Note sections;
    ParseElement(sections, L"<Note>a<![CDATA[b]]>\n  <![CDATA[c]]>\n</Note>");
    EXPECT_EQ(sections.text, L"abc") << "what came before the first blank node is kept";

    Text_Note blank;
    ParseElement(blank, L"<Note>  \t </Note>");
    EXPECT_EQ(blank.text, L"  \t ") << "white space that is all the text is kept";
}

TEST(XmlRead, CallbackSeesEveryElementWithItsAncestors)
{
    std::vector<std::wstring> ended;
    std::wstring bookParents;
    auto catalog = Parse(InCatalog(L"<c:Shelf label=\"A\"><c:Book id=\"1\"/></c:Shelf><c:Magazine issue=\"2\"/>"),
                         [&](const ElementLink& link) {
                             ended.push_back(link.name);
                             if (std::wstring(link.name) == L"Book")
                             {
                                 const ElementLink& parent = link.node->parentLink;
                                 bookParents = std::wstring(parent.name) + L"/" + parent.node->parentLink.name + L" " +
                                               *parent.As<Shelf>().label + L" " +
                                               std::to_wstring(link.As<Book>().id);
                             }
                             if (std::wstring(link.name) == L"Magazine")
                             {
                                 EXPECT_STREQ(link.node->parentLink.name, L"Loan") << "the holder is the parent";
                                 EXPECT_STREQ(link.node->secondLink.name, L"Catalog");
                             }
                         });
    EXPECT_EQ(ended, (std::vector<std::wstring>{L"Book", L"Shelf", L"Magazine", L"Catalog"}));
    EXPECT_EQ(bookParents, L"Shelf/Catalog A 1");
    EXPECT_EQ(catalog->parentLink.node, nullptr);
}

TEST(XmlRead, CallbackCanAbandonTheReading)
{
    int shelves = 0;
    EXPECT_THROW(Parse(InCatalog(L"<c:Shelf/><c:Shelf/><c:Shelf/>"),
                       [&](const ElementLink&) {
                           if (++shelves == 2)
                               throw _com_error(E_ABORT);
                       }),
                 _com_error);
    EXPECT_EQ(shelves, 2);
}

TEST(XmlRead, UnknownAttributesAndNamespaceDeclarationsAreIgnored)
{
    Book book;
    EXPECT_TRUE(book.SetAttribute(L"pages", L"12"));
    EXPECT_FALSE(book.SetAttribute(L"Pages", L"13")) << "names compare with case";
    EXPECT_FALSE(book.SetAttribute(L"c", L"urn:x"));
    ParseElement(book, L"<x:Book xmlns:x=\"urn:x\" x:id=\"4\" unknown=\"1\" pages=\"abc\"/>");
    EXPECT_EQ(book.id, 4u) << "the prefix of an attribute is not looked at";
    EXPECT_EQ(book.pages, 0u);
}

TEST(XmlRead, ParsingIntoAFilledElementKeepsAbsentAttributesAndAppendsToLists)
{
    Book book;
    book.pages = 99;
    book.authors.AddNew()->name = L"Ann";
    ParseElement(book, L"<Book id=\"5\"><Author name=\"Bob\"/></Book>");
    EXPECT_EQ(book.pages, 99u);
    EXPECT_EQ(AuthorNames(book), (std::vector<std::wstring>{L"Ann", L"Bob"}));
}

TEST(Collection, AddNewAppendsADefaultChildThatKnowsItsList)
{
    Collection<Author> authors;
    authors.AddNew();
    authors.AddNew();
    authors.AddNew();
    std::shared_ptr<Author>& fourth = authors.AddNew();
    EXPECT_EQ(authors.size(), 4u);
    EXPECT_EQ(&fourth, &authors.back());
    EXPECT_EQ(fourth->parentList, &authors);
    EXPECT_FALSE(fourth->read);
    EXPECT_FALSE(authors.closed);
}

TEST(XmlEscape, ReplacesMarkupCharactersButNotTheApostrophe)
{
    EXPECT_EQ(XmlEscape(L"plain text"), L"plain text");
    EXPECT_EQ(XmlEscape(L"a<b>\"c\"&'d'"), L"a&lt;b&gt;&quot;c&quot;&amp;'d'");
}

// Fixtures in the form Windows' XmlLite writes (namespace declaration first, CDATA sections inline).
// Each is parsed and written, and the written text is parsed and written again.
struct RoundTrip
{
    const char* name;
    const wchar_t* fixture;
    // Canonical where only attribute order and declaration places differ from what Wine writes;
    // CanonicalWithoutIndentation where the fixture has CDATA sections, which Wine indents.
    XmlTestText::Form form;
};

class XmlRoundTrip : public testing::TestWithParam<RoundTrip>
{
};

TEST_P(XmlRoundTrip, WritesTheFixtureBackAndTheSameTextAgain)
{
    const std::wstring fixture = GetParam().fixture;
    auto first = Parse(fixture);
    const std::wstring written = Write(*first);
    auto second = Parse(written);
    EXPECT_EQ(Write(*second), written) << "write, parse, write gives the same text";
    EXPECT_EQ(XmlTestText::Canonical(written, GetParam().form), XmlTestText::Canonical(fixture, GetParam().form));
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, XmlRoundTrip,
    testing::Values(
        RoundTrip{"Empty", LR"(<?xml version="1.0" encoding="utf-16"?>
<c:Catalog xmlns:c="urn:quillora:test:catalog" name="">
  <WindowPosition />
</c:Catalog>)",
                  XmlTestText::Form::Canonical},
        RoundTrip{"AllAttributeKinds", LR"(<?xml version="1.0" encoding="utf-16"?>
<c:Catalog xmlns:c="urn:quillora:test:catalog" name="Main &amp; more" version="2" updated="2013-05-01T09:04:07.050Z" by="Ann" checked="true">
  <WindowPosition x="-10" y="20" width="800" height="600" showCmd="3" />
  <c:Shelf label="A">
    <c:Book id="1" pages="320" price="12.5" available="false" cover="#00ff00" rating="-2" added="2024-02-29T23:59:59.999Z" />
    <c:Book id="4294967295" price="1e-20" cover="none" />
  </c:Shelf>
</c:Catalog>)",
                  XmlTestText::Form::Canonical},
        RoundTrip{"NestedListsAndChoices", LR"(<?xml version="1.0" encoding="utf-16"?>
<c:Catalog xmlns:c="urn:quillora:test:catalog" name="n">
  <WindowPosition />
  <c:Shelf label="1">
    <c:Book id="1">
      <c:Title lang="en">Title &lt;one&gt;</c:Title>
      <c:Author name="Ann" />
      <c:Author name="Bob" />
      <c:Note>note</c:Note>
    </c:Book>
    <c:Note>Poetry</c:Note>
    <c:Shelf label="1.1">
      <c:Shelf label="1.1.1">
        <c:Book id="2" />
      </c:Shelf>
    </c:Shelf>
  </c:Shelf>
  <c:Book id="3" />
  <c:Magazine issue="7" publisher="Press" />
</c:Catalog>)",
                  XmlTestText::Form::Canonical},
        RoundTrip{"CDataSections", LR"(<?xml version="1.0" encoding="utf-16"?>
<c:Catalog xmlns:c="urn:quillora:test:catalog" name="n">
  <WindowPosition />
  <c:Shelf>
    <c:Book id="1">
      <c:Title><![CDATA[<b>Tom & Jerry</b>]]></c:Title>
      <c:Note><![CDATA[a]]]]><![CDATA[>b]]></c:Note>
    </c:Book>
  </c:Shelf>
</c:Catalog>)",
                  XmlTestText::Form::CanonicalWithoutIndentation}),
    [](const testing::TestParamInfo<RoundTrip>& info) { return std::string(info.param.name); });
