#pragma once
// A saved import configuration as it stands in "settings.xml": the element "Config" with its
// output mode and target location, its default import format, its printout options and the tree
// of files and folders. The choices are not exclusive here: every mode and location the file
// holds is kept and written back; the workspace conversion decides which one counts.

#include "framework/xml/XmlElement.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace Importer
{
// An existing page or section to insert into, by its OneNote link.
class T_ExistingLocation : public SchemaType
{
public:
    std::wstring at;
    static constexpr std::wstring T_ExistingLocation::*Link = &T_ExistingLocation::at;

    static constexpr auto Schema() { return Xml::Schema(Xml::Attribute(L"at", &T_ExistingLocation::at)); }

protected:
    T_ExistingLocation() = default;
    T_ExistingLocation(const T_ExistingLocation&) = default;
    T_ExistingLocation& operator=(const T_ExistingLocation&) = default;
    ~T_ExistingLocation() = default;
};

// Where a new page or section is created, by the OneNote link of its parent.
class T_NewLocation : public SchemaType
{
public:
    std::wstring under;
    static constexpr std::wstring T_NewLocation::*Link = &T_NewLocation::under;

    static constexpr auto Schema() { return Xml::Schema(Xml::Attribute(L"under", &T_NewLocation::under)); }

protected:
    T_NewLocation() = default;
    T_NewLocation(const T_NewLocation&) = default;
    T_NewLocation& operator=(const T_NewLocation&) = default;
    ~T_NewLocation() = default;
};

// An element X of type T_ExistingLocation or T_NewLocation under its own name, made from its link.
template <typename X, typename Type>
class Location : public XmlElement<X, Type>
{
public:
    Location() = default;
    explicit Location(std::wstring link) { this->*Type::Link = std::move(link); }

    static constexpr auto Schema() { return Type::Schema(); }
};

class ExistingLocation_UseExistingPage : public Location<ExistingLocation_UseExistingPage, T_ExistingLocation>
{
public:
    static constexpr ElementName Name{L"UseExistingPage"};
    using Location::Location;
};

class ExistingLocation_UseExistingSection : public Location<ExistingLocation_UseExistingSection, T_ExistingLocation>
{
public:
    static constexpr ElementName Name{L"UseExistingSection"};
    using Location::Location;
};

class NewLocation_CreateNewPage : public Location<NewLocation_CreateNewPage, T_NewLocation>
{
public:
    static constexpr ElementName Name{L"CreateNewPage"};
    using Location::Location;
};

class NewLocation_CreateNewSection : public Location<NewLocation_CreateNewSection, T_NewLocation>
{
public:
    static constexpr ElementName Name{L"CreateNewSection"};
    using Location::Location;
};

// One output mode with its target: an existing location, or one under which a new page or section
// is made. The three modes differ only in their names and in page or section.
template <typename X, typename Existing, typename New>
class OutputMode : public XmlElement<X>
{
public:
    using ExistingLocation = Existing;
    using NewLocation = New;

    std::shared_ptr<Existing> existing;
    std::shared_ptr<New> created;

    OutputMode() = default;
    OutputMode(std::shared_ptr<Existing> existing, std::shared_ptr<New> created)
        : existing(std::move(existing)), created(std::move(created))
    {
    }

    static constexpr auto Schema() { return Xml::Schema(Xml::Optional(&OutputMode::existing), Xml::Optional(&OutputMode::created)); }
};

class InsertAllFilesIntoASinglePage
    : public OutputMode<InsertAllFilesIntoASinglePage, ExistingLocation_UseExistingPage, NewLocation_CreateNewPage>
{
public:
    static constexpr ElementName Name{L"InsertAllFilesIntoASinglePage"};
    using OutputMode::OutputMode;
};

class InsertEachFileOnASeparatePage
    : public OutputMode<InsertEachFileOnASeparatePage, ExistingLocation_UseExistingSection, NewLocation_CreateNewSection>
{
public:
    static constexpr ElementName Name{L"InsertEachFileOnASeparatePage"};
    using OutputMode::OutputMode;
};

class InsertEachPrintoutPageOnASeparatePage
    : public OutputMode<InsertEachPrintoutPageOnASeparatePage, ExistingLocation_UseExistingSection,
                        NewLocation_CreateNewSection>
{
public:
    static constexpr ElementName Name{L"InsertEachPrintoutPageOnASeparatePage"};
    using OutputMode::OutputMode;
};

class OutputFormat : public XmlElement<OutputFormat>
{
public:
    static constexpr ElementName Name{L"OutputFormat"};

    std::shared_ptr<InsertAllFilesIntoASinglePage> singlePage;
    std::shared_ptr<InsertEachFileOnASeparatePage> pagePerFile;
    std::shared_ptr<InsertEachPrintoutPageOnASeparatePage> pagePerPrintoutPage;

    OutputFormat() = default;
    OutputFormat(std::shared_ptr<InsertAllFilesIntoASinglePage> singlePage,
                 std::shared_ptr<InsertEachFileOnASeparatePage> pagePerFile,
                 std::shared_ptr<InsertEachPrintoutPageOnASeparatePage> pagePerPrintoutPage)
        : singlePage(std::move(singlePage)), pagePerFile(std::move(pagePerFile)),
          pagePerPrintoutPage(std::move(pagePerPrintoutPage))
    {
    }
    OutputFormat(const OutputFormat&) = default;
    OutputFormat(OutputFormat&& other) noexcept
        : XmlElement(other), singlePage(std::move(other.singlePage)), pagePerFile(std::move(other.pagePerFile)),
          pagePerPrintoutPage(std::move(other.pagePerPrintoutPage))
    {
    }
    // Shares the modes of other; the element keeps its own place in its tree.
    OutputFormat& operator=(const OutputFormat&) = default;

    static constexpr auto Schema()
    {
        return Xml::Schema(Xml::Optional(&OutputFormat::singlePage), Xml::Optional(&OutputFormat::pagePerFile),
                           Xml::Optional(&OutputFormat::pagePerPrintoutPage));
    }
};

// What is inserted for a file: the file as an attachment, its content, and a reference to its
// path ("plainText" or "hyperlink"; any other text is kept but means none).
class T_ImportFormat : public SchemaType
{
public:
    bool fileAttachment = false;
    bool fileContent = false;
    std::optional<std::wstring> originalPath;

    static constexpr auto Schema()
    {
        using Xml::Attribute;
        using T = T_ImportFormat;
        return Xml::Schema(Attribute(L"fileAttachment", &T::fileAttachment, false),
                           Attribute(L"fileContent", &T::fileContent, false), Attribute(L"originalPath", &T::originalPath));
    }

protected:
    T_ImportFormat() = default;
    T_ImportFormat(const T_ImportFormat&) = default;
    T_ImportFormat& operator=(const T_ImportFormat&) = default;
    ~T_ImportFormat() = default;
};

// The import format of every entry of the configuration.
class ImportFormat_DefaultImportFormat : public XmlElement<ImportFormat_DefaultImportFormat, T_ImportFormat>
{
public:
    static constexpr ElementName Name{L"DefaultImportFormat"};

    static constexpr auto Schema() { return T_ImportFormat::Schema(); }
};

// An import format of one entry of its own; kept from the file, never used.
class ImportFormat : public XmlElement<ImportFormat, T_ImportFormat>
{
public:
    static constexpr ElementName Name{L"ImportFormat"};

    static constexpr auto Schema() { return T_ImportFormat::Schema(); }
};

class PrintoutOptions : public XmlElement<PrintoutOptions>
{
public:
    static constexpr ElementName Name{L"PrintoutOptions"};

    // Percent of 96 dots per inch.
    std::optional<std::uint32_t> scale;

    static constexpr auto Schema() { return Xml::Schema(Xml::Attribute(L"scale", &PrintoutOptions::scale)); }
};

class Entries;

// A file or folder by its full path; a folder's contents are its nested entries.
class Entry : public XmlElement<Entry>
{
public:
    static constexpr ElementName Name{L"Entry"};

    std::wstring path;
    std::shared_ptr<ImportFormat> importFormat;
    std::shared_ptr<Entries> entries;

    Entry() = default;
    Entry(std::wstring path, std::shared_ptr<ImportFormat> importFormat, std::shared_ptr<Entries> entries)
        : path(std::move(path)), importFormat(std::move(importFormat)), entries(std::move(entries))
    {
    }

    static constexpr auto Schema()
    {
        return Xml::Schema(Xml::Attribute(L"path", &Entry::path), Xml::Optional(&Entry::importFormat),
                           Xml::Optional(&Entry::entries));
    }
};

// A run of entries in list order. The run ends at the first element of another name among them:
// entries after it are not read.
class Entries : public XmlElement<Entries>
{
public:
    static constexpr ElementName Name{L"Entries"};

    Collection<Entry> entries;

    Entries() = default;
    explicit Entries(Collection<Entry> entries) : entries(std::move(entries)) { Adopt(); }
    Entries(const Entries&) = default;
    Entries& operator=(const Entries&) = default;
    // The entries learn the list they are in now.
    Entries(Entries&& other) noexcept : XmlElement(other), entries(std::move(other.entries)) { Adopt(); }
    Entries& operator=(Entries&& other) noexcept
    {
        XmlElement::operator=(other);
        entries = std::move(other.entries);
        Adopt();
        return *this;
    }

    std::shared_ptr<Entry>& AddNew() { return entries.AddNew(); }

    static constexpr auto Schema()
    {
        return Xml::Schema(Xml::List(&Entries::entries), Xml::AnyOtherElement<Entries>());
    }

private:
    void Adopt()
    {
        for (const std::shared_ptr<Entry>& entry : entries)
            if (entry)
                entry->parentList = &entries;
    }
};

class Config : public XmlElement<Config>
{
public:
    static constexpr ElementName Name{L"Config"};

    OutputFormat outputFormat;
    std::shared_ptr<ImportFormat_DefaultImportFormat> defaultImportFormat;
    PrintoutOptions printoutOptions;
    Entries entries;

    Config() = default;
    Config(OutputFormat outputFormat, std::shared_ptr<ImportFormat_DefaultImportFormat> defaultImportFormat,
           PrintoutOptions printoutOptions, Entries entries)
        : outputFormat(std::move(outputFormat)), defaultImportFormat(std::move(defaultImportFormat)),
          printoutOptions(std::move(printoutOptions)), entries(std::move(entries))
    {
    }

    static constexpr auto Schema()
    {
        return Xml::Schema(Xml::Required(&Config::outputFormat), Xml::Optional(&Config::defaultImportFormat),
                           Xml::Required(&Config::printoutOptions), Xml::Required(&Config::entries));
    }
};
} // namespace Importer
