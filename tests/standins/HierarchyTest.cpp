#include "tests/standins/StandInFixture.h"

#include <regex>

namespace StandInTest
{
namespace
{
class Hierarchy : public StandInTest
{
};

TEST_F(Hierarchy, BothApplicationClassesAreRegisteredAndAnswer)
{
    for (const CLSID& clsid : {ON16::CLSID_Application, ON16::CLSID_Application2})
    {
        ApplicationPtr app = Connect(clsid);
        ASSERT_TRUE(app);
        EXPECT_NE(StandInTest::Hierarchy(app, L"", ON16::hsNotebooks).find(L"<one:Notebook "), std::wstring::npos);
    }
}

TEST_F(Hierarchy, EveryScopeAnswersValidXmlInBothSchemas)
{
    ApplicationPtr app = Connect();
    ASSERT_TRUE(app);
    const std::wstring all = StandInTest::Hierarchy(app, L"", ON16::hsPages);
    const std::wstring notebook = FirstId(all, L"Notebook");
    const std::wstring section = FirstId(all, L"Section");
    const std::wstring group = FirstId(all, L"SectionGroup");
    const std::wstring page = FirstId(all, L"Page");
    ASSERT_FALSE(notebook.empty());
    ASSERT_FALSE(page.empty());
    int index = 0;
    for (ON16::XMLSchema schema : {ON16::xs2013, ON16::xs2010})
        for (const std::wstring& id : {std::wstring(), notebook, group, section, page})
            for (ON16::HierarchyScope scope :
                 {ON16::hsSelf, ON16::hsChildren, ON16::hsNotebooks, ON16::hsSections, ON16::hsPages})
            {
                const std::wstring xml = StandInTest::Hierarchy(app, id, scope, schema);
                EXPECT_NE(xml.find(schema == ON16::xs2010 ? L"/2010/onenote" : L"/2013/onenote"), std::wstring::npos);
                EXPECT_TRUE(IsValid(xml, schema, L"answer" + std::to_wstring(++index)))
                    << "ID " << Utf8(id) << " scope " << scope << " schema " << schema;
            }
}

TEST_F(Hierarchy, ScopesReachTheirDepth)
{
    ApplicationPtr app = Connect();
    const std::wstring notebooks = StandInTest::Hierarchy(app, L"", ON16::hsNotebooks);
    EXPECT_EQ(notebooks.find(L"<one:Section "), std::wstring::npos);
    const std::wstring notebook = FirstId(notebooks, L"Notebook");
    const std::wstring sections = StandInTest::Hierarchy(app, notebook, ON16::hsSections);
    EXPECT_NE(sections.find(L"<one:Section "), std::wstring::npos);
    EXPECT_NE(sections.find(L"isRecycleBin=\"true\""), std::wstring::npos);
    EXPECT_NE(sections.find(L"isDeletedPages=\"true\""), std::wstring::npos);
    EXPECT_EQ(sections.find(L"<one:Page "), std::wstring::npos);
    const std::wstring section = FirstId(sections, L"Section");
    const std::wstring pages = StandInTest::Hierarchy(app, section, ON16::hsPages);
    EXPECT_NE(pages.find(L"<one:Page "), std::wstring::npos);
    // Hierarchy pages carry no content.
    EXPECT_EQ(pages.find(L"<one:Outline"), std::wstring::npos);
    const std::wstring self = StandInTest::Hierarchy(app, section, ON16::hsSelf);
    EXPECT_EQ(self.find(L"<one:Page "), std::wstring::npos);
    EXPECT_NE(self.find(L"<one:Section "), std::wstring::npos);
}

TEST_F(Hierarchy, IdsMatchThePublishedPattern)
{
    ApplicationPtr app = Connect();
    const std::wstring all = StandInTest::Hierarchy(app, L"", ON16::hsPages);
    const std::wregex id(L" ID=\"([^\"]*)\"");
    const std::wregex pattern(L"\\{[A-F0-9]{8}-[A-F0-9]{4}-[A-F0-9]{4}-[A-F0-9]{4}-[A-F0-9]{12}\\}\\{[0-9]+\\}\\{[A-Z][0-9]+\\}");
    int count = 0;
    for (std::wsregex_iterator it(all.begin(), all.end(), id), end; it != end; ++it, ++count)
        EXPECT_TRUE(std::regex_match((*it)[1].str(), pattern)) << Utf8((*it)[1].str());
    EXPECT_GT(count, 10);
}

TEST_F(Hierarchy, UnknownObjectIsOneNotesError)
{
    ApplicationPtr app = Connect();
    BSTR xml = nullptr;
    EXPECT_EQ(app->GetHierarchy(_bstr_t(L"{00000000-0000-0000-0000-000000000000}{1}{B0}"), ON16::hsSelf, &xml,
                                ON16::xs2013),
              static_cast<HRESULT>(0x80042014));
    EXPECT_EQ(xml, nullptr);
    EXPECT_EQ(app->GetHierarchy(_bstr_t(L""), ON16::hsSelf, &xml, static_cast<ON16::XMLSchema>(7)),
              static_cast<HRESULT>(0x80042020));
}

TEST_F(Hierarchy, UpdateHierarchyCreatesASectionWithAUniqueIdListedLast)
{
    ApplicationPtr app = Connect();
    const std::wstring notebook = FirstId(StandInTest::Hierarchy(app, L"", ON16::hsNotebooks), L"Notebook", L"Work");
    ASSERT_FALSE(notebook.empty());
    const std::wstring before = StandInTest::Hierarchy(app, notebook, ON16::hsChildren);
    std::wstring changes = before;
    const size_t end = changes.find(L"<one:Section ");
    ASSERT_NE(end, std::wstring::npos);
    changes.insert(end, L"<one:Section name=\"Imported Files 2026-12-8\"/>");
    ASSERT_EQ(app->UpdateHierarchy(_bstr_t(changes.c_str()), ON16::xs2013), S_OK);

    const std::wstring after = StandInTest::Hierarchy(app, notebook, ON16::hsChildren);
    const std::wstring created = FirstId(after, L"Section", L"Imported Files 2026-12-8");
    ASSERT_FALSE(created.empty());
    EXPECT_EQ(before.find(created), std::wstring::npos);
    // The new section is the last section of the notebook (before its section groups).
    const size_t newPosition = after.find(created);
    EXPECT_EQ(after.find(L"<one:Section ", newPosition), std::wstring::npos);
    EXPECT_TRUE(IsValid(after, ON16::xs2013, L"after"));
    EXPECT_TRUE(StandIn::ReadCallLog(callLog_.wstring()).size() >= 3);
}

TEST_F(Hierarchy, UpdateHierarchyAnswersOneNotesErrors)
{
    ApplicationPtr app = Connect();
    const std::wstring notebooks = StandInTest::Hierarchy(app, L"", ON16::hsNotebooks);
    const std::wstring notebook = FirstId(notebooks, L"Notebook");
    const std::wstring ns = L"xmlns:one=\"http://schemas.microsoft.com/office/onenote/2013/onenote\"";
    const auto update = [&](const std::wstring& xml) { return app->UpdateHierarchy(_bstr_t(xml.c_str()), ON16::xs2013); };
    EXPECT_EQ(update(L"<one:Notebook " + ns + L" ID=\"" + notebook + L"\"><one:Section name=\"x\">"),
              static_cast<HRESULT>(0x80042000));
    if (HaveSchemas())
    {
        EXPECT_EQ(update(L"<one:Notebook " + ns + L" ID=\"" + notebook + L"\"><one:Bogus/></one:Notebook>"),
                  static_cast<HRESULT>(0x80042001));
    }
    EXPECT_EQ(update(L"<one:Notebook " + ns + L" ID=\"" + notebook + L"\"><one:Section name=\"a/b\"/></one:Notebook>"),
              static_cast<HRESULT>(0x80042017));
    EXPECT_EQ(update(L"<one:Notebook " + ns + L" ID=\"{11111111-2222-3333-4444-555555555555}{1}{B0}\"/>"),
              static_cast<HRESULT>(0x80042015));
    // 2010 XML where the 2013 schema is named.
    EXPECT_EQ(update(L"<one:Notebook xmlns:one=\"http://schemas.microsoft.com/office/onenote/2010/onenote\" ID=\"" +
                     notebook + L"\"/>"),
              static_cast<HRESULT>(0x80042001));
    EXPECT_EQ(StandInTest::Hierarchy(app, L"", ON16::hsNotebooks), notebooks);
}

TEST_F(Hierarchy, FindPagesMatchesTitlesAndText)
{
    ApplicationPtr app = Connect();
    BSTR xml = nullptr;
    ASSERT_EQ(app->FindPages(_bstr_t(L""), _bstr_t(L"flour"), &xml, VARIANT_FALSE, VARIANT_FALSE, ON16::xs2010), S_OK);
    std::wstring text = xml;
    SysFreeString(xml);
    EXPECT_NE(text.find(L"name=\"Sourdough bread\""), std::wstring::npos);
    EXPECT_EQ(text.find(L"name=\"Apple cake\""), std::wstring::npos);
    EXPECT_TRUE(IsValid(text, ON16::xs2010, L"byText"));

    ASSERT_EQ(app->FindPages(_bstr_t(L""), _bstr_t(L"MEETING"), &xml, VARIANT_FALSE, VARIANT_FALSE, ON16::xs2010), S_OK);
    text = xml;
    SysFreeString(xml);
    EXPECT_NE(text.find(L"name=\"Team meeting\""), std::wstring::npos);
    EXPECT_EQ(text.find(L"name=\"Customer call\""), std::wstring::npos);
    EXPECT_TRUE(IsValid(text, ON16::xs2010, L"byTitle"));

    EXPECT_EQ(app->FindPages(_bstr_t(L""), _bstr_t(L""), &xml, VARIANT_FALSE, VARIANT_FALSE, ON16::xs2010),
              static_cast<HRESULT>(0x80042019));
}
} // namespace
} // namespace StandInTest
