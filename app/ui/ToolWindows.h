#pragma once

class TFrmMain;

// How the program was started, from its command line.
struct TStartOptions
{
    bool Simulate = false; // --simulate: simulated turntable controller and loopback audio
};

// Creates the tool windows in start-up order (generator, level meter, turntable control,
// series editor), hands them to the main window, which owns them from then on, and sets
// PortAvailable from the turntable window.
void CreateToolWindows(TFrmMain &main, const TStartOptions &options);
