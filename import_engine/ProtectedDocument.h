#pragma once
// Office documents protected by a password to open. PowerPoint's Presentations.Open takes no
// password and asks the user for one, which would hold the import worker with no time limit, so
// such a deck is told by its file before PowerPoint opens it.

#include <string>

// Whether the file is a compound file holding an encrypted Office package (the "EncryptedPackage"
// stream of an encrypted .pptx, .docx or .xlsx) or a PowerPoint 97-2003 presentation whose
// "Current User" stream marks it encrypted. Files that cannot be read are not.
bool IsPasswordProtectedDocument(const std::wstring& path);
