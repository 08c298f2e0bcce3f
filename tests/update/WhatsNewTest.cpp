// The product information and the What's New window: which versions show, their change lists,
// links and pictures, the requests behind it, and closing by Escape.
#include "framework/text/Text.h"
#include "framework/ui/WindowHelpers.h"
#include "framework/xml/XmlDocument.h"
#include "tests/framework/ui/UiTestSupport.h"
#include "tests/framework/ui/dialogs/DialogTestSupport.h"
#include "tests/support/Screenshot.h"
#include "tests/support/TextChecks.h"
#include "tests/update/ServiceScenario.h"
#include "update/WhatsNewWindow.h"

#include <gtest/gtest.h>

using UpdateTest::ServiceScenario;

namespace
{
const char* const picture =
    "iVBORw0KGgoAAAANSUhEUgAAABgAAAAQCAIAAACDRijCAAAAGklEQVR4nGM4oaFBFcQwatCoQaMGjRpEGQIATMGkEDHeO18AAAAASUVORK5CYII=";

std::string ProductXml()
{
    return std::string("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n") +
           "<Product name=\"Quillora Batch File Import\">"
           "<Version number=\"1.5.0\" date=\"2026-11-02T00:00:00.000Z\" url=\"news/1.5.0\">"
           "<Changes>- Faster imports\n- Dark theme</Changes><Image>\n" +
           picture +
           "\n</Image></Version>"
           "<Version number=\"1.4.0\" date=\"2026-06-01T00:00:00.000Z\" url=\"news/x&quot;onclick\">"
           "<Changes>- Word documents keep their pictures</Changes></Version>"
           "<Version number=\"1.3.0\" date=\"2026-01-15T00:00:00.000Z\"><Changes>- First release</Changes></Version>"
           "<Version number=\"1.2.0\" date=\"2025-09-01T00:00:00.000Z\"/>"
           "</Product>";
}

class WhatsNew : public DialogTest::Fixture
{
protected:
    ~WhatsNew() override
    {
        while (const HWND window = Find())
            DestroyWindow(window);
    }

    static HWND Find() { return FindWindowW(L"Quillora Window", L"What's New"); }

    static std::vector<std::wstring> Texts(HWND window, const wchar_t* className)
    {
        std::vector<std::wstring> texts;
        for (const HWND child : DialogTest::Children(window, className))
            if (IsWindowVisible(child))
                texts.push_back(UI::GetWindowTextString(child));
        return texts;
    }

    // Pictures are "Static" children with a bitmap.
    static size_t PictureCount(HWND window)
    {
        size_t count = 0;
        for (const HWND child : DialogTest::Children(window, L"Static"))
            if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP)
                ++count;
        return count;
    }

    std::vector<std::wstring> VersionHeadings(HWND window)
    {
        std::vector<std::wstring> headings;
        for (const auto& text : Texts(window, L"Static"))
            if (text.rfind(L"\n\nVersion ", 0) == 0)
                headings.push_back(text.substr(2));
        return headings;
    }
};
} // namespace

TEST(ProductInformation, ReadsVersionsWithTheirChangesLinksAndPictures)
{
    Product::Product product;
    ParseElement(product, Utf8ToWide(ProductXml()));
    EXPECT_EQ(L"Quillora Batch File Import", product.name);
    ASSERT_EQ(4u, product.versions.size());
    EXPECT_EQ(L"1.5.0", product.versions[0]->number);
    EXPECT_EQ(2026, product.versions[0]->date.wYear);
    EXPECT_EQ(11, product.versions[0]->date.wMonth);
    EXPECT_EQ(L"news/1.5.0", product.versions[0]->url.value_or(L""));
    EXPECT_EQ(L"- Faster imports\n- Dark theme", product.versions[0]->changes.text);
    ASSERT_TRUE(product.versions[0]->image);
    EXPECT_FALSE(product.versions[1]->image);
    EXPECT_FALSE(product.versions[2]->url);
    EXPECT_EQ(L"", product.versions[3]->changes.text);
}

TEST(ProductInformation, ChangeListItemsBeginWithABullet)
{
    const struct
    {
        std::wstring changes;
        std::wstring shown;
    } rows[] = {
        {L"- Faster imports\n- Dark theme", L"      \u2022  Faster imports\n      \u2022  Dark theme"},
        {L"-One", L"      \u2022 One"},
        {L"- A line\ncontinued\n- B", L"      \u2022  A line\ncontinued\n      \u2022  B"},
        {L"", L""},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(WideToUtf8(row.changes));
        EXPECT_EQ(row.shown, FormatChangeList(row.changes));
    }
}

TEST(ProductInformation, LearnMoreAddressRefusesPathsThatLeaveTheMarkup)
{
    EXPECT_EQ(L"https://www.quillora.com/news/1.5.0", LearnMoreAddress(L"news/1.5.0").value_or(L""));
    for (const wchar_t* url : {L"x\" onclick=\"y", L"x'y", L"a<b", L"a>b"})
        EXPECT_FALSE(LearnMoreAddress(url)) << WideToUtf8(url);
}

