#include "import_engine/AttemptRollback.h"

AttemptRollback::AttemptRollback(const Target& target) : page_(target.page), outline_(target.referenceOutline)
{
    if (page_)
    {
        elementCount_ = page_->elements.size();
        if (elementCount_ > 0)
            lastElement_ = page_->elements.back();
    }
    if (outline_)
    {
        blockCount_ = outline_->children.size();
        if (blockCount_ > 0)
            lastBlock_ = outline_->children.back();
        if (lastBlock_)
            lastBlockLines_ = lastBlock_->children.size();
    }
}

bool AttemptRollback::Restore() const
{
    if (!page_)
        return true;
    auto& elements = page_->elements;
    // Reading the page back replaces every element object.
    if (elements.size() < elementCount_ || (elementCount_ > 0 && elements[elementCount_ - 1] != lastElement_))
        return false;
    elements.resize(elementCount_);
    if (outline_ && outline_->children.size() >= blockCount_)
    {
        outline_->children.resize(blockCount_);
        if (lastBlock_ && lastBlock_->children.size() >= lastBlockLines_)
            lastBlock_->children.resize(lastBlockLines_);
    }
    return true;
}
