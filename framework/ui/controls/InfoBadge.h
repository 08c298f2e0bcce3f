#pragma once
// A control followed by a round "i" badge whose tip explains it.

#include "framework/ui/Containers.h"

#include <windows.h>

#include <memory>
#include <string>

namespace UI
{
std::shared_ptr<BoxContainer> CreateControlWithInfo(HWND parent, std::shared_ptr<IControl> control,
                                                    const std::wstring& infoText);
} // namespace UI
