// The programs include both public headers together: this keeps them compiling side by side
// (the framework's ::Window and OneNote's ON16::Window, both models' names).
#include "framework/Framework.h"
#include "onenote_model/OneNoteModel.h"
