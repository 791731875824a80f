#pragma once

#include <string_view>

// Keeps the lines a library prints straight to the process's stderr (file descriptor 2) off
// the terminal. Once installed, descriptor 2 is a pipe read by a thread of the filter's own,
// which passes every line on to the original stderr at once, except the lines the drop rule
// matches. At exit descriptor 2 is put back and what is still in the pipe is passed on.
//
// PortAudio's ALSA code reports each failed call of a dying stream as "Expression '...'
// failed in '...', line: N" with fprintf from its own threads; it offers no way to turn that
// off, so this is the only place those lines can be caught. What failed for the program is
// said in its own messages.
//
// Install from any thread, once per process (later calls do nothing). The drop rule runs on
// the filter's thread and must not touch Qt objects.
class TStderrFilter
{
public:
    using TDropRule = bool (*)(std::string_view line);

    // False when the pipe or the thread could not be made (stderr is then left as it was).
    static bool Install(TDropRule drop);
    static bool Installed();

    // PortAudio's failed-expression line (without its newline).
    static bool IsPortAudioAssertion(std::string_view line);

    // Passes on whatever the pipe holds now; returns when it has been written. For tests and
    // for the exit.
    static void Flush();
};
