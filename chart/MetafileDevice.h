#pragma once

#include <QPaintDevice>
#include <QSize>

#include <memory>

class TMetafileWriter;
class TMetafilePaintEngine;

// A paint device whose drawing becomes a Windows metafile (EMF or placeable WMF). Units
// are pixels of a 96-per-inch reference device; Render draws into it like into any other
// device. Draw with one QPainter, end it, then take the bytes with Finish.
class TMetafileDevice : public QPaintDevice
{
public:
    enum class Kind { Enhanced, Placeable };

    TMetafileDevice(Kind kind, const QSize &size);
    ~TMetafileDevice() override;

    QPaintEngine *paintEngine() const override;
    // The finished file. Call after the painter has ended.
    QByteArray Finish();

    static constexpr int Dpi = 96;

    // The metrics of a 24-bit device of size pixels at dpi dots per inch; shared with other
    // recording devices so they measure text and millimetres the same way.
    static int Metric(PaintDeviceMetric metric, const QSize &size, int dpi);

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    QSize m_size;
    std::unique_ptr<TMetafileWriter> m_writer;
    std::unique_ptr<TMetafilePaintEngine> m_engine;
};
