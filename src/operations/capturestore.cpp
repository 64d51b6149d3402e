#include "capturestore.h"

#include <array>

namespace kdx {

int CaptureStore::freeColour() const
{
    std::array<int, kColours> uses{};
    for (const Entry &e : m_entries)
        ++uses[std::size_t(e.colour)];
    // The least used colour, the first of them: distinct while there are
    // no more than kColours captures.
    int best = 0;
    for (int c = 1; c < kColours; ++c)
        if (uses[std::size_t(c)] < uses[std::size_t(best)])
            best = c;
    return best;
}

int CaptureStore::add(const Capture &capture, bool imported, int group)
{
    Entry entry;
    entry.capture = capture;
    if (!imported && entry.capture.axis.isEmpty())
        entry.capture.axis = m_axisName;
    entry.figures = stepFigures(capture.record);
    entry.imported = imported;
    entry.colour = freeColour();
    entry.group = group;
    m_entries.push_back(std::move(entry));
    const int index = size() - 1;
    emit changed();
    emit added(index);
    return index;
}

void CaptureStore::remove(int index)
{
    if (index < 0 || index >= size())
        return;
    m_entries.erase(m_entries.begin() + index);
    if (m_reference == index)
        m_reference = -1;
    else if (m_reference > index)
        --m_reference;
    emit changed();
}

void CaptureStore::setVisible(int index, bool visible)
{
    if (index < 0 || index >= size() || m_entries[std::size_t(index)].visible == visible)
        return;
    m_entries[std::size_t(index)].visible = visible;
    emit changed();
}

void CaptureStore::setReference(int index)
{
    if (index < -1 || index >= size())
        index = -1;
    if (index == m_reference)
        return;
    m_reference = index;
    emit changed();
}

FigureSpread CaptureStore::groupSpread(int group) const
{
    std::vector<StepFigures> figures;
    for (const Entry &e : m_entries)
        if (group != 0 && e.group == group)
            figures.push_back(e.figures);
    return figureSpread(figures);
}

} // namespace kdx
