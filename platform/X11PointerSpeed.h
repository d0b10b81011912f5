#pragma once

// Sets libinput's pointer acceleration (-1..1) on every pointing device of
// the X server named by DISPLAY that has it, touchpads excepted: what
// Plasma's mouse settings do on X11 when they are saved, so that a new speed
// takes effect at once rather than at the next login. Devices are changed
// through the XInput property "libinput Accel Speed"; one that goes away
// meanwhile is skipped. Returns the number of devices changed, or -1 when no
// X server can be reached. GUI thread only (it swaps Xlib's error handler
// for the duration of the call).
namespace X11PointerSpeed {

int apply(double acceleration);

} // namespace X11PointerSpeed
