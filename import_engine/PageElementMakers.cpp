#include "import_engine/PageElementMakers.h"

std::shared_ptr<ON::Position> MakePosition() { return std::make_shared<ON::Position>(0.0, 0.0); }

std::shared_ptr<ON::Position> MakePosition(int32_t x, double y)
{
    return std::make_shared<ON::Position>(static_cast<double>(x), y);
}

std::shared_ptr<ON::Position> MakePosition(double x, double y) { return std::make_shared<ON::Position>(x, y); }

std::shared_ptr<ON::PageElement> MakePageElement(const std::shared_ptr<ON::Outline>& outline)
{
    return std::make_shared<ON::PageElement>(outline);
}

std::shared_ptr<ON::PageElement> MakePageElement(const std::shared_ptr<ON::Image>& image)
{
    return std::make_shared<ON::PageElement>(image);
}

std::shared_ptr<ON::PageElement> MakePageElement(const std::shared_ptr<ON::InsertedFile>& file)
{
    return std::make_shared<ON::PageElement>(file);
}

void AddPageElement(ON::Page& page, std::shared_ptr<ON::PageElement> element)
{
    auto& added = page.elements.emplace_back(std::move(element));
    if (!added)
        return;
    added->parentLink = ElementLink{&page, ON::Page::Name.localName.data()};
    added->secondLink = added->parentLink;
    added->parentList = &page.elements;
}
