#pragma once
// A program file written so that no one ever starts half of it: the bytes go to a file of their own
// beside the place they are meant for, and only a whole, flushed file takes that place.

#include <windows.h>

#include <functional>
#include <string>

// Writes every byte to the open file: WriteFile until all are written, unless replaced (a disk that
// fills up part-way). False with GetLastError telling why.
using ProgramBytesWriter = std::function<bool(HANDLE file, const std::string& bytes)>;
extern ProgramBytesWriter ProgramFileWriter;

// Writes the bytes to a new file in the folder of path, named after path with a suffix that no
// other writer of this or another process uses, opened without sharing and flushed to the disk.
// The file's name, or empty when it could not be written whole (GetLastError tells why; nothing is
// left behind).
std::wstring WriteBesideUnderNameOfItsOwn(const std::wstring& path, const std::string& bytes);

// Moves a file written beside path over path in one step, replacing what is there and written
// through to the disk. False with GetLastError; the file beside is then still there.
bool MoveOver(const std::wstring& written, const std::wstring& path);

// Whether an install could put a program in place of the one at path, asked before anything is
// downloaded: the install writes the new program beside it and moves that over it, which a folder
// that may not be written (one of all users' programs, a read-only share), a read-only file or one
// that may not be removed (opened for removal with all sharing, as the move needs) refuses.
// ERROR_SUCCESS when it could, else why not. The trial file beside it is removed at once.
DWORD CheckProgramReplaceable(const std::wstring& path);

// Whether a file can be written beside path (WriteBesideUnderNameOfItsOwn), asked by creating one
// under such a name that goes at once. ERROR_SUCCESS when it could, else why not.
DWORD CheckWritableBeside(const std::wstring& path);
