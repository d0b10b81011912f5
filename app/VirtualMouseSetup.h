#pragma once

#include <memory>

class VirtualMouse;

// The virtual mouse an installation describes: identity from the first mouse
// entry (type 1) of apConfig.bin, command family from mouse/icType ("560",
// else 553), scramble table from common/scrambleTable. Nothing (with a debug
// line) when there is no mouse entry.
namespace VirtualMouseSetup {

std::unique_ptr<VirtualMouse> fromConfig();

} // namespace VirtualMouseSetup
