#pragma once
// What a file is, told by its name's extension: the file list shows it and the per-file import
// chooses what to do with the file by it. Only the name is looked at; the file need not exist.
// Extensions are compared without regard to case (PHOTO.JPG is an image).

#include <string>

enum FileKind : int
{
    FolderKind = 0,
    OtherFileKind = 1,
    ImageFileKind = 2,
    PdfFileKind = 3,
    WordFileKind = 4,
    PowerPointFileKind = 5,
    TextFileKind = 6,
    HtmlFileKind = 7,
};

bool IsPdfFile(const std::wstring& path);
bool IsWordFile(const std::wstring& path);
bool IsPowerPointFile(const std::wstring& path);
// Also a name whose extension the system registers with the content type text/html.
bool IsHtmlFile(const std::wstring& path);
// A web archive (.mht, .mhtml), which holds its pictures and styles itself.
bool IsWebArchiveFile(const std::wstring& path);
bool IsImageFile(const std::wstring& path);
bool IsTextFile(const std::wstring& path);

// A folder (an existing one) is a folder whatever its name.
FileKind ClassifyFile(const wchar_t* path);
