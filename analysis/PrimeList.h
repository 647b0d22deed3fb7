// An ordered, growable list of 32-bit signed integers: the prime list and
// the result lists of the sibling search.
#pragma once

#include <cstdint>
#include <vector>

namespace quillomar {

class TPrimeList {
public:
    int32_t Count() const noexcept { return static_cast<int32_t>(fItems.size()); }

    // Entry aIndex, counted from 0; EArgumentOutOfRangeException outside.
    int32_t Items(int32_t aIndex) const;
    int32_t operator[](int32_t aIndex) const { return Items(aIndex); }

    // Appends aValue and returns its index; duplicates are kept.
    int32_t Add(int32_t aValue);

    // The smallest index holding aValue, -1 when absent.
    int32_t IndexOf(int32_t aValue) const noexcept;

    std::vector<int32_t>::const_iterator begin() const noexcept { return fItems.begin(); }
    std::vector<int32_t>::const_iterator end() const noexcept { return fItems.end(); }

    // Contiguous view of the entries, for the hot loops.
    const int32_t* Data() const noexcept { return fItems.data(); }

private:
    std::vector<int32_t> fItems;
};

}  // namespace quillomar
