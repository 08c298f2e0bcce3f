#pragma once
// The Word and PowerPoint stand-ins: one application object per product and process (as both
// programs run once per user), their open documents, and what tests steer and read.
//
// Besides the members the programs call, each application object has five for tests:
//   StandInReset()                      closes everything and forgets calls and failures
//   StandInFail(member, hresult)        makes every later call of member fail with hresult
//                                       (S_OK: every later call succeeds again)
//   StandInOpenAsUser(path)             opens a document as if the user had opened it; a file
//                                       open already gives its document, as Office does
//   StandInTypeAsUser(path)             changes the open document of the file as the user's typing
//                                       would: its Saved becomes false
//   StandInCalls()                      the calls made so far, one line each:
//                                       member(argument, ...), arguments as "text", TRUE/FALSE,
//                                       numbers, missing or null
//
// Word's ExportAsFixedFormat updates the fields of a document that holds any ("w:fldSimple" or
// "w:instrText" in its file), which leaves the document with changes that are not saved, as Word does.

#include <windows.h>
#include <oaidl.h>

namespace OfficeStandIn
{
enum class Product
{
    Word,
    PowerPoint,
};

// A new reference to the product's application object.
IDispatch* GetApplication(Product product);

// The product's class and interfaces.
struct ProductIds
{
    CLSID applicationClass;
    IID application;
    IID collection;
    IID document;
};
const ProductIds& IdsOf(Product product);
} // namespace OfficeStandIn
