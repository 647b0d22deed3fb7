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

// The pan is chosen without a branch: which pan is lighter changes from
// placement to placement in no pattern a predictor could follow, so both
// sides are computed and the choice selects between them.
inline void TBalanceStep::AddValue(int32_t aIndex, const int32_t* aValues, TPanState& aState) {
    const int64_t p = aValues[aIndex];
    const TSlot& lSlot = fSlots[static_cast<size_t>(aIndex)];
    const bool lUpper = aState.UpperValue <= aState.LowerValue;
    char* lTarget = lUpper ? aState.UpperEnd : aState.LowerEnd;
    std::memcpy(lTarget, &lSlot, sizeof lSlot);
    const int64_t lUpperAdd = lUpper ? p : 0;
    aState.UpperValue += lUpperAdd;
    aState.LowerValue += p - lUpperAdd;
    aState.UpperEnd += lUpper ? lSlot.Length : 0;
    aState.LowerEnd += lUpper ? 0 : lSlot.Length;
    const bool lLevel = aState.UpperValue == aState.LowerValue;
    *aState.FlowEnd++ = lUpper ? '^' : 'v';
    *aState.FlowSignEnd++ = !lUpper ? '+' : lLevel ? '=' : '-';
    aState.Equals += lLevel ? 1 : 0;
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

    TPanState lState{0, 0, 0, fUpper.data(), fLower.data(), fFlow.data(), fFlowSign.data()};
    const int32_t* lValues = aPrimes.Data();
    for (int32_t lLocalCurrentIndex = aIndex; lLocalCurrentIndex >= 0; --lLocalCurrentIndex) {
        AddValue(lLocalCurrentIndex, lValues, lState);
    }
    fRecord = TBalanceRecord{};
    fRecord.Prime = lPrime;
    fRecord.UpperValue = lState.UpperValue;
    fRecord.LowerValue = lState.LowerValue;
    fRecord.Equals = lState.Equals;

    std::reverse_copy(fFlow.data(), lState.FlowEnd, fReverseFlow.data());
    std::reverse_copy(fFlowSign.data(), lState.FlowSignEnd, fReverseFlowSign.data());

    fRecord.Upper = {fUpper.data(), static_cast<size_t>(lState.UpperEnd - fUpper.data())};
    fRecord.Lower = {fLower.data(), static_cast<size_t>(lState.LowerEnd - fLower.data())};
    fRecord.Flow = {fFlow.data(), lPlacements};
    fRecord.FlowSign = {fFlowSign.data(), lPlacements};
    fRecord.ReverseFlow = {fReverseFlow.data(), lPlacements};
    fRecord.ReverseFlowSign = {fReverseFlowSign.data(), lPlacements};
    return fRecord;
}

}  // namespace quillomar
