#pragma once
// The stand-in's notebooks: notebooks, section groups, sections (with each notebook's recycle bin
// and its deleted pages section) and pages with their content, kept as one XML file in a folder
// (QUILLORA_ONENOTE_STORE, default a folder in the user profile), so that what one process
// stores the next one sees. Every operation runs under a lock shared by all processes and reads
// the file again when another process has changed it.
//
// One face, several files: the files and the lock (StoreFile.cpp, StoreLock.h), what an operation
// changed and the journal's records (StoreChanges.h, StoreJournal.h), IDs and times
// (StoreIds.cpp), schemas (StoreSchema.cpp), the hierarchy (StoreHierarchy.cpp), page content
// (StorePages.cpp), links and navigation (StoreLinks.cpp), search (StoreSearch.cpp), and what
// they share (StoreTree.h).

#include "standins/onenote/StoreChanges.h"
#include "standins/onenote/StoreLock.h"
#include "standins/onenote/Xml.h"

#include <windows.h>
#include <oaidl.h>

#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace StandIn
{
// OneNote's error codes that the stand-in answers with.
namespace OneNoteError
{
inline constexpr HRESULT NotWellFormed = static_cast<HRESULT>(0x80042000);
inline constexpr HRESULT InvalidXml = static_cast<HRESULT>(0x80042001);
inline constexpr HRESULT SectionDoesNotExist = static_cast<HRESULT>(0x80042004);
inline constexpr HRESULT PageDoesNotExist = static_cast<HRESULT>(0x80042005);
inline constexpr HRESULT FileDoesNotExist = static_cast<HRESULT>(0x80042006);
inline constexpr HRESULT PageObjectDoesNotExist = static_cast<HRESULT>(0x8004200E);
inline constexpr HRESULT LastModifiedDateDoesNotMatch = static_cast<HRESULT>(0x80042010);
inline constexpr HRESULT SectionGroupDoesNotExist = static_cast<HRESULT>(0x80042011);
inline constexpr HRESULT ObjectDoesNotExist = static_cast<HRESULT>(0x80042014);
inline constexpr HRESULT NotebookDoesNotExist = static_cast<HRESULT>(0x80042015);
inline constexpr HRESULT InvalidName = static_cast<HRESULT>(0x80042017);
inline constexpr HRESULT InvalidQuery = static_cast<HRESULT>(0x80042019);
inline constexpr HRESULT FileAlreadyExists = static_cast<HRESULT>(0x8004201A);
inline constexpr HRESULT InvalidSchema = static_cast<HRESULT>(0x80042020);
} // namespace OneNoteError

// What OneNote's window shows.
struct CurrentView
{
    std::wstring notebookId;
    std::wstring sectionGroupId;
    std::wstring sectionId;
    std::wstring pageId;
};

// The text of a page, for publishing and searching.
struct PageText
{
    std::wstring title;
    std::vector<std::wstring> lines;
};

class Store
{
public:
    // The store of the folder that the environment names now (one object per folder).
    static Store& Current();
    static std::wstring CurrentFolder();

    explicit Store(std::wstring folder);
    // Writes the store file whole when this process changed the store since it was last written.
    ~Store();
    Store(const Store&) = delete;
    Store& operator=(const Store&) = delete;

    HRESULT GetHierarchy(const std::wstring& startId, LONG scope, LONG schema, std::wstring& xml);
    HRESULT UpdateHierarchy(const std::wstring& xml, LONG schema);
    HRESULT DeleteHierarchy(const std::wstring& id, DATE expected, bool permanently);
    HRESULT CreateNewPage(const std::wstring& sectionId, LONG style, std::wstring& pageId);
    HRESULT GetHierarchyParent(const std::wstring& id, std::wstring& parentId);
    HRESULT GetPageContent(const std::wstring& pageId, LONG info, LONG schema, std::wstring& xml);
    HRESULT GetBinaryPageContent(const std::wstring& pageId, const std::wstring& callbackId, std::wstring& base64);
    HRESULT UpdatePageContent(const std::wstring& xml, DATE expected, LONG schema, bool force);
    HRESULT DeletePageContent(const std::wstring& pageId, const std::wstring& objectId);
    HRESULT NavigateTo(const std::wstring& hierarchyId, const std::wstring& objectId);
    HRESULT NavigateToUrl(const std::wstring& url);
    HRESULT GetHyperlinkToObject(const std::wstring& hierarchyId, const std::wstring& objectId, std::wstring& link);
    HRESULT FindPages(const std::wstring& startId, const std::wstring& query, LONG schema, std::wstring& xml);
    HRESULT GetPageText(const std::wstring& pageId, PageText& text);
    HRESULT GetSpecialLocation(LONG which, std::wstring& path);
    HRESULT GetCurrentView(CurrentView& view);
    // The current view, or an empty one when the store cannot be read.
    CurrentView GetCurrentView();
    // Whether an object with this ID exists (of any kind).
    bool Exists(const std::wstring& id);
    // The kind of an object: "Notebook", "SectionGroup", "Section", "Page", or empty when there is
    // none; fails only when the store cannot be read.
    HRESULT KindOf(const std::wstring& id, std::wstring& kind);
    // The kind of an object, or empty (also when the store cannot be read).
    std::wstring KindOf(const std::wstring& id);
    // A copy of the whole hierarchy (2013 names, pages without content), for the filing dialog.
    XNodePtr Snapshot();

    // Replaces the whole store (the scenario's starting store, the demo store).
    void Replace(const XNodePtr& root);

private:
    using Operation = std::function<HRESULT(XNode& root, bool& changed)>;
    // Runs the operation under the lock on the current tree; records what it changed when it
    // reports a change. When the lock cannot be had the operation does not run: the call fails with
    // StoreLockTimedOut (or the system's error) and an IErrorInfo that says why.
    HRESULT Run(const Operation& operation);
    // Run for an operation that only reads: nothing is watched for changes.
    HRESULT Inspect(const Operation& operation);
    HRESULT Locked(const Operation& operation, bool watch);
    // For UpdateHierarchy, which finds sections and section groups by name: everything below the
    // object the received XML starts at may change.
    void WatchTarget(const XNode& received);
    // For DeleteHierarchy: the notebook of the object found, its recycle bin among them.
    void WatchNotebookOf(const StoreTree::Found& found);

    // Takes in the files as other processes left them (the tree in memory stays when they hold
    // nothing it lacks).
    void Sync();
    // Whether the tree in memory is what the file holds: it was read or written as it is, or another
    // process wrote it from the same tree.
    bool HoldsFile(const WIN32_FILE_ATTRIBUTE_DATA& file);
    void LoadSnapshot(const WIN32_FILE_ATTRIBUTE_DATA& file);
    // Replays what others appended to the journal; false when the journal no longer holds what was
    // read of it, and the file must be read again.
    bool CatchUp();
    // The tree changed in ways no change tells: it becomes a new generation, written whole.
    void Rewrite();
    void Append(const std::vector<StoreChange>& changes);
    void WriteSnapshot();

    std::wstring folder_;
    std::wstring file_;
    std::wstring journalFile_;
    StoreLock lock_;
    std::mutex threadLock_;
    XNodePtr root_;
    StoreChanges changes_;
    // The store file the tree was read from or written as: its size and time.
    ULONGLONG snapshotSize_ = 0;
    FILETIME snapshotTime_{};
    // Which trees the files and this process hold: a lineage (one per whole store started) and the
    // number of changes since it started; the file is of snapshotGeneration_.
    std::wstring lineage_;
    unsigned long long generation_ = 0;
    unsigned long long snapshotGeneration_ = 0;
    // How much of the journal is read (0: none, nor its first line); whether it continues the file.
    ULONGLONG journalRead_ = 0;
    bool journalCurrent_ = false;
};

// Schema of an XMLSchema argument: its namespace and XSD file, or false for an unknown value.
bool SchemaFor(LONG schema, std::wstring& ns, std::wstring& xsdFile);
// The XML of a hierarchy or page tree in the given schema (2013 names converted for 2010).
std::wstring WriteForSchema(const XNode& root, LONG schema);
// Time values in OneNote's form ("2026-12-08T19:45:00.000Z").
std::wstring XmlTimeNow();
std::wstring XmlTime(const SYSTEMTIME& utc);
std::wstring NewHierarchyId();
std::wstring NewPageId();
std::wstring NewObjectId();
std::wstring Environment(const wchar_t* name);
} // namespace StandIn
