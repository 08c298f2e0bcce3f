#pragma once
// The notebooks a person sees when running the programs here: three notebooks with sections,
// nested section groups, recycle bins, unfiled notes and open sections, and pages spread over the
// recent months, today's among them.

#include "standins/onenote/Xml.h"

#include <string>

namespace StandIn
{
XNodePtr BuildDemoStore();

// The demo store lives relative to today: the day it was made is kept beside it (isDemo), or
// forgotten for any other store.
void AnchorDemoStore(const std::wstring& folder, bool isDemo);
// Moves every time of the demo store in folder on by the days passed since its anchor day; true
// when it moved them. Cheap when called again on the same day without a reload.
bool KeepDemoStoreCurrent(XNode& root, const std::wstring& folder, bool reloaded);
} // namespace StandIn
