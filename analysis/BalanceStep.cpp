#include "BalanceStep.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace quillomar {

void TBalanceStep::ExtendSlots(const TPrimeList& aPrimes, int32_t aCount) {
    // The list only grows and never changes an entry, so slots once made stay right.
    for (auto i = static_cast<int32_t>(fSlots.size()); i < aCount; ++i) {
        TSlot lSlot{};
        auto lResult = std::to_chars(lSlot.Text, lSlot.Text + sizeof lSlot.Text, aPrimes.Data()[i]);
        *lResult.ptr = ';';
        lSlot.Length = static_cast<uint8_t>(lResult.ptr + 1 - lSlot.Text);
        fSlots.push_back(lSlot);
    }
}

inline void TBalanceStep::AddValue(int32_t aIndex, const int32_t* aValues) {
    const int32_t p = aValues[aIndex];
    const TSlot& lSlot = fSlots[static_cast<size_t>(aIndex)];
    TBalanceRecord& r = fRecord;
    if (r.UpperValue <= r.LowerValue) {
        r.UpperValue += p;
        std::memcpy(fUpperEnd, &lSlot, sizeof lSlot);
        fUpperEnd += lSlot.Length;
        *fFlowEnd++ = '^';
        *fFlowSignEnd++ = r.UpperValue == r.LowerValue ? '=' : '-';
    } else {
        r.LowerValue += p;
        std::memcpy(fLowerEnd, &lSlot, sizeof lSlot);
        fLowerEnd += lSlot.Length;
        *fFlowEnd++ = 'v';
        *fFlowSignEnd++ = '+';
    }
    if (r.LowerValue == r.UpperValue) ++r.Equals;
}

const TBalanceRecord& TBalanceStep::Run(const TPrimeList& aPrimes, int32_t aIndex) {
    const int32_t lPrime = aPrimes.Items(aIndex);
    ExtendSlots(aPrimes, aIndex + 1);

    const auto lPlacements = static_cast<size_t>(aIndex) + 1;
    // Room for every text in one pan, plus the slack of the last 16-byte copy.
    const size_t lPanRoom = lPlacements * sizeof(TSlot) + sizeof(TSlot);
    for (auto* lBuffer : {&fUpper, &fLower}) {
        if (lBuffer->size() < lPanRoom) lBuffer->resize(std::max(lPanRoom, lBuffer->size() * 2));
    }
    for (auto* lBuffer : {&fFlow, &fFlowSign, &fReverseFlow, &fReverseFlowSign}) {
        if (lBuffer->size() < lPlacements) lBuffer->resize(std::max(lPlacements, lBuffer->size() * 2));
    }

    fRecord = TBalanceRecord{};
    fRecord.Prime = lPrime;
    fUpperEnd = fUpper.data();
    fLowerEnd = fLower.data();
    fFlowEnd = fFlow.data();
    fFlowSignEnd = fFlowSign.data();

    const int32_t* lValues = aPrimes.Data();
    for (int32_t lLocalCurrentIndex = aIndex; lLocalCurrentIndex >= 0; --lLocalCurrentIndex) {
        AddValue(lLocalCurrentIndex, lValues);
    }

    std::reverse_copy(fFlow.data(), fFlowEnd, fReverseFlow.data());
    std::reverse_copy(fFlowSign.data(), fFlowSignEnd, fReverseFlowSign.data());

    fRecord.Upper = {fUpper.data(), static_cast<size_t>(fUpperEnd - fUpper.data())};
    fRecord.Lower = {fLower.data(), static_cast<size_t>(fLowerEnd - fLower.data())};
    fRecord.Flow = {fFlow.data(), lPlacements};
    fRecord.FlowSign = {fFlowSign.data(), lPlacements};
    fRecord.ReverseFlow = {fReverseFlow.data(), lPlacements};
    fRecord.ReverseFlowSign = {fReverseFlowSign.data(), lPlacements};
    return fRecord;
}

}  // namespace quillomar
