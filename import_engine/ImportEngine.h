#pragma once
// The import engine's public face: what Sheafin's program hands to an import run and gets back,
// the errors of an import, and the calls into OneNote with their busy retry.

#include "import_engine/ImportConfig.h"
#include "import_engine/ImportErrors.h"
#include "import_engine/OneNoteCalls.h"
#include "import_engine/TOrError.h"
