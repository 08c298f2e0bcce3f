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

// Appends the holder to the page's objects, linked to the page as the reader links what it reads;
// an empty holder is appended unlinked.
void AddPageElement(ON::Page& page, std::shared_ptr<ON::PageElement> element);
