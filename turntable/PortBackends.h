#pragma once

#include "turntable/PortBackend.h"

#include <memory>

class TClock;
class TSimulatedController;

// The one place that picks the parallel-port backend of this platform: ppdev on Linux,
// the DLPortIO library on Windows; elsewhere a backend that never opens.
std::unique_ptr<TPortBackend> CreateHardwarePortBackend();

// A simulated port with a simulated controller on it; controller receives the controller
// so that the caller can watch or switch it (may be nullptr).
std::unique_ptr<TPortBackend>
CreateSimulatedPortBackend(TClock &clock, std::shared_ptr<TSimulatedController> *controller,
                           int turnMs = 80000, int markerLowMs = 150);
