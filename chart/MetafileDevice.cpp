#include "chart/MetafileDevice.h"

#include "chart/EmfWriter.h"
#include "chart/MetafilePaintEngine.h"
#include "chart/WmfWriter.h"

TMetafileDevice::TMetafileDevice(Kind kind, const QSize &size)
    : m_size(size)
{
    if (kind == Kind::Enhanced)
        m_writer = std::make_unique<TEmfWriter>(size);
    else
        m_writer = std::make_unique<TWmfWriter>(size);
    m_engine = std::make_unique<TMetafilePaintEngine>(*m_writer, *this);
}

TMetafileDevice::~TMetafileDevice() = default;

QPaintEngine *TMetafileDevice::paintEngine() const
{
    return m_engine.get();
}

QByteArray TMetafileDevice::Finish()
{
    return m_writer->Finish();
}

int TMetafileDevice::metric(PaintDeviceMetric metric) const
{
    return Metric(metric, m_size, Dpi);
}

int TMetafileDevice::Metric(PaintDeviceMetric metric, const QSize &size, int dpi)
{
    switch (metric) {
    case PdmWidth:
        return size.width();
    case PdmHeight:
        return size.height();
    case PdmWidthMM:
        return qRound(size.width() * 25.4 / dpi);
    case PdmHeightMM:
        return qRound(size.height() * 25.4 / dpi);
    case PdmNumColors:
        return 0x1000000;
    case PdmDepth:
        return 24;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
        return dpi;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return int(QPaintDevice::devicePixelRatioFScale());
    default:
        return 0;
    }
}
