#pragma once

#include "historystore.h"

#include <QAbstractTableModel>

#include <optional>
#include <vector>

namespace kdx {

// The events of one axis (or of all), newest first, of the kinds chosen:
// fetched from the history file a page at a time as the view scrolls, and
// new events put on top as they are kept.
class HistoryTimeline : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Time, Kind, What, Columns };
    static constexpr int kPage = 500;

    explicit HistoryTimeline(QObject *parent = nullptr);

    // What to show: the file (may be null), the axis (none: every axis) and the kinds.
    void show(const HistoryStore *store, const std::optional<AxisKey> &axis, KindMask kinds);
    // A new event: on top when it belongs here.
    void add(const HistoryEvent &event);

    const HistoryEvent &at(int row) const { return m_events.at(std::size_t(row)); }
    int count() const { return int(m_events.size()); }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

private:
    bool belongs(const HistoryEvent &event) const;

    const HistoryStore *m_store = nullptr;
    std::optional<AxisKey> m_axis;
    KindMask m_kinds = kAllKinds;
    std::vector<HistoryEvent> m_events;
    bool m_more = false;
};

} // namespace kdx
