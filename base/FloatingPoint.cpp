#include "base/FloatingPoint.h"

#include <cfenv>

#if defined(__GLIBC__)
#include <fenv.h>
#endif
#if defined(__GLIBC__) && (defined(__i386__) || defined(__x86_64__))
#include <fpu_control.h>
#define ETIBARIX_X87 1
#endif

namespace etibarix::base {

void MaskFloatingPointExceptions()
{
#if defined(ETIBARIX_X87)
    // x87 unit: all six exceptions masked, 64-bit mantissa, rounding to nearest.
    fpu_control_t word = 0x133F;
    _FPU_SETCW(word);
#endif
#if defined(__GLIBC__)
    fedisableexcept(FE_ALL_EXCEPT);
#endif
    std::feclearexcept(FE_ALL_EXCEPT);
    std::fesetround(FE_TONEAREST);
}

bool FloatingPointExceptionsMasked()
{
#if defined(__GLIBC__)
    if (fegetexcept() != 0)
        return false;
#endif
#if defined(ETIBARIX_X87)
    fpu_control_t word = 0;
    _FPU_GETCW(word);
    if ((word & 0x0F3F) != 0x033F)
        return false;
#endif
    return std::fegetround() == FE_TONEAREST;
}

} // namespace etibarix::base
