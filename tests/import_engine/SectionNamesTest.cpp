// How a new section's name is told apart from its siblings.
#include "import_engine/PageCreation.h"

#include <gtest/gtest.h>

namespace
{
TEST(SectionNames, FirstFreeNameOfTheSequenceIsChosen)
{
    const struct
    {
        const char* name;
        std::vector<std::wstring> taken;
        const wchar_t* suffix;
        const wchar_t* chosen;
    } rows[] = {
        {"free name", {L"Other"}, L"2024-5-3", L"Imported Files"},
        {"name taken", {L"Imported Files"}, L"2024-5-3", L"Imported Files 2024-5-3"},
        {"name and suffixed name taken", {L"Imported Files 2024-5-3", L"Imported Files"}, L"2024-5-3",
         L"Imported Files 2024-5-3 (2)"},
        {"up to (2) taken", {L"Imported Files", L"Imported Files 2024-5-3", L"Imported Files 2024-5-3 (2)"},
         L"2024-5-3", L"Imported Files 2024-5-3 (3)"},
        {"empty suffix, name taken", {L"Imported Files"}, L"", L"Imported Files (2)"},
        {"empty suffix, name and (2) taken", {L"Imported Files (2)", L"Imported Files"}, L"", L"Imported Files (3)"},
        {"other letter case is the same file", {L"imported files"}, L"2024-5-3", L"Imported Files 2024-5-3"},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ChooseSectionName(row.taken, L"Imported Files", row.suffix), row.chosen);
    }
}

TEST(SectionNames, TemplateReplacesOnlyItsTwoPlaceholders)
{
    EXPECT_EQ(FormatNameTemplate(L"[1] ([2])", L" 2024-5-3", 2), L" 2024-5-3 (2)");
    EXPECT_EQ(FormatNameTemplate(L"[2][1][2]", L"a", 10), L"10a10");
    EXPECT_EQ(FormatNameTemplate(L"[3] [x] [1", L"a", 1), L"[3] [x] [1");
    EXPECT_EQ(FormatNameTemplate(L"[[1]]", L"a", 1), L"[a]");
}
} // namespace
