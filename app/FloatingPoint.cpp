#include "app/FloatingPoint.h"

#include <cfenv>

#if defined(__GLIBC__)
#include <fenv.h>
#endif

namespace etibarix::app {

void MaskFloatingPointExceptions()
{
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
    return std::fegetround() == FE_TONEAREST;
}

} // namespace etibarix::app
