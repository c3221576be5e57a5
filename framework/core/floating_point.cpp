#include "framework/core/floating_point.h"

#include <cfenv>
#if defined(_WIN32)
#include <float.h>
#endif

namespace orvex {

void mask_floating_point_exceptions() {
#if defined(_WIN32)
    unsigned int current = 0;
    _controlfp_s(&current, _MCW_EM, _MCW_EM);
#if defined(__i386__) || defined(__x86_64__)
    __asm__ volatile("" ::: "memory");
    unsigned short cw = 0;
    __asm__ volatile("fnstcw %0" : "=m"(cw));
    cw = static_cast<unsigned short>((cw & ~0x0300u) | 0x0300u);  // precision control: 64-bit mantissa
    __asm__ volatile("fldcw %0" : : "m"(cw));
#endif
#else
    std::feclearexcept(FE_ALL_EXCEPT);
    fenv_t env;
    std::feholdexcept(&env);  // all exceptions masked, non-stop mode
#if defined(__i386__) || defined(__x86_64__)
    unsigned short cw = 0;
    __asm__ volatile("fnstcw %0" : "=m"(cw));
    cw = static_cast<unsigned short>(cw | 0x003Fu | 0x0300u);  // all x87 exceptions masked, 64-bit mantissa
    __asm__ volatile("fldcw %0" : : "m"(cw));
#endif
#endif
}

}  // namespace orvex
