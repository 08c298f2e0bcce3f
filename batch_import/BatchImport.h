#pragma once
// Sheafin's program: its public face for the program's entry point and for tests.

#include "batch_import/ConfigElements.h"
#include "batch_import/ImportController.h"
#include "batch_import/PasswordDialog.h"
#include "batch_import/RunPrompts.h"
#include "batch_import/SettingsElements.h"
#include "batch_import/SettingsFile.h"
#include "batch_import/TargetPicking.h"
#include "batch_import/WorkspaceConversion.h"
