#pragma once
// A retried entry must not be imported twice: what a failed attempt added to the page in memory is
// taken away again before the next attempt.

#include "import_engine/Target.h"

#include <cstddef>
#include <memory>

class AttemptRollback
{
public:
    // Notes how far the target's page and collecting outline are filled.
    explicit AttemptRollback(const Target& target);

    // Removes what was added to them since. False when the page was saved and read back in the
    // meantime: what OneNote already has stays there.
    bool Restore() const;

private:
    std::shared_ptr<ON::Page> page_;
    size_t elementCount_ = 0;
    std::shared_ptr<ON::PageElement> lastElement_;
    std::shared_ptr<ON::Outline> outline_;
    size_t blockCount_ = 0;
    std::shared_ptr<ON::OEChildren> lastBlock_;
    size_t lastBlockLines_ = 0;
};
