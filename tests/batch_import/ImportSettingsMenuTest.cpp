// The import settings menu's items: their marks follow the configuration, and the last one names
// the target once there is one.
#include "batch_import/CommandTable.h"
#include "batch_import/ImportSettingsMenu.h"

#include <gtest/gtest.h>

namespace
{
using Item = ImportSettingsItem;
}

TEST(ImportSettingsMenu, MarksFollowTheConfigurationAndTheLastItemAsksForATarget)
{
    Config config;
    config.importFormat.fileAttachment = true;
    config.importFormat.originalPath = Config::HyperlinkPath;
    config.outputFormat = Config::InsertEachFileOnASeparatePage;
    EXPECT_EQ((std::vector<Item>{{L"Insert as file &attachment", Item::Check},
                                 {L"Insert file &content (text, printout, image)", Item::None},
                                 {L"", Item::Separator},
                                 {L"Insert original file path as plain &text", Item::None},
                                 {L"Insert original file path as hyper&link", Item::Check},
                                 {L"", Item::Separator},
                                 {L"Insert all files into a &single page", Item::None},
                                 {L"Insert each file into a separate &page", Item::Radio},
                                 {L"Insert each print&out page into a separate page", Item::None},
                                 {L"", Item::Separator},
                                 {L"Pic&k a location to import...", Item::None}}),
              ImportSettingsItems(config, L"Import into Section: Ignored"));
}

TEST(ImportSettingsMenu, OnceATargetIsChosenTheLastItemShowsTheTargetLabelsText)
{
    Config config;
    config.importFormat.fileContent = true;
    config.importFormat.originalPath = Config::PlainTextPath;
    config.location = L"onenote:///C:/Notes/Meetings.one";
    const std::vector<Item> items = ImportSettingsItems(config, L"Import into Section: Meetings");
    EXPECT_EQ((Item{L"Insert file &content (text, printout, image)", Item::Check}), items[1]);
    EXPECT_EQ((Item{L"Insert original file path as plain &text", Item::Check}), items[3]);
    EXPECT_EQ((Item{L"Insert all files into a &single page", Item::Radio}), items[6]);
    EXPECT_EQ((Item{L"Pic&k a location to import (Import into Section: Meetings)", Item::None}), items.back());
}

TEST(ImportSettingsMenu, EachItemStandsForItsCommandAndSeparatorsForNone)
{
    const unsigned expected[] = {Command::FileAttachment, Command::FileContent, 0, Command::PathAsText,
                                 Command::PathAsLink, 0, Command::SinglePage, Command::PagePerFile,
                                 Command::PagePerPrintoutPage, 0, Command::PickLocation};
    for (int position = 1; position <= 11; ++position)
        EXPECT_EQ(expected[position - 1], ImportSettingsCommand(position)) << position;
    EXPECT_EQ(0u, ImportSettingsCommand(0)) << "the menu dismissed";
    EXPECT_EQ(0u, ImportSettingsCommand(12));
}
