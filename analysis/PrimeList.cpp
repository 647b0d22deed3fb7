#include "PrimeList.h"

#include <algorithm>

#include "Errors.h"

namespace quillomar {

int32_t TPrimeList::Items(int32_t aIndex) const {
    if (aIndex < 0 || aIndex >= Count()) throw EArgumentOutOfRangeException();
    return fItems[static_cast<size_t>(aIndex)];
}

int32_t TPrimeList::Add(int32_t aValue) {
    fItems.push_back(aValue);
    return Count() - 1;
}

int32_t TPrimeList::IndexOf(int32_t aValue) const noexcept {
    auto lIt = std::find(fItems.begin(), fItems.end(), aValue);
    return lIt == fItems.end() ? -1 : static_cast<int32_t>(lIt - fItems.begin());
}

}  // namespace quillomar
