#pragma once

#include "chart/PolarGraph.h"

// Turns a chart's AutoRepaint off while series are built and puts it back (refreshing the
// chart when it was on) however the building ends.
class TAutoRepaintRestorer
{
public:
    explicit TAutoRepaintRestorer(TPolarGraph &chart)
        : m_chart(chart)
        , m_value(chart.AutoRepaint())
    {
        m_chart.SetAutoRepaint(false);
    }
    ~TAutoRepaintRestorer()
    {
        m_chart.SetAutoRepaint(m_value);
        if (m_value)
            m_chart.Refresh();
    }
    TAutoRepaintRestorer(const TAutoRepaintRestorer &) = delete;
    TAutoRepaintRestorer &operator=(const TAutoRepaintRestorer &) = delete;

private:
    TPolarGraph &m_chart;
    bool m_value;
};
