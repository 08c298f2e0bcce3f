#pragma once
// Mutations of a document's text as bytes: a piece cut out, the text cut off, a piece copied
// elsewhere, two pieces swapped, or characters replaced by ones that matter to XML. Pieces often
// start at a "<", so that whole tags and elements move. Most results are no longer well-formed:
// they try the reader's robustness.

#include <random>
#include <string>

class ByteMutator
{
public:
    explicit ByteMutator(std::mt19937& random) : random_(random) {}

    std::wstring Mutate(std::wstring text);

private:
    int Below(int n);
    size_t Start(const std::wstring& text);
    size_t Length();

    std::mt19937& random_;
};
