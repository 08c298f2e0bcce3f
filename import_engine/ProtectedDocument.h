#pragma once
// Office documents protected by a password to open. PowerPoint's Presentations.Open takes no
// password and asks the user for one, which would hold the import worker with no time limit, so
// such a deck is told by its file before PowerPoint opens it.

#include <windows.h>

#include <string>

struct PasswordProtection
{
    // The file is a compound file holding an encrypted Office package (the "EncryptedPackage"
    // stream of an encrypted .pptx, .docx or .xlsx) or a PowerPoint 97-2003 presentation whose
    // "Current User" stream marks it encrypted.
    bool isProtected = false;
    // Why the file could not be read far enough to tell (S_OK when it could): it could not be
    // opened, or its compound file could not be read, as when it is being written meanwhile.
    HRESULT unreadable = S_OK;
};

// Reads the file while other programs have it open, for writing too: a colleague's PowerPoint on
// a share or a synchronising client does not keep it from being checked.
PasswordProtection CheckPasswordProtection(const std::wstring& path);
