#include "RecordingDevice.h"

#include "chart/MetafileDevice.h"

TRecordedOp TRecordingWriter::Make(TRecordedOp::Kind kind) const
{
    TRecordedOp op { kind, {}, {}, {}, m_pen, m_brush, m_font, m_textColor };
    return op;
}

void TRecordingWriter::Polyline(const std::vector<QPoint> &points)
{
    TRecordedOp op = Make(TRecordedOp::Polyline);
    op.Points = points;
    Ops.push_back(op);
}

void TRecordingWriter::Polygon(const std::vector<QPoint> &points)
{
    TRecordedOp op = Make(TRecordedOp::Polygon);
    op.Points = points;
    Ops.push_back(op);
}

void TRecordingWriter::Ellipse(const QRect &box)
{
    TRecordedOp op = Make(TRecordedOp::Ellipse);
    op.Box = box;
    Ops.push_back(op);
}

void TRecordingWriter::Rectangle(const QRect &box)
{
    TRecordedOp op = Make(TRecordedOp::Rectangle);
    op.Box = box;
    Ops.push_back(op);
}

void TRecordingWriter::TextOut(const QPoint &position, const QString &text,
                               const std::vector<int> &)
{
    TRecordedOp op = Make(TRecordedOp::Text);
    op.Points = { position };
    op.Str = text;
    Ops.push_back(op);
}

std::vector<const TRecordedOp *> TRecordingWriter::OfType(TRecordedOp::Kind kind) const
{
    std::vector<const TRecordedOp *> found;
    for (const TRecordedOp &op : Ops)
        if (op.Type == kind)
            found.push_back(&op);
    return found;
}

QStringList TRecordingWriter::Texts() const
{
    QStringList texts;
    for (const TRecordedOp *op : OfType(TRecordedOp::Text))
        texts << op->Str;
    return texts;
}

const TRecordedOp *TRecordingWriter::FindText(const QString &text) const
{
    for (const TRecordedOp *op : OfType(TRecordedOp::Text))
        if (op->Str == text)
            return op;
    return nullptr;
}

TRecordingDevice::TRecordingDevice(const QSize &size, int dpi)
    : m_size(size)
    , m_dpi(dpi)
    , m_engine(std::make_unique<TMetafilePaintEngine>(m_writer, *this))
{ }

TRecordingDevice::~TRecordingDevice() = default;

int TRecordingDevice::metric(PaintDeviceMetric metric) const
{
    return TMetafileDevice::Metric(metric, m_size, m_dpi);
}
