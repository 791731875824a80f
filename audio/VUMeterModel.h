#pragma once

#include <QtGlobal>

#include <functional>

// The needle meter's arithmetic without any drawing: block peaks from recorded 16-bit
// buffers, the needle's ballistics (instant rise, slow exponential fall) and the mapping of
// a level to a needle position 0 .. FullScale, logarithmic (dB) or linear.
// TQvVUMeter draws what this computes. GUI thread only.
class TVUMeterModel
{
public:
    static constexpr int FullScale = 32767; // largest sample magnitude

    // Raised from SetLevel when a block's peak is exactly FullScale (a -32768 sample counts
    // as full scale).
    std::function<void()> OnClip;
    // Raised after every needle update (SetLevel, ResetNeedle) so the view can redraw.
    std::function<void()> OnNeedleChanged;

    // Scans Buffer (Size bytes of signed 16-bit little-endian samples, of which at most
    // BufferSize() bytes are read): every second sample from sample 4 on; the peak of each
    // BlockLength examined positions goes to SetLevel. The peak after the last whole block
    // is dropped. The level meter window passes BlockLength 400.
    void ProcessBuffer(const char *Buffer, int Size, int BlockLength = 400);

    // A new block peak (sample units, 0 .. FullScale): clip check, ballistics, mapping.
    void SetLevel(int peak);
    // Needle to 0; the held level stays, so the next update falls from it.
    void ResetNeedle();

    // Fall-back factor per update: 0.0001 with the square root taken Decay() times.
    static double DecayFactor(int decay);
    // Sample level that sits at the left end of the linear scale: FullScale / 10^(-S/20).
    static double LinearFloor(int sensitivity);
    // Needle position for a held level in sample units, on the log or linear scale.
    static int MapToScale(double level, int sensitivity, bool logScale);
    // Nearest integer, halves to even, limited to the int range (NaN gives 0).
    static int NearestInt(double x);

    // The scale's ticks i = 0 .. ticks - 1 (ticks >= 2): the sample level the tick stands
    // for, its colour zone (1 low .. 3 high, by percent of the arc against the zone limits)
    // and the number written at it (dB on both scales).
    static int TickLevel(int i, int ticks);
    static int TickZone(int i, int ticks, int part1, int part2);
    static int TickLabel(int i, int ticks, int sensitivity, bool logScale);

    int Level() const { return m_Level; }
    double HeldLevel() const { return m_HeldLevel; }
    int NeedlePos() const { return m_NeedlePos; }

    int Decay() const { return m_Decay; }
    void SetDecay(int value) { m_Decay = value; }
    bool LogScale() const { return m_LogScale; }
    void SetLogScale(bool value) { m_LogScale = value; }
    // dB at the left end of the scale; negative.
    int Sensitivity() const { return m_Sensitivity; }
    void SetSensitivity(int value) { m_Sensitivity = value; }
    // Bytes of the buffers handed to ProcessBuffer.
    int BufferSize() const { return m_BufferSize; }
    void SetBufferSize(int value) { m_BufferSize = value; }

private:
    void UpdateNeedle();

    int m_Level = 0;
    double m_HeldLevel = 0.0;
    int m_NeedlePos = 0;
    int m_Decay = 10;
    bool m_LogScale = true;
    int m_Sensitivity = -50;
    int m_BufferSize = 4096;
};
