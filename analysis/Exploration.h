// Helpers of the exploration tools that stand on their own.
#pragma once

#include <cstdint>
#include <string>

namespace quillomar {

// The next line of Odds.txt: a blank before each of the ten even numbers
// from aOddIndex on. aOddIndex moves past them.
std::string NextOddsLine(int64_t& aOddIndex);

}  // namespace quillomar
