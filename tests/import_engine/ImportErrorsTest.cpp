#include "import_engine/ImportErrors.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace
{
TEST(ImportErrors, EngineCodeWithContextReadsNameCodeTextAndContext)
{
    const std::error_code error = MakeImportError(FileDoesNotExist, L"File: C:\\x");
    EXPECT_EQ(error.category(), GetImportErrorCategory());
    EXPECT_EQ(error.message(), "Quillora Batch File Import Error (200): File or folder does not exist\n\nFile: C:\\x");
    EXPECT_EQ(GetErrorText(error),
              L"Quillora Batch File Import Error (200): File or folder does not exist\n\nFile: C:\\x");
}

TEST(ImportErrors, EveryEngineCodeHasItsTextAndAnUnknownCodeSaysSo)
{
    const struct
    {
        int32_t code;
        const char* text;
    } rows[] = {
        {NoImportFormat, "No import format specified"},
        {NoOutputFormat, "No output format specified"},
        {NoFilesSpecified, "No files specified"},
        {FileDoesNotExist, "File or folder does not exist"},
        {CannotReadImage, "Cannot read image file"},
        {PdfHasNoPages, "Pdf contains no pages"},
        {ImportCancelled, "Cancelled"},
        {100, "Unknown error"},
        {0, "Unknown error"},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.code);
        EXPECT_EQ(MakeImportError(row.code).message(),
                  "Quillora Batch File Import Error (" + std::to_string(row.code) + "): " + row.text);
    }
}

TEST(ImportErrors, ExternalErrorsShowTheHResultInLowerCaseHexadecimal)
{
    EXPECT_EQ(MakeHResultError(static_cast<HRESULT>(0x8004808E)).message(),
              "External Error (8004808e): Error reading PDF file");
    EXPECT_EQ(MakeHResultError(static_cast<HRESULT>(0x80048014), L"File: C:\\a.pdf").message(),
              "External Error (80048014): Error reading PDF file\n\nFile: C:\\a.pdf");
    // OneNote's own codes read as OneNote's texts.
    EXPECT_EQ(MakeHResultError(static_cast<HRESULT>(0x80042014)).message(),
              "External Error (80042014): The object does not exist.");
    const std::string system = MakeHResultError(E_ACCESSDENIED).message();
    EXPECT_EQ(system.rfind("External Error (80070005): ", 0), 0u) << system;
    EXPECT_GT(system.size(), std::string("External Error (80070005): ").size());
}

TEST(ImportErrors, ContextsKeepTextBeyondAscii)
{
    const std::error_code error = MakeImportError(FileDoesNotExist, L"File: C:\\Caf\u00e9\\\u65e5\u672c.txt");
    EXPECT_EQ(GetErrorText(error),
              L"Quillora Batch File Import Error (200): File or folder does not exist\n\nFile: C:\\Caf\u00e9\\\u65e5\u672c.txt");
}

TEST(ImportErrors, ValuesAreHandedOutInOrderWhateverTheCode)
{
    const std::error_code first = MakeImportError(ImportCancelled);
    const std::error_code second = MakeImportError(ImportCancelled);
    const std::error_code external = MakeHResultError(E_FAIL);
    const std::error_code externalAgain = MakeHResultError(E_FAIL);
    EXPECT_GE(first.value(), 1);
    EXPECT_EQ(second.value(), first.value() + 1);
    EXPECT_EQ(externalAgain.value(), external.value() + 1);
    EXPECT_NE(first, second);
    EXPECT_NE(GetImportErrorCategory(), GetHResultErrorCategory());
}

TEST(ImportErrors, ValuesThatNameNoRecordAreUnknownErrors)
{
    const std::error_code last = MakeImportError(FileDoesNotExist);
    EXPECT_EQ(GetImportErrorCategory().message(0), "Unknown error");
    EXPECT_EQ(GetImportErrorCategory().message(-1), "Unknown error");
    EXPECT_EQ(GetImportErrorCategory().message(last.value() + 1000), "Unknown error");
    EXPECT_EQ(GetHResultErrorCategory().message(0), "Unknown error");
}

TEST(ImportErrors, WhichImportErrorIsReadFromTheRecordNotTheValue)
{
    const std::error_code cancelled = MakeImportError(ImportCancelled);
    EXPECT_TRUE(IsImportError(cancelled, ImportCancelled));
    EXPECT_FALSE(IsImportError(cancelled, FileDoesNotExist));
    // An external error whose record holds the same number is not an import error.
    EXPECT_FALSE(IsImportError(MakeHResultError(300), ImportCancelled));
    EXPECT_FALSE(IsImportError(std::error_code(cancelled.value(), std::generic_category()), ImportCancelled));
    const auto record = GetImportErrorCategory().Find(cancelled.value());
    ASSERT_TRUE(record);
    EXPECT_EQ(record->code, ImportCancelled);
    EXPECT_EQ(record->context, "");
}

TEST(ImportErrors, OneThreadAppendsWhileAnotherReadsMessages)
{
    std::atomic<int> newest = MakeImportError(FileDoesNotExist).value();
    std::atomic<bool> done = false;
    std::thread reader([&] {
        size_t checked = 0;
        do
        {
            const int value = newest.load();
            const std::string text = GetImportErrorCategory().message(value);
            if (text.rfind("Quillora Batch File Import Error (", 0) != 0)
                ADD_FAILURE() << text;
            ++checked;
        } while (!done);
        EXPECT_GT(checked, 0u);
    });
    for (int i = 0; i < 20000; ++i)
        newest = MakeImportError(FileDoesNotExist, "File: C:\\stress\\" + std::to_string(i)).value();
    done = true;
    reader.join();
    EXPECT_EQ(GetImportErrorCategory().message(newest),
              "Quillora Batch File Import Error (200): File or folder does not exist\n\nFile: C:\\stress\\19999");
}
} // namespace
