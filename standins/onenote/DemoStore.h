#pragma once
// The notebooks a person sees when running the programs here: a few notebooks, sections and
// pages spread over the recent months.

#include "standins/onenote/Xml.h"

namespace StandIn
{
XNodePtr BuildDemoStore();
} // namespace StandIn
