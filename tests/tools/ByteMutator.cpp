#include "tests/tools/ByteMutator.h"

#include <algorithm>
#include <iterator>

namespace
{
// Mutated documents stay below this size, so that a run's memory does not depend on its luck.
constexpr size_t LargestText = 400000;
} // namespace

std::wstring ByteMutator::Mutate(std::wstring text)
{
    const int rounds = 1 + Below(4);
    for (int round = 0; round < rounds && !text.empty(); ++round)
    {
        switch (Below(5))
        {
        case 0: text.erase(Start(text), Length()); break;
        case 1: text.resize(Start(text)); break;
        case 2: {
            const size_t from = Start(text);
            const std::wstring piece = text.substr(from, Length());
            text.insert(Start(text), piece);
            break;
        }
        case 3: {
            size_t a = Start(text);
            size_t b = Start(text);
            if (a > b)
                std::swap(a, b);
            const size_t lengthA = std::min(Length(), b - a);
            const std::wstring first = text.substr(a, lengthA);
            const std::wstring second = text.substr(b, Length());
            text.replace(b, second.size(), first);
            text.replace(a, first.size(), second);
            break;
        }
        default: {
            static const wchar_t noise[] = L"<>/&\"'=;#x0 \t\n\x01\xD800\xFFFF\x00E9{}-:one:OE Tage]]>![CDATA[";
            const int count = 1 + Below(8);
            for (int i = 0; i < count && !text.empty(); ++i)
                text[Below(static_cast<int>(text.size()))] = noise[Below(static_cast<int>(std::size(noise) - 1))];
            break;
        }
        }
        if (text.size() > LargestText)
            text.resize(LargestText);
    }
    return text;
}

int ByteMutator::Below(int n) { return n <= 0 ? 0 : std::uniform_int_distribution<int>(0, n - 1)(random_); }

size_t ByteMutator::Start(const std::wstring& text)
{
    size_t at = static_cast<size_t>(Below(static_cast<int>(text.size())));
    if (Below(3) > 0)
    {
        const size_t tag = text.rfind(L'<', at);
        at = tag == std::wstring::npos ? 0 : tag;
    }
    return at;
}

size_t ByteMutator::Length() { return static_cast<size_t>(Below(3) == 0 ? Below(16) : Below(1200)); }
