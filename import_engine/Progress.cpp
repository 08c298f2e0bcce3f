#include "import_engine/ImportConfig.h"

#include <time.h>

Progress::Progress(std::wstring text, uint32_t done, uint32_t total)
    : text(std::move(text)), done(done), total(total)
{
    const __time64_t now = _time64(nullptr);
    time = now;
    _localtime64_s(&localTime, &now);
}
