#pragma once
// The import engine's public face: what Sheafin's program hands to an import run and gets back,
// the errors of an import, the calls into OneNote with their busy retry, the run's target with the
// steps that prepare it, and what the user picked as the target.

#include "import_engine/EntryImport.h"
#include "import_engine/FileKinds.h"
#include "import_engine/FolderExpansion.h"
#include "import_engine/HierarchyObject.h"
#include "import_engine/ImageImport.h"
#include "import_engine/ImportConfig.h"
#include "import_engine/ImportErrors.h"
#include "import_engine/ImportRun.h"
#include "import_engine/OneNoteCalls.h"
#include "import_engine/TOrError.h"
#include "import_engine/Target.h"
#include "import_engine/TargetPreparation.h"
#include "import_engine/TextContent.h"