TEST_F(WhatsNew, ShowsTheVersionsBeforeTheGivenOneWithLinkAndPicture)
{
    ServiceScenario scenario;
    scenario.Set("getProductInfo.body", ProductXml());
    ShowWhatsNew(nullptr, "Quillora Batch File Import", std::wstring(L"1.3.0"), false);
    const HWND window = Find();
    ASSERT_TRUE(window);
    // The versions come from the service on a worker.
    const std::vector<std::wstring> versions{L"Version 1.5.0", L"Version 1.4.0"};
    EXPECT_TRUE(UiTest::PumpUntil([&] { return VersionHeadings(window) == versions; }));

    EXPECT_EQ(versions, VersionHeadings(window));
    const auto labels = Texts(window, L"Static");
    EXPECT_EQ(L"What's New in Quillora Batch File Import", labels.front());
    EXPECT_NE(labels.end(), std::find(labels.begin(), labels.end(),
                                      L"      \u2022  Faster imports\n      \u2022  Dark theme"));
    // 1.4.0's page would break out of the link's markup: only 1.5.0 has a link.
    const auto links = DialogTest::Children(window, L"SysLink");
    ASSERT_EQ(1u, links.size());
    EXPECT_EQ(L"         <a href=\"https://www.quillora.com/news/1.5.0\">Learn More</a>",
              UI::GetWindowTextString(links[0]));
    EXPECT_EQ(1u, PictureCount(window));
    Screenshot::SaveWindow(window, L"whatsnew");
    // The headings are whole, and the link keeps the indent of its blanks: it starts under the
    // changes' text, not at the window's margin.
    EXPECT_EQ(TextChecks::ShortLabels(window), std::vector<std::string>());
    const Owners::WindowDC dc(links[0]);
    const Owners::SelectedObject font(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageW(links[0], WM_GETFONT, 0, 0)));
    SIZE indent{};
    GetTextExtentPoint32W(dc.get(), L"         ", 9, &indent);
    const TextChecks::Shown shown(window);
    const RECT link = Harness::ChildRect(links[0]);
    const COLORREF background = TextChecks::CommonColour(shown, link);
    int firstInk = link.right;
    for (int y = link.top; y < link.bottom; ++y)
        for (int x = link.left; x < link.right; ++x)
            if (shown.At(x, y) != background)
                firstInk = std::min<int>(firstInk, x);
    EXPECT_GE(firstInk - link.left, indent.cx) << "\"Learn More\" starts at the label's edge";

    const auto requests = scenario.Requests();
    ASSERT_EQ(2u, requests.size());
    EXPECT_EQ("getProductInfo", requests[1].name);
    EXPECT_EQ((std::pair<std::string, std::string>("product", "Quillora Batch File Import")),
              requests[1].Parameters().front());

    DialogTest::PressKey(window, VK_ESCAPE);
    EXPECT_TRUE(UiTest::PumpUntil([] { return !Find(); }));
}

TEST_F(WhatsNew, WithoutAVersionShowsOnlyTheNewest)
{
    ServiceScenario scenario;
    scenario.Set("getProductInfo.body", ProductXml());
    ShowWhatsNew(nullptr, "Quillora Batch File Import", std::nullopt, false);
    const HWND window = Find();
    ASSERT_TRUE(window);
    EXPECT_EQ((std::vector<std::wstring>{L"Version 1.5.0"}), VersionHeadings(window));
}

TEST_F(WhatsNew, UnknownVersionShowsEveryVersion)
{
    ServiceScenario scenario;
    scenario.Set("getProductInfo.body", ProductXml());
    ShowWhatsNew(nullptr, "Quillora Batch File Import", std::wstring(L"0.9"), false);
    const HWND window = Find();
    ASSERT_TRUE(window);
    EXPECT_EQ((std::vector<std::wstring>{L"Version 1.5.0", L"Version 1.4.0", L"Version 1.3.0", L"Version 1.2.0"}),
              VersionHeadings(window));
}

TEST_F(WhatsNew, NewestVersionGivenShowsNoWindow)
{
    ServiceScenario scenario;
    scenario.Set("getProductInfo.body", ProductXml());
    ShowWhatsNew(nullptr, "Quillora Batch File Import", std::wstring(L"1.5.0"), false);
    EXPECT_FALSE(Find());
}

TEST_F(WhatsNew, RequestErrorsAreRaised)
{
    ServiceScenario scenario;
    scenario.Set("getProductInfo.status", "500");
    EXPECT_THROW(ShowWhatsNew(nullptr, "Quillora Batch File Import", std::nullopt, false), _com_error);
    EXPECT_FALSE(Find());
}

TEST_F(WhatsNew, ModalWindowClosesOnEscape)
{
    ServiceScenario scenario;
    scenario.Set("getProductInfo.body", ProductXml());
    DialogTest::Driver driver(L"What's New", {[](HWND window) { DialogTest::PressKey(window, VK_ESCAPE); }});
    ShowWhatsNew(nullptr, "Quillora Batch File Import", std::nullopt, true);
    EXPECT_FALSE(Find());
}

TEST_F(WhatsNew, BrokenDocumentShowsTheVersionsReadBeforeTheFault)
{
    ServiceScenario scenario;
    std::string broken = ProductXml();
    broken.resize(broken.find("<Version number=\"1.3.0\"") + 30);
    scenario.Set("getProductInfo.body", broken);
    ShowWhatsNew(nullptr, "Quillora Batch File Import", std::wstring(L"1.3.0"), false);
    const HWND window = Find();
    ASSERT_TRUE(window);
    EXPECT_EQ((std::vector<std::wstring>{L"Version 1.5.0", L"Version 1.4.0"}), VersionHeadings(window));
}
