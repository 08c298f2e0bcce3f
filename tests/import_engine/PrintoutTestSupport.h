#pragma once
// What the printout tests share: a log and a folder of each test's own, PDF files made on the
// spot (encrypted ones with the host's qpdf), the Windows Runtime stand-in's completion mode, and
// reading back the pictures that renders write.

#include "framework/Owners.h"
#include "framework/files/Files.h"
#include "framework/text/Text.h"
#include "import_engine/EntryImport.h"
#include "import_engine/FolderExpansion.h"
#include "import_engine/ImageImport.h"
#include "import_engine/ImportEngine.h"
#include "import_engine/ImportRun.h"
#include "import_engine/PdfDocument.h"
#include "import_engine/Target.h"
#include "import_engine/TargetPreparation.h"
#include "import_engine/TextContent.h"
#include "standins/office/PdfWriter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace PrintoutTest
{
class PrintoutTest : public testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // A file name that no other test (nor an earlier run) uses: the test's name and the suffix.
    std::wstring UniqueName(const std::wstring& suffix) const;
    // A file of this test's own folder.
    std::wstring PathIn(const std::wstring& fileName) const;
    // Writes a PDF with these pages (sizes in points) into the test's folder; returns its path.
    std::wstring WritePdf(const std::wstring& fileName, const std::vector<PdfWriter::Page>& pages) const;
    // How the stand-in completes its operations (see standins/winrt_pdf/AsyncOperation.h).
    void SetAsyncMode(const wchar_t* mode, const wchar_t* onlyOperation = nullptr);
    // The messages of the log entries written since the test started.
    std::vector<std::wstring> LogMessages();

    // The import worker's apartment.
    std::unique_ptr<Owners::ComApartment> apartment_;
    std::filesystem::path folder_;
    std::wstring logPath_;
    PasswordProvider previousProvider_;
};

// A file name that no other test (nor an earlier run) uses: the running test's name and the suffix.
std::wstring UniqueTestFileName(const std::wstring& suffix);

// The PDF encrypted with a user password (AES-256) by the host's qpdf, beside it.
std::wstring EncryptPdf(const std::wstring& pdfPath, const std::string& userPassword);

// A page of width by height device-independent pixels, as points.
PdfWriter::Page PageOfDips(double width, double height);

// A compound file (512-byte sectors) holding these streams, each small enough for the mini
// stream (under 4096 bytes), as Office writes its encrypted and 97-2003 documents; at most three,
// in the directory's order of names (shorter first).
std::string CompoundFile(const std::vector<std::pair<std::u16string, std::string>>& streams);
// A .pptx or .docx protected by a password to open: its package encrypted in a compound file.
std::string EncryptedOfficePackage();
// A PowerPoint 97-2003 presentation protected by a password to open: its "Current User" stream
// carries the encrypted token.
std::string EncryptedPowerPoint97();

struct PngSize
{
    unsigned width = 0;
    unsigned height = 0;
};
// The size a PNG's header gives; zero when the bytes or the file are no PNG.
PngSize PngSizeOf(const std::string& bytes);
PngSize ReadPngSize(const std::wstring& path);

// The HRESULT an error of the External category carries, or 0.
HRESULT HResultOf(const std::error_code& error);
// The context text an error carries (UTF-8).
std::string ContextOf(const std::error_code& error);
} // namespace PrintoutTest
