#pragma once
// The OneNote document model: one class per element of OneNote's page and hierarchy XML, all in
// namespace ON, each reading and writing itself through the XML element binding.
//
// How to write an element class here
// ----------------------------------
// 1. Derive from XmlElement<X> (framework/xml/XmlElement.h), or from XmlElement<X, T_Type> when
//    the schema gives the element a named type (ON::T_TextRange, ON::T_FilePath); the T_ class
//    holds the fields and the table that all its elements share.
// 2. Name it with ON::OneNoteName(L"Element"): the prefix "one" and the 2013 namespace. Nothing
//    else is needed for the namespace; the writer declares it once, on the outermost element.
// 3. Fields in schema order, with their defaults as initialisers:
//      attribute with a default       plain value               Attribute(L"a", &X::a, default)
//      optional attribute             std::optional<V>          Attribute(L"a", &X::a)
//      required attribute             plain value               Attribute(L"a", &X::a)
//      attribute group                ON::TextAttributes etc.   Group(&X::textAttributes)
//      page-object part               ON::PageObject(Tagable)   Group(&X::tagable)
//      optional child                 std::shared_ptr<C>        Optional(&X::child)
//      child always written           C by value                Required(&X::child)
//      repeated child                 Collection<C>             List(&X::children)
//      schema choice, single          record of shared_ptrs     Group(&X::choice)
//      schema choice, repeated        Collection<H> (H a ChoiceHolder)   ChoiceList(&X::holders)
//      text content                   std::wstring              Text(&X::text)
//    Values are V = std::wstring, bool, std::uint32_t, std::int32_t, double, float, SYSTEMTIME,
//    Color, GUID (registry form, upper case; ON::TextToGuid reads only that form).
// 4. One static constexpr Schema() lists the entries in the order the element writes them:
//    usually its own attributes, then its groups, then children in schema order. Reading matches
//    children in the same order: a list stays open until a later entry takes an element.
//    Records held by value (groups, choices) have a Schema() of their own and no element name.
//    An element read from OneNote keeps a child that comes after its run was closed: build such
//    a table with ON::KeepingLateChildren(...) instead of Xml::Schema(...) (LateChildren.h), and
//    its groups' tables too when they hold lists.
// 5. A public default constructor that gives every default (elements are made with make_shared
//    by lists and readers), and for elements the import engine builds, a constructor taking every
//    value, group and child in field order.
// 6. No reader code and no writer code: the table is both. Tests round-trip each element and
//    validate what they write against OneNote's published schema.

#include "onenote_model/AttributeGroups.h"
#include "onenote_model/OneNoteElement.h"
#include "onenote_model/PageObjectParts.h"
#include "onenote_model/TextRuns.h"
#include "onenote_model/Lists.h"
#include "onenote_model/InkAndMedia.h"
#include "onenote_model/Images.h"
#include "onenote_model/HtmlBlocks.h"
#include "onenote_model/LinkedNotes.h"
#include "onenote_model/OutlineElements.h"
#include "onenote_model/Tables.h"
#include "onenote_model/Titles.h"
#include "onenote_model/PageSettings.h"
#include "onenote_model/PageDefinitions.h"
#include "onenote_model/PageObjects.h"
#include "onenote_model/Page.h"
#include "onenote_model/Hierarchy.h"
