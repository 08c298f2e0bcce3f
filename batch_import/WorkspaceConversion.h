#pragma once
// The main window's run configuration and its saved form in the settings file, each made from the
// other. Nothing here touches a file, a window or OneNote.

#include "batch_import/SettingsElements.h"
#include "import_engine/ImportEngine.h"

#include <memory>
#include <vector>

// Printout scales (percent of 96 dpi) that a saved configuration may hold: those the options
// dialog offers and any between them. A scale outside reads as the default of the screen.
constexpr uint32_t MinimumPrintoutScale = 100;
constexpr uint32_t MaximumPrintoutScale = 1000;

// The saved form of config: one output mode holding one location, the default import format, the
// printout scale and the tree of entries. An output format the program does not know saves no
// mode and no location.
std::shared_ptr<Importer::Config> BuildImporterConfig(const Config& config);
Collection<Importer::Entry> BuildImporterEntries(const std::vector<Config::Entry>& entries);

// The run configuration saved as config: the first mode present (single page, each file, each
// printout page) and, within it, an existing location before a new one. What config does not hold
// keeps the value of a default Config, except a missing (or unusable) printout scale, which
// follows the screen: 150 percent of its pixels per point, rounded (200 at 96 dpi, 300 at 144).
Config ApplyImporterConfig(const Importer::Config& config);
// The same for a screen of dpiScaleX pixels per point.
Config ApplyImporterConfig(const Importer::Config& config, float dpiScaleX);
// A missing list (null) has no entries.
std::vector<Config::Entry> ApplyImporterEntries(const Importer::Entries* entries);

// The run configuration the main window starts with: the last configuration of settings, or the
// default Config when there is none.
Config LoadWorkspaceConfig(const Importer::Settings& settings);
// Stores config as the last configuration of settings, which is made first when missing.
void StoreWorkspaceConfig(Importer::Settings& settings, const Config& config);
