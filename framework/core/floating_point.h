#pragma once

namespace orvex {

// Masks every floating-point exception for the rest of the run (a division by
// zero gives an infinity, 0/0 a NaN, never a trap) and keeps the x87 unit at
// its 64-bit mantissa, so that extended-precision intermediates are 80-bit.
void mask_floating_point_exceptions();

}  // namespace orvex
