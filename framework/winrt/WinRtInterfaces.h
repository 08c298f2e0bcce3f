#pragma once
// The Windows Runtime interfaces of PDF rendering and file storage, declared here because mingw's
// headers lack most of them (and its windows.foundation.h does not compile as C++). Members are
// in vtable order; slots nobody here calls are declared as placeholders so that later slots keep
// their place. Both the import engine and the test stand-ins use these declarations.

#include <windows.h>
#include <inspectable.h>
#include <hstring.h>
#include <objbase.h>

#include <comdef.h>

#include <cstdint>

namespace WinRt
{
struct Size
{
    FLOAT Width;
    FLOAT Height;
};
struct Rect
{
    FLOAT X;
    FLOAT Y;
    FLOAT Width;
    FLOAT Height;
};
struct Color
{
    BYTE A;
    BYTE R;
    BYTE G;
    BYTE B;
};

enum class AsyncStatus : int32_t
{
    Started = 0,
    Completed = 1,
    Canceled = 2,
    Error = 3,
};

enum class FileAccessMode : int32_t
{
    Read = 0,
    ReadWrite = 1,
};

enum class CreationCollisionOption : int32_t
{
    GenerateUniqueName = 0,
    ReplaceExisting = 1,
    FailIfExists = 2,
    OpenIfExists = 3,
};

// Failure codes of the asynchronous pattern that mingw's winerror.h does not define.
constexpr HRESULT IllegalStateChange = static_cast<HRESULT>(0x8000000D);
constexpr HRESULT IllegalMethodCall = static_cast<HRESULT>(0x8000000E);
constexpr HRESULT IllegalDelegateAssignment = static_cast<HRESULT>(0x80000018);
// What a wait on a cancelled operation reports.
constexpr HRESULT OperationCancelled = static_cast<HRESULT>(0x800704C7);
// A PDF that needs a password was given none, or a wrong one.
constexpr HRESULT WrongPassword = static_cast<HRESULT>(0x8007052B);

struct IAsyncInfo : IInspectable
{
    virtual HRESULT STDMETHODCALLTYPE get_Id(UINT32* id) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Status(AsyncStatus* status) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ErrorCode(HRESULT* errorCode) = 0;
    virtual HRESULT STDMETHODCALLTYPE Cancel() = 0;
    virtual HRESULT STDMETHODCALLTYPE Close() = 0;
};

struct IAsyncAction;
struct IAsyncActionCompletedHandler : IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE Invoke(IAsyncAction* asyncInfo, AsyncStatus status) = 0;
};
struct IAsyncAction : IInspectable
{
    virtual HRESULT STDMETHODCALLTYPE put_Completed(IAsyncActionCompletedHandler* handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Completed(IAsyncActionCompletedHandler** handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetResults() = 0;
};

// IAsyncOperation<T> and its completion handler; Result is T's ABI form (an interface pointer).
template <typename Result>
struct IAsyncOperation;
template <typename Result>
struct IAsyncOperationCompletedHandler : IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE Invoke(IAsyncOperation<Result>* asyncInfo, AsyncStatus status) = 0;
};
template <typename Result>
struct IAsyncOperation : IInspectable
{
    using ResultType = Result;
    using Handler = IAsyncOperationCompletedHandler<Result>;
    virtual HRESULT STDMETHODCALLTYPE put_Completed(Handler* handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Completed(Handler** handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetResults(Result* results) = 0;
};

// IAsyncOperationWithProgress<Result, Progress>, as IOutputStream::WriteAsync answers.
template <typename Result, typename Progress>
struct IAsyncOperationWithProgress;
template <typename Result, typename Progress>
struct IAsyncOperationProgressHandler : IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE Invoke(IAsyncOperationWithProgress<Result, Progress>* asyncInfo,
                                             Progress progress) = 0;
};
template <typename Result, typename Progress>
struct IAsyncOperationWithProgressCompletedHandler : IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE Invoke(IAsyncOperationWithProgress<Result, Progress>* asyncInfo,
                                             AsyncStatus status) = 0;
};
template <typename Result, typename Progress>
struct IAsyncOperationWithProgress : IInspectable
{
    using ResultType = Result;
    using Handler = IAsyncOperationWithProgressCompletedHandler<Result, Progress>;
    virtual HRESULT STDMETHODCALLTYPE put_Progress(IAsyncOperationProgressHandler<Result, Progress>* handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Progress(IAsyncOperationProgressHandler<Result, Progress>** handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Completed(Handler* handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Completed(Handler** handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetResults(Result* results) = 0;
};

struct IClosable : IInspectable
{
    virtual HRESULT STDMETHODCALLTYPE Close() = 0;
};

struct IBuffer : IInspectable
{
    virtual HRESULT STDMETHODCALLTYPE get_Capacity(UINT32* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Length(UINT32* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Length(UINT32 value) = 0;
};
// A COM interface (not IInspectable) that hands out a buffer's bytes.
struct IBufferByteAccess : IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE Buffer(BYTE** value) = 0;
};

using IWriteOperation = IAsyncOperationWithProgress<UINT32, UINT32>;
using IWriteOperationCompletedHandler = IAsyncOperationWithProgressCompletedHandler<UINT32, UINT32>;
using IWriteOperationProgressHandler = IAsyncOperationProgressHandler<UINT32, UINT32>;
using IFlushOperation = IAsyncOperation<boolean>;
using IFlushOperationCompletedHandler = IAsyncOperationCompletedHandler<boolean>;

struct IInputStream : IInspectable
{
    // ReadAsync(IBuffer*, UINT32, InputStreamOptions, IAsyncOperationWithProgress<IBuffer*, UINT32>**)
    virtual HRESULT STDMETHODCALLTYPE ReadAsync(IBuffer* buffer, UINT32 count, UINT32 options, IInspectable** operation) = 0;
};
struct IOutputStream : IInspectable
{
    virtual HRESULT STDMETHODCALLTYPE WriteAsync(IBuffer* buffer, IWriteOperation** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE FlushAsync(IFlushOperation** operation) = 0;
};
struct IRandomAccessStream : IInspectable
{
    virtual HRESULT STDMETHODCALLTYPE get_Size(UINT64* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Size(UINT64 value) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetInputStreamAt(UINT64 position, IInputStream** stream) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetOutputStreamAt(UINT64 position, IOutputStream** stream) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Position(UINT64* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE Seek(UINT64 position) = 0;
    virtual HRESULT STDMETHODCALLTYPE CloneStream(IRandomAccessStream** stream) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CanRead(boolean* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CanWrite(boolean* value) = 0;
};

struct IStorageFile;
struct IStorageFolder;
using IStorageFileOperation = IAsyncOperation<IStorageFile*>;
using IStorageFolderOperation = IAsyncOperation<IStorageFolder*>;
using IStreamOperation = IAsyncOperation<IRandomAccessStream*>;

struct IStorageItem : IInspectable
{
    virtual HRESULT STDMETHODCALLTYPE RenameAsyncOverloadDefaultOptions(HSTRING desiredName, IAsyncAction** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE RenameAsync(HSTRING desiredName, int32_t option, IAsyncAction** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE DeleteAsyncOverloadDefaultOptions(IAsyncAction** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE DeleteAsync(int32_t option, IAsyncAction** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetBasicPropertiesAsync(IInspectable** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Name(HSTRING* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Path(HSTRING* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Attributes(UINT32* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_DateCreated(INT64* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE IsOfType(UINT32 type, boolean* value) = 0;
};

struct IStorageFile : IInspectable
{
    virtual HRESULT STDMETHODCALLTYPE get_FileType(HSTRING* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ContentType(HSTRING* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE OpenAsync(FileAccessMode accessMode, IStreamOperation** operation) = 0;
    // Slots 9 to 17 (transacted writes, copy, move) are not used here.
    virtual HRESULT STDMETHODCALLTYPE OpenTransactedWriteAsync(IInspectable** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE CopyOverloadDefaultNameAndOptions(IStorageFolder* folder, IStorageFileOperation** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE CopyOverloadDefaultOptions(IStorageFolder* folder, HSTRING name, IStorageFileOperation** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE CopyOverload(IStorageFolder* folder, HSTRING name, int32_t option, IStorageFileOperation** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE CopyAndReplaceAsync(IStorageFile* fileToReplace, IAsyncAction** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE MoveOverloadDefaultNameAndOptions(IStorageFolder* folder, IAsyncAction** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE MoveOverloadDefaultOptions(IStorageFolder* folder, HSTRING name, IAsyncAction** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE MoveOverload(IStorageFolder* folder, HSTRING name, int32_t option, IAsyncAction** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE MoveAndReplaceAsync(IStorageFile* fileToReplace, IAsyncAction** operation) = 0;
};

struct IStorageFolder : IInspectable
{
    virtual HRESULT STDMETHODCALLTYPE CreateFileAsyncOverloadDefaultOptions(HSTRING desiredName, IStorageFileOperation** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateFileAsync(HSTRING desiredName, CreationCollisionOption options, IStorageFileOperation** operation) = 0;
    // Slots 8 to 15 (folders, lookups, listings) are not used here.
    virtual HRESULT STDMETHODCALLTYPE CreateFolderAsyncOverloadDefaultOptions(HSTRING desiredName, IStorageFolderOperation** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateFolderAsync(HSTRING desiredName, CreationCollisionOption options, IStorageFolderOperation** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFileAsync(HSTRING name, IStorageFileOperation** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFolderAsync(HSTRING name, IStorageFolderOperation** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetItemAsync(HSTRING name, IInspectable** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFilesAsyncOverloadDefaultOptionsStartAndCount(IInspectable** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFoldersAsyncOverloadDefaultOptionsStartAndCount(IInspectable** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetItemsAsyncOverloadDefaultStartAndCount(IInspectable** operation) = 0;
};

struct IStorageFileStatics : IInspectable
{
    virtual HRESULT STDMETHODCALLTYPE GetFileFromPathAsync(HSTRING path, IStorageFileOperation** operation) = 0;
    // Slots 7 to 11 (application URIs, streamed files) are not used here.
    virtual HRESULT STDMETHODCALLTYPE GetFileFromApplicationUriAsync(IInspectable* uri, IStorageFileOperation** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateStreamedFileAsync(HSTRING name, IUnknown* dataRequested, IInspectable* thumbnail, IStorageFileOperation** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE ReplaceWithStreamedFileAsync(IStorageFile* file, IUnknown* dataRequested, IInspectable* thumbnail, IStorageFileOperation** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateStreamedFileFromUriAsync(HSTRING name, IInspectable* uri, IInspectable* thumbnail, IStorageFileOperation** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE ReplaceWithStreamedFileFromUriAsync(IStorageFile* file, IInspectable* uri, IInspectable* thumbnail, IStorageFileOperation** operation) = 0;
};

struct IStorageFolderStatics : IInspectable
{
    virtual HRESULT STDMETHODCALLTYPE GetFolderFromPathAsync(HSTRING path, IStorageFolderOperation** operation) = 0;
};

struct IPdfPageRenderOptions : IInspectable
{
    virtual HRESULT STDMETHODCALLTYPE get_SourceRect(Rect* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_SourceRect(Rect value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_DestinationWidth(UINT32* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_DestinationWidth(UINT32 value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_DestinationHeight(UINT32* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_DestinationHeight(UINT32 value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_BackgroundColor(Color* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_BackgroundColor(Color value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsIgnoringHighContrast(boolean* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_IsIgnoringHighContrast(boolean value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_BitmapEncoderId(GUID* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_BitmapEncoderId(GUID value) = 0;
};

struct IPdfPage : IInspectable
{
    virtual HRESULT STDMETHODCALLTYPE RenderToStreamAsync(IRandomAccessStream* outputStream, IAsyncAction** asyncInfo) = 0;
    virtual HRESULT STDMETHODCALLTYPE RenderWithOptionsToStreamAsync(IRandomAccessStream* outputStream,
                                                                     IPdfPageRenderOptions* options,
                                                                     IAsyncAction** asyncInfo) = 0;
    virtual HRESULT STDMETHODCALLTYPE PreparePageAsync(IAsyncAction** asyncInfo) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Index(UINT32* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Size(Size* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Dimensions(IInspectable** value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Rotation(int32_t* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_PreferredZoom(FLOAT* value) = 0;
};

struct IPdfDocument : IInspectable
{
    virtual HRESULT STDMETHODCALLTYPE GetPage(UINT32 pageIndex, IPdfPage** page) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_PageCount(UINT32* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsPasswordProtected(boolean* value) = 0;
};
using IPdfDocumentOperation = IAsyncOperation<IPdfDocument*>;

struct IPdfDocumentStatics : IInspectable
{
    virtual HRESULT STDMETHODCALLTYPE LoadFromFileAsync(IStorageFile* file, IPdfDocumentOperation** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE LoadFromFileWithPasswordAsync(IStorageFile* file, HSTRING password,
                                                                    IPdfDocumentOperation** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE LoadFromStreamAsync(IRandomAccessStream* stream, IPdfDocumentOperation** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE LoadFromStreamWithPasswordAsync(IRandomAccessStream* stream, HSTRING password,
                                                                      IPdfDocumentOperation** operation) = 0;
};

struct IActivationFactory : IInspectable
{
    virtual HRESULT STDMETHODCALLTYPE ActivateInstance(IInspectable** instance) = 0;
};

// The runtime class names the programs activate.
inline constexpr const wchar_t* StorageFileClass = L"Windows.Storage.StorageFile";
inline constexpr const wchar_t* StorageFolderClass = L"Windows.Storage.StorageFolder";
inline constexpr const wchar_t* PdfDocumentClass = L"Windows.Data.Pdf.PdfDocument";
inline constexpr const wchar_t* PdfPageRenderOptionsClass = L"Windows.Data.Pdf.PdfPageRenderOptions";

// The encoder a render writes when none is chosen: PNG.
inline constexpr GUID PngEncoderId = {0x27949969, 0x876A, 0x41D7, {0x94, 0x47, 0x56, 0x8F, 0x6A, 0x35, 0xA4, 0xDC}};

template <typename I>
using ComPtr = _com_ptr_t<_com_IIID<I, &__uuidof(I)>>;
} // namespace WinRt

// clang-format off
__CRT_UUID_DECL(WinRt::IAsyncInfo, 0x00000036, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46)
__CRT_UUID_DECL(WinRt::IAsyncAction, 0x5A648006, 0x843A, 0x4DA9, 0x86, 0x5B, 0x9D, 0x26, 0xE5, 0xDF, 0xAD, 0x7B)
__CRT_UUID_DECL(WinRt::IAsyncActionCompletedHandler, 0xA4ED5C81, 0x76C9, 0x40BD, 0x8B, 0xE6, 0xB1, 0xD9, 0x0F, 0xB2, 0x0A, 0xE7)
__CRT_UUID_DECL(WinRt::IClosable, 0x30D5A829, 0x7FA4, 0x4026, 0x83, 0xBB, 0xD7, 0x5B, 0xAE, 0x4E, 0xA9, 0x9E)
__CRT_UUID_DECL(WinRt::IBuffer, 0x905A0FE0, 0xBC53, 0x11DF, 0x8C, 0x49, 0x00, 0x1E, 0x4F, 0xC6, 0x86, 0xDA)
__CRT_UUID_DECL(WinRt::IBufferByteAccess, 0x905A0FEF, 0xBC53, 0x11DF, 0x8C, 0x49, 0x00, 0x1E, 0x4F, 0xC6, 0x86, 0xDA)
__CRT_UUID_DECL(WinRt::IRandomAccessStream, 0x905A0FE1, 0xBC53, 0x11DF, 0x8C, 0x49, 0x00, 0x1E, 0x4F, 0xC6, 0x86, 0xDA)
__CRT_UUID_DECL(WinRt::IInputStream, 0x905A0FE2, 0xBC53, 0x11DF, 0x8C, 0x49, 0x00, 0x1E, 0x4F, 0xC6, 0x86, 0xDA)
__CRT_UUID_DECL(WinRt::IOutputStream, 0x905A0FE6, 0xBC53, 0x11DF, 0x8C, 0x49, 0x00, 0x1E, 0x4F, 0xC6, 0x86, 0xDA)
__CRT_UUID_DECL(WinRt::IWriteOperation, 0xECCB574A, 0xC684, 0x5572, 0xA6, 0x79, 0x6B, 0x08, 0x42, 0xCF, 0xB5, 0x7F)
__CRT_UUID_DECL(WinRt::IWriteOperationCompletedHandler, 0x1E466DC5, 0x840F, 0x54F9, 0xB8, 0x77, 0x5E, 0x3A, 0x9F, 0x4B, 0x6C, 0x74)
__CRT_UUID_DECL(WinRt::IWriteOperationProgressHandler, 0xEA0FE405, 0xD432, 0x5AC7, 0x9E, 0xF8, 0x5A, 0x65, 0xE1, 0xF9, 0x7D, 0x7E)
__CRT_UUID_DECL(WinRt::IFlushOperation, 0xCDB5EFB3, 0x5788, 0x509D, 0x9B, 0xE1, 0x71, 0xCC, 0xB8, 0xA3, 0x36, 0x2A)
__CRT_UUID_DECL(WinRt::IFlushOperationCompletedHandler, 0xC1D3D1A2, 0xAE17, 0x5A5F, 0xB5, 0xA2, 0xBD, 0xCC, 0x88, 0x44, 0x88, 0x9A)
__CRT_UUID_DECL(WinRt::IStorageItem, 0x4207A996, 0xCA2F, 0x42F7, 0xBD, 0xE8, 0x8B, 0x10, 0x45, 0x7A, 0x7F, 0x30)
__CRT_UUID_DECL(WinRt::IStorageFile, 0xFA3F6186, 0x4214, 0x428C, 0xA6, 0x4C, 0x14, 0xC9, 0xAC, 0x73, 0x15, 0xEA)
__CRT_UUID_DECL(WinRt::IStorageFolder, 0x72D1CB78, 0xB3EF, 0x4F75, 0xA8, 0x0B, 0x6F, 0xD9, 0xDA, 0xE2, 0x94, 0x4B)
__CRT_UUID_DECL(WinRt::IStorageFileStatics, 0x5984C710, 0xDAF2, 0x43C8, 0x8B, 0xB4, 0xA4, 0xD3, 0xEA, 0xCF, 0xD0, 0x3F)
__CRT_UUID_DECL(WinRt::IStorageFolderStatics, 0x08F327FF, 0x85D5, 0x48B9, 0xAE, 0xE9, 0x28, 0x51, 0x1E, 0x33, 0x9F, 0x9F)
__CRT_UUID_DECL(WinRt::IStorageFileOperation, 0x5E52F8CE, 0xACED, 0x5A42, 0x95, 0xB4, 0xF6, 0x74, 0xDD, 0x84, 0x88, 0x5E)
__CRT_UUID_DECL(WinRt::IStorageFileOperation::Handler, 0xE521C894, 0x2C26, 0x5946, 0x9E, 0x61, 0x2B, 0x5E, 0x18, 0x8D, 0x01, 0xED)
__CRT_UUID_DECL(WinRt::IStorageFolderOperation, 0x6BE9E7D7, 0xE83A, 0x5CBC, 0x80, 0x2C, 0x17, 0x68, 0x96, 0x0B, 0x52, 0xC3)
__CRT_UUID_DECL(WinRt::IStorageFolderOperation::Handler, 0xC211026E, 0x9E63, 0x5452, 0xBA, 0x54, 0x3A, 0x07, 0xD6, 0xA9, 0x68, 0x74)
__CRT_UUID_DECL(WinRt::IStreamOperation, 0x430ECECE, 0x1418, 0x5D19, 0x81, 0xB2, 0x5D, 0xDB, 0x38, 0x16, 0x03, 0xCC)
__CRT_UUID_DECL(WinRt::IStreamOperation::Handler, 0x398C4183, 0x793D, 0x5B00, 0x81, 0x9B, 0x4A, 0xEF, 0x92, 0x48, 0x5E, 0x94)
__CRT_UUID_DECL(WinRt::IPdfDocumentOperation, 0xD6B166EC, 0x099A, 0x5EE2, 0xAD, 0x2E, 0xF4, 0xC8, 0x86, 0x14, 0xAA, 0xBB)
__CRT_UUID_DECL(WinRt::IPdfDocumentOperation::Handler, 0x8D4950B3, 0x629D, 0x5D7D, 0x84, 0xCC, 0x04, 0xC0, 0xDC, 0xF7, 0x94, 0x2B)
__CRT_UUID_DECL(WinRt::IPdfDocumentStatics, 0x433A0B5F, 0xC007, 0x4788, 0x90, 0xF2, 0x08, 0x14, 0x3D, 0x92, 0x25, 0x99)
__CRT_UUID_DECL(WinRt::IPdfDocument, 0xAC7EBEDD, 0x80FA, 0x4089, 0x84, 0x6E, 0x81, 0xB7, 0x7F, 0xF5, 0xA8, 0x6C)
__CRT_UUID_DECL(WinRt::IPdfPage, 0x9DB4B0C8, 0x5320, 0x4CFC, 0xAD, 0x76, 0x49, 0x3F, 0xDA, 0xD0, 0xE5, 0x94)
__CRT_UUID_DECL(WinRt::IPdfPageRenderOptions, 0x3C98056F, 0xB7CF, 0x4C29, 0x9A, 0x04, 0x52, 0xD9, 0x02, 0x67, 0xF4, 0x25)
__CRT_UUID_DECL(WinRt::IActivationFactory, 0x00000035, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46)
// clang-format on
