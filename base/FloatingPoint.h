#pragma once
// The floating-point environment the program runs in: every exception
// masked, rounding to nearest, so that a faulty computation yields an
// infinity or a not-a-number instead of stopping the program.

namespace etibarix::base {

void MaskFloatingPointExceptions();

// True when no floating-point exception traps and rounding is to nearest.
bool FloatingPointExceptionsMasked();

} // namespace etibarix::base
