#pragma once
// The import settings popup menu: its items with their marks, from the run configuration and the
// target label's text, and what the chosen item stands for.

#include "import_engine/ImportEngine.h"

#include <string>
#include <vector>

struct ImportSettingsItem
{
    enum Mark
    {
        None,
        Check,
        Radio,
        Separator,
    };

    std::wstring text;
    Mark mark = None;

    friend bool operator==(const ImportSettingsItem&, const ImportSettingsItem&) = default;
};

// The eleven items, in order; the last one picks the target and names the one shown, if any.
std::vector<ImportSettingsItem> ImportSettingsItems(const Config& config, const std::wstring& targetText);

// The command each item stands for, by its position from 1; 0 for separators and positions out of
// range.
unsigned ImportSettingsCommand(int position);
