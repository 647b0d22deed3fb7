// The greedy placement of one balance step: the prime at an index and every
// entry below it, from the largest index down to 0, each into the lighter
// pan (the upper one on a tie). The texts it builds stay valid until the
// next Run; their buffers are reused from step to step.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "PrimeList.h"

namespace quillomar {

struct TBalanceRecord {
    int32_t Prime = 0;
    int64_t UpperValue = 0;
    int64_t LowerValue = 0;
    int32_t Equals = 0;
    std::string_view Upper;        // "p;" per prime put into the upper pan
    std::string_view Lower;        // the same for the lower pan
    std::string_view Flow;         // "^" or "v" per placement, analysed prime first
    std::string_view FlowSign;     // "=", "-" or "+" per placement
    std::string_view ReverseFlow;  // Flow read backwards: the pure flow
    std::string_view ReverseFlowSign;

    int64_t Difference() const noexcept { return UpperValue - LowerValue; }
};

class TBalanceStep {
public:
    // Places fPrimes[aIndex] … fPrimes[0]; aIndex must lie inside the list.
    const TBalanceRecord& Run(const TPrimeList& aPrimes, int32_t aIndex);

private:
    // Decimal text and ";" of each entry, in a 16-byte slot, so that a
    // placement copies a fixed 16 bytes and advances by the length.
    struct TSlot {
        char Text[15];
        uint8_t Length;
    };
    void ExtendSlots(const TPrimeList& aPrimes, int32_t aCount);
    // The sums and write positions of a step in progress, kept in locals.
    struct TPanState {
        int64_t UpperValue;
        int64_t LowerValue;
        int32_t Equals;
        char* UpperEnd;
        char* LowerEnd;
        char* FlowEnd;
        char* FlowSignEnd;
    };
    void AddValue(int32_t aIndex, const int32_t* aValues, TPanState& aState);

    std::vector<TSlot> fSlots;
    std::vector<char> fUpper, fLower, fFlow, fFlowSign, fReverseFlow, fReverseFlowSign;
    TBalanceRecord fRecord;
};

}  // namespace quillomar
