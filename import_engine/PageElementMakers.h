#pragma once
// Small makers with which the importers put new objects on the page being filled.

#include "onenote_model/Page.h"

#include <cstdint>
#include <memory>

std::shared_ptr<ON::Position> MakePosition();
std::shared_ptr<ON::Position> MakePosition(int32_t x, double y);
std::shared_ptr<ON::Position> MakePosition(double x, double y);

// A holder with the object shared into it; an empty pointer gives an empty holder.
std::shared_ptr<ON::PageElement> MakePageElement(const std::shared_ptr<ON::Outline>& outline);
std::shared_ptr<ON::PageElement> MakePageElement(const std::shared_ptr<ON::Image>& image);
std::shared_ptr<ON::PageElement> MakePageElement(const std::shared_ptr<ON::InsertedFile>& file);

// The two ancestor links the reader would have given the element.
template <typename X, typename P>
void LinkTo(X& element, const P& parent, const ElementNode& nearest, const wchar_t* nearestName)
{
    element.parentLink = ElementLink{&parent, P::Name.localName.data()};
    element.secondLink = ElementLink{&nearest, nearestName};
}

// Appends the holder to the page's objects, linked to the page as the reader links what it reads;
// an empty holder is appended unlinked.
void AddPageElement(ON::Page& page, std::shared_ptr<ON::PageElement> element);
