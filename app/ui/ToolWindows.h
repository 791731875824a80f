#pragma once

class TFrmMain;

// How the program was started, from its command line.
class TClock;

struct TStartOptions
{
    // --simulate: simulated turntable controller, and loopback audio through a simulated
    // loudspeaker whose directivity follows the simulated table's angle.
    bool Simulate = false;
    // The clock of the tool windows, the simulated rig and the loopback audio; nullptr: the
    // system clock. Tests give a virtual one. It must outlive the main window.
    TClock *Clock = nullptr;
    // --simulate-grbl: as --simulate, but the table is a Grbl table on an emulated board
    // behind a pseudo-terminal.
    bool SimulateGrbl = false;
};

// Creates the tool windows in start-up order (generator, level meter, turntable control,
// series editor), hands them to the main window, which owns them from then on, and sets
// PortAvailable from the turntable window.
void CreateToolWindows(TFrmMain &main, const TStartOptions &options);
