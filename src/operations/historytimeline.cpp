#include "historytimeline.h"

#include "historytext.h"

#include <QCoreApplication>
#include <QLocale>

namespace kdx {

HistoryTimeline::HistoryTimeline(QObject *parent) : QAbstractTableModel(parent) {}

void HistoryTimeline::show(const HistoryStore *store, const std::optional<AxisKey> &axis,
                           KindMask kinds)
{
    beginResetModel();
    m_store = store;
    m_axis = axis;
    m_kinds = kinds;
    m_events.clear();
    m_more = store && store->isOpen();
    endResetModel();
    fetchMore(QModelIndex());
}

bool HistoryTimeline::belongs(const HistoryEvent &event) const
{
    return (!m_axis || event.axis == *m_axis) && (m_kinds & kindBit(event.kind)) != 0;
}

void HistoryTimeline::add(const HistoryEvent &event)
{
    if (event.id <= 0 || !belongs(event))
        return;
    if (!m_events.empty() && m_events.front().id >= event.id)
        return; // shown already
    beginInsertRows(QModelIndex(), 0, 0);
    m_events.insert(m_events.begin(), event);
    endInsertRows();
}

int HistoryTimeline::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

int HistoryTimeline::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : Columns;
}

QVariant HistoryTimeline::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= count())
        return QVariant();
    const HistoryEvent &e = at(index.row());
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole) {
        switch (index.column()) {
        case Time:
            return eventTimeText(e.at);
        case Kind:
            return historyKindName(e.kind);
        case What:
            return m_axis ? historySummary(e)
                          : axisTitle(e.axis) + QStringLiteral(": ") + historySummary(e);
        default:
            break;
        }
    }
    if (role == Qt::ToolTipRole && index.column() == What)
        return historySummary(e);
    return QVariant();
}

QVariant HistoryTimeline::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Time:
        return QCoreApplication::translate("History", "Idő");
    case Kind:
        return QCoreApplication::translate("History", "Fajta");
    case What:
        return QCoreApplication::translate("History", "Esemény");
    default:
        return QVariant();
    }
}

bool HistoryTimeline::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && m_more;
}

void HistoryTimeline::fetchMore(const QModelIndex &parent)
{
    if (parent.isValid() || !m_more || !m_store)
        return;
    const qint64 before = m_events.empty() ? 0 : m_events.back().id;
    std::vector<HistoryEvent> page =
        m_store->timeline(m_axis ? &*m_axis : nullptr, m_kinds, before, kPage);
    m_more = int(page.size()) == kPage;
    if (page.empty())
        return;
    beginInsertRows(QModelIndex(), count(), count() + int(page.size()) - 1);
    for (HistoryEvent &e : page)
        m_events.push_back(std::move(e));
    endInsertRows();
}

} // namespace kdx
