#include "monitorview.h"

#include "core/monitormodel.h"
#include "core/numberrules.h"
#include "operations/values.h"
#include "tracesurface.h"

#include <QLabel>
#include <QLineEdit>

namespace kdx {

MonitorView::MonitorView(MonitorModel &model, Text &axisScale, const Parts &parts)
    : m_model(model), m_parts(parts)
{
    m_frame.setSingleShot(true);
    m_frame.setInterval(kFrameMs);
    connect(&m_frame, &QTimer::timeout, this, &MonitorView::drawTrace);
    m_numbers.setSingleShot(true);
    m_numbers.setInterval(kNumbersMs);
    connect(&m_numbers, &QTimer::timeout, this, &MonitorView::showNumbers);
    connect(&model, &MonitorModel::changed, this, &MonitorView::changed);
    connect(&axisScale, &Text::changed, this, [this](const QString &scale) {
        m_parts.top->setText(u'+' + scale);
        m_parts.bottom->setText(u'-' + scale);
    });
    refresh();
}

void MonitorView::changed()
{
    if (!m_frame.isActive())
        m_frame.start();
    if (!m_numbers.isActive())
        m_numbers.start();
}

void MonitorView::refresh()
{
    showNumbers();
    drawTrace();
}

void MonitorView::showNumbers()
{
    m_numbers.stop();
    const auto show = [](QLineEdit *box, double value) {
        const QString text = generalNumberText(value);
        if (box->text() != text)
            box->setText(text);
    };
    show(m_parts.error, m_model.error());
    show(m_parts.largest, m_model.largestError());
}

void MonitorView::drawTrace()
{
    m_frame.stop();
    const MonitorModel::Pending pending = m_model.takePending();
    if (pending.cleared)
        m_parts.trace->clear();
    m_parts.trace->drawSegments(pending.segments);
}

} // namespace kdx
