#include "historystore.h"

#include "core/capturecsv.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSysInfo>
#include <QVariant>

#include <atomic>

namespace kdx {

namespace {

// The first 16 bytes of every SQLite database file.
constexpr QByteArrayView kHeader("SQLite format 3\0", 16);

// SQLite's primary result codes that say what went wrong.
enum SqliteCode {
    kPerm = 3,
    kBusy = 5,
    kLocked = 6,
    kReadOnly = 8,
    kCorrupt = 11,
    kFull = 13,
    kCantOpen = 14,
    kAuth = 23,
    kNotADatabase = 26,
};

const char *const kSchema[] = {
    "CREATE TABLE sessions (id INTEGER PRIMARY KEY, started TEXT NOT NULL, "
    "program TEXT NOT NULL, host TEXT NOT NULL, pid INTEGER NOT NULL)",
    "CREATE TABLE events (id INTEGER PRIMARY KEY, session INTEGER NOT NULL REFERENCES "
    "sessions(id), at TEXT NOT NULL, axis TEXT NOT NULL, port TEXT NOT NULL, kind INTEGER NOT "
    "NULL, occasion INTEGER, p0 TEXT, p1 TEXT, p2 TEXT, p3 TEXT, p4 TEXT, p5 TEXT, p6 TEXT, p7 "
    "TEXT)",
    "CREATE INDEX events_by_axis ON events (axis, port, id)",
    "CREATE INDEX events_by_axis_kind ON events (axis, port, kind, id)",
    "CREATE INDEX events_by_kind ON events (kind, id)",
    "CREATE TABLE writes (event INTEGER PRIMARY KEY REFERENCES events(id), param INTEGER NOT "
    "NULL, before TEXT, sent TEXT NOT NULL, stored INTEGER NOT NULL, read_back TEXT)",
    "CREATE TABLE tunings (event INTEGER PRIMARY KEY REFERENCES events(id), outcome TEXT NOT "
    "NULL, message TEXT NOT NULL, options TEXT NOT NULL, result TEXT NOT NULL, log BLOB, "
    "records BLOB)",
    "CREATE TABLE captures (event INTEGER PRIMARY KEY REFERENCES events(id), steps INTEGER NOT "
    "NULL, window_ms REAL NOT NULL, readings INTEGER NOT NULL, complete INTEGER NOT NULL, "
    "record BLOB NOT NULL)",
};

// The columns of a timeline row, in the order eventFrom() takes them.
const char *const kEventColumns =
    "e.id, e.session, e.at, e.axis, e.port, e.kind, e.occasion, e.p0, e.p1, e.p2, e.p3, e.p4, "
    "e.p5, e.p6, e.p7, w.param, w.before, w.sent, w.stored, w.read_back, c.steps, c.window_ms, "
    "c.readings, c.complete, t.outcome, t.message FROM events e LEFT JOIN writes w ON "
    "w.event = e.id LEFT JOIN captures c ON c.event = e.id LEFT JOIN tunings t ON t.event = e.id";

// The texts of this file, for translation.
struct Texts {
    Q_DECLARE_TR_FUNCTIONS(HistoryStore)
};

QVariant textOrNull(const QString &text)
{
    return text.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(text);
}

// A null QString goes to the database as NULL: an empty text is "".
QVariant text(const QString &text)
{
    return text.isNull() ? QVariant(QStringLiteral("")) : QVariant(text);
}

HistoryEvent eventFrom(const QSqlQuery &q)
{
    HistoryEvent e;
    e.id = q.value(0).toLongLong();
    e.session = q.value(1).toLongLong();
    e.at = QDateTime::fromString(q.value(2).toString(), Qt::ISODateWithMs);
    e.axis = {q.value(3).toString(), q.value(4).toString()};
    e.kind = HistoryKind(q.value(5).toInt());
    e.occasion = ReadOccasion(q.value(6).toInt());
    for (int n = 0; n < kParamCount; ++n)
        e.set[std::size_t(n)] = q.value(7 + n).toString();
    if (!q.value(15).isNull()) {
        e.param = q.value(15).toInt();
        e.before = q.value(16).toString();
        e.sent = q.value(17).toString();
        e.stored = q.value(18).toBool();
        e.readBack = q.value(19).toString();
    }
    if (!q.value(20).isNull()) {
        e.steps = q.value(20).toInt();
        e.windowMs = q.value(21).toDouble();
        e.readings = q.value(22).toInt();
        e.complete = q.value(23).toBool();
    }
    e.outcome = q.value(24).toString();
    e.message = q.value(25).toString();
    return e;
}

QString nowText()
{
    const QDateTime now = QDateTime::currentDateTime();
    return now.toOffsetFromUtc(now.offsetFromUtc()).toString(Qt::ISODateWithMs);
}

} // namespace

HistoryStore::HistoryStore(const QString &path) : HistoryStore(path, Options()) {}

HistoryStore::HistoryStore(const QString &path, const Options &options)
    : m_path(path), m_options(options)
{
    static std::atomic<int> stores{0};
    m_connection = QStringLiteral("kdxhistory-%1").arg(++stores);
    openFile();
    if (!m_open)
        disconnect();
}

HistoryStore::~HistoryStore()
{
    disconnect();
}

QString HistoryStore::problemText() const
{
    QString what;
    switch (m_problem) {
    case Problem::None:
        return QString();
    case Problem::Locked:
        what = Texts::tr("zárolva van (egy másik program használja)");
        break;
    case Problem::ReadOnly:
        what = Texts::tr("nem írható");
        break;
    case Problem::Full:
        what = Texts::tr("megtelt, nincs több hely");
        break;
    case Problem::Corrupt:
        what = Texts::tr("sérült");
        break;
    case Problem::Newer:
        what = Texts::tr("egy újabb programváltozat formájában van");
        break;
    case Problem::Other:
        what = Texts::tr("nem használható");
        break;
    }
    return m_detail.isEmpty() ? what : QStringLiteral("%1 (%2)").arg(what, m_detail);
}

bool HistoryStore::fail(Problem problem, const QString &detail)
{
    m_problem = problem;
    m_detail = detail;
    m_writable = false;
    return false;
}

bool HistoryStore::failWith(const QSqlError &error)
{
    const int code = error.nativeErrorCode().toInt() & 0xff;
    Problem problem = Problem::Other;
    switch (code) {
    case kBusy:
    case kLocked:
        problem = Problem::Locked;
        break;
    case kPerm:
    case kReadOnly:
    case kCantOpen:
    case kAuth:
        problem = Problem::ReadOnly;
        break;
    case kFull:
        problem = Problem::Full;
        break;
    case kCorrupt:
    case kNotADatabase:
        problem = Problem::Corrupt;
        break;
    default:
        break;
    }
    const QString detail = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    return fail(problem, detail);
}

bool HistoryStore::connect()
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    if (!db.isValid())
        return fail(Problem::Other,
                    Texts::tr("a Qt SQLite meghajtója hiányzik (libqt6sql6-sqlite)"));
    db.setDatabaseName(m_path);
    QString connectOptions = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(m_options.busyTimeoutMs);
    if (m_options.readOnly)
        connectOptions += QStringLiteral(";QSQLITE_OPEN_READONLY");
    db.setConnectOptions(connectOptions);
    if (!db.open())
        return failWith(db.lastError());
    QSqlQuery q(db);
    // WAL: a reader never waits for a writer, and a killed writer loses
    // nothing it committed. FULL: each commit is on the disk before the
    // event counts as kept.
    const char *const setup[] = {"PRAGMA journal_mode=WAL",
                                 m_options.syncEveryEvent ? "PRAGMA synchronous=FULL"
                                                          : "PRAGMA synchronous=NORMAL",
                                 "PRAGMA foreign_keys=ON"};
    for (const char *statement : setup)
        if (!q.exec(QString::fromLatin1(statement)))
            return failWith(q.lastError());
    if (m_options.maxPageCount > 0 &&
        !q.exec(QStringLiteral("PRAGMA max_page_count=%1").arg(m_options.maxPageCount)))
        return failWith(q.lastError());
    return true;
}

void HistoryStore::disconnect()
{
    if (!QSqlDatabase::contains(m_connection))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
}

bool HistoryStore::checkSound()
{
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    if (!q.exec(QStringLiteral("PRAGMA quick_check")))
        return failWith(q.lastError());
    QStringList faults;
    while (q.next()) {
        const QString row = q.value(0).toString();
        if (row != QLatin1String("ok"))
            faults << row;
    }
    if (!faults.isEmpty())
        return fail(Problem::Corrupt, faults.first());
    return true;
}

void HistoryStore::setAside()
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString aside = m_path + QStringLiteral(".hibas-") + stamp;
    for (int k = 2; QFileInfo::exists(aside); ++k)
        aside = m_path + QStringLiteral(".hibas-%1-%2").arg(stamp).arg(k);
    // The journal files belong to the unsound file: a new database must not
    // take them for its own.
    if (!QFile::rename(m_path, aside))
        return;
    for (const char *suffix : {"-wal", "-shm"}) {
        const QString from = m_path + QLatin1String(suffix);
        if (QFileInfo::exists(from))
            QFile::rename(from, aside + QLatin1String(suffix));
    }
    m_setAside = aside;
}

bool HistoryStore::startsLikeDatabase()
{
    const QFileInfo info(m_path);
    if (!info.exists() || info.size() == 0)
        return true; // a new database
    QFile file(m_path);
    return !file.open(QIODevice::ReadOnly) || file.read(kHeader.size()) == kHeader;
}

void HistoryStore::openFile()
{
    const QFileInfo info(m_path);
    if (!QDir().mkpath(info.absolutePath())) {
        fail(Problem::ReadOnly, Texts::tr("a mappa nem hozható létre: %1")
                                    .arg(QDir::toNativeSeparators(info.absolutePath())));
        return;
    }
    // A file that is not a sound database is no use to anyone as it is: it
    // is kept aside under another name, and a new one is started.
    if (!startsLikeDatabase())
        setAside();
    bool sound = connect() && checkSound();
    if (!sound && m_problem == Problem::Corrupt && m_setAside.isEmpty()) {
        disconnect();
        setAside();
        if (!m_setAside.isEmpty()) {
            m_problem = Problem::None;
            m_detail.clear();
            sound = connect() && checkSound();
        }
    }
    if (!sound || !migrate())
        return;
    // Readable from here on; writable once this run has its session.
    m_open = true;
    m_writable = startSession();
}

bool HistoryStore::migrate()
{
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next())
        return failWith(q.lastError());
    int version = q.value(0).toInt();
    q.finish();
    if (version > kSchemaVersion)
        return fail(Problem::Newer, Texts::tr("%1. változat").arg(version));
    if (version == kSchemaVersion)
        return true;
    // Two terminals may start on a new file at once: the version is looked
    // at again inside the write transaction.
    if (!q.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return failWith(q.lastError());
    auto rollback = [&] {
        const QSqlError error = q.lastError();
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        return failWith(error);
    };
    if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next())
        return rollback();
    version = q.value(0).toInt();
    q.finish();
    // Each step takes the schema one version further; a file is brought up
    // to date in one transaction, so it is never left half-way.
    if (version < 1) {
        for (const char *statement : kSchema)
            if (!q.exec(QString::fromLatin1(statement)))
                return rollback();
    }
    if (version < kSchemaVersion &&
        !q.exec(QStringLiteral("PRAGMA user_version=%1").arg(kSchemaVersion)))
        return rollback();
    if (!q.exec(QStringLiteral("COMMIT")))
        return rollback();
    return true;
}

bool HistoryStore::startSession()
{
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.prepare(
        QStringLiteral("INSERT INTO sessions (started, program, host, pid) VALUES (?, ?, ?, ?)"));
    q.addBindValue(nowText());
    q.addBindValue(QCoreApplication::applicationName() + u' ' +
                   QCoreApplication::applicationVersion());
    q.addBindValue(QSysInfo::machineHostName());
    q.addBindValue(QCoreApplication::applicationPid());
    if (!q.exec())
        return failWith(q.lastError());
    m_session = q.lastInsertId().toLongLong();
    return true;
}

qint64 HistoryStore::add(const HistoryEvent &e)
{
    if (!m_writable)
        return 0;
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QSqlQuery q(db);
    auto abandon = [&](const QSqlError &error) -> qint64 {
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        failWith(error);
        // What is there may still be read, unless the file is broken.
        if (m_problem == Problem::Corrupt)
            m_open = false;
        return 0;
    };
    if (!q.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return abandon(q.lastError());

    q.prepare(QStringLiteral("INSERT INTO events (session, at, axis, port, kind, occasion, p0, "
                             "p1, p2, p3, p4, p5, p6, p7) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                             "?, ?, ?, ?)"));
    q.addBindValue(m_session);
    const QDateTime at = e.at.isValid() ? e.at : QDateTime::currentDateTime();
    q.addBindValue(at.toOffsetFromUtc(at.offsetFromUtc()).toString(Qt::ISODateWithMs));
    q.addBindValue(text(e.axis.name));
    q.addBindValue(text(e.axis.port));
    q.addBindValue(int(e.kind));
    q.addBindValue(e.kind == HistoryKind::Read ? QVariant(int(e.occasion))
                                               : QVariant(QMetaType(QMetaType::Int)));
    for (const QString &value : e.set)
        q.addBindValue(textOrNull(value.trimmed()));
    if (!q.exec())
        return abandon(q.lastError());
    const qint64 id = q.lastInsertId().toLongLong();

    switch (e.kind) {
    case HistoryKind::Read:
        break;
    case HistoryKind::Write:
        q.prepare(QStringLiteral("INSERT INTO writes (event, param, before, sent, stored, "
                                 "read_back) VALUES (?, ?, ?, ?, ?, ?)"));
        q.addBindValue(id);
        q.addBindValue(e.param);
        q.addBindValue(textOrNull(e.before.trimmed()));
        q.addBindValue(text(e.sent));
        q.addBindValue(e.stored ? 1 : 0);
        q.addBindValue(textOrNull(e.readBack.trimmed()));
        break;
    case HistoryKind::Tuning: {
        const TuningEntry entry = e.tuning.value_or(TuningEntry{});
        q.prepare(QStringLiteral("INSERT INTO tunings (event, outcome, message, options, result, "
                                 "log, records) VALUES (?, ?, ?, ?, ?, ?, ?)"));
        q.addBindValue(id);
        q.addBindValue(text(entry.outcome));
        q.addBindValue(text(entry.message));
        q.addBindValue(
            QString::fromUtf8(QJsonDocument(entry.options).toJson(QJsonDocument::Compact)));
        q.addBindValue(
            QString::fromUtf8(QJsonDocument(entry.result).toJson(QJsonDocument::Compact)));
        q.addBindValue(qCompress(entry.logCsv));
        q.addBindValue(qCompress(capturesToCsv(entry.records)));
        break;
    }
    case HistoryKind::Capture: {
        const Capture c = e.capture.value_or(Capture{});
        q.prepare(QStringLiteral("INSERT INTO captures (event, steps, window_ms, readings, "
                                 "complete, record) VALUES (?, ?, ?, ?, ?, ?)"));
        q.addBindValue(id);
        q.addBindValue(c.steps);
        q.addBindValue(c.record.windowMs);
        q.addBindValue(qint64(c.record.tMs.size()));
        q.addBindValue(c.record.complete ? 1 : 0);
        // The capture's own CSV block, packed: the same text an export writes.
        q.addBindValue(qCompress(captureToCsv(c)));
        break;
    }
    }
    if (e.kind != HistoryKind::Read && !q.exec())
        return abandon(q.lastError());
    if (!q.exec(QStringLiteral("COMMIT")))
        return abandon(q.lastError());
    return id;
}

bool HistoryStore::nameAxis(const QString &port, const QString &name)
{
    if (!m_writable)
        return false;
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.prepare(
        QStringLiteral("UPDATE events SET axis = ? WHERE session = ? AND port = ? AND axis = ''"));
    q.addBindValue(text(name));
    q.addBindValue(m_session);
    q.addBindValue(text(port));
    if (q.exec())
        return true;
    failWith(q.lastError());
    if (m_problem == Problem::Corrupt)
        m_open = false;
    return false;
}

std::vector<AxisSummary> HistoryStore::axes() const
{
    std::vector<AxisSummary> out;
    if (!m_open)
        return out;
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT axis, port, count(*), max(id) AS last FROM events GROUP BY "
                               "axis, port ORDER BY last DESC")))
        return out;
    std::vector<qint64> lastIds;
    while (q.next()) {
        out.push_back(
            {{q.value(0).toString(), q.value(1).toString()}, q.value(2).toLongLong(), {}});
        lastIds.push_back(q.value(3).toLongLong());
    }
    q.finish();
    q.prepare(QStringLiteral("SELECT at FROM events WHERE id = ?"));
    for (std::size_t i = 0; i < out.size(); ++i) {
        q.addBindValue(lastIds[i]);
        if (q.exec() && q.next())
            out[i].last = QDateTime::fromString(q.value(0).toString(), Qt::ISODateWithMs);
        q.finish();
    }
    return out;
}

std::vector<HistoryEvent> HistoryStore::timeline(const AxisKey *axis, KindMask kinds,
                                                 qint64 beforeId, int limit) const
{
    std::vector<HistoryEvent> out;
    if (!m_open || (kinds & kAllKinds) == 0)
        return out;
    QStringList where;
    if (axis)
        where << QStringLiteral("e.axis = ? AND e.port = ?");
    if ((kinds & kAllKinds) != kAllKinds) {
        QStringList which;
        for (int k = 1; k <= 4; ++k)
            if (kinds & kindBit(HistoryKind(k)))
                which << QString::number(k);
        where << (which.size() == 1 ? QStringLiteral("e.kind = %1").arg(which.first())
                                    : QStringLiteral("e.kind IN (%1)").arg(which.join(u',')));
    }
    if (beforeId > 0)
        where << QStringLiteral("e.id < ?");
    QString sql = QStringLiteral("SELECT ") + QLatin1String(kEventColumns);
    if (!where.isEmpty())
        sql += QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND "));
    sql += QStringLiteral(" ORDER BY e.id DESC LIMIT ?");
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.setForwardOnly(true);
    q.prepare(sql);
    if (axis) {
        q.addBindValue(text(axis->name));
        q.addBindValue(text(axis->port));
    }
    if (beforeId > 0)
        q.addBindValue(beforeId);
    q.addBindValue(limit);
    if (!q.exec())
        return out;
    while (q.next())
        out.push_back(eventFrom(q));
    return out;
}

std::optional<HistoryEvent> HistoryStore::event(qint64 id) const
{
    if (!m_open)
        return std::nullopt;
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT ") + QLatin1String(kEventColumns) +
              QStringLiteral(" WHERE e.id = ?"));
    q.addBindValue(id);
    if (!q.exec() || !q.next())
        return std::nullopt;
    HistoryEvent e = eventFrom(q);
    q.finish();
    if (e.kind == HistoryKind::Capture) {
        q.prepare(QStringLiteral("SELECT record FROM captures WHERE event = ?"));
        q.addBindValue(id);
        if (q.exec() && q.next()) {
            const CsvResult read = capturesFromCsv(qUncompress(q.value(0).toByteArray()));
            if (read.error.isEmpty() && read.captures.size() == 1)
                e.capture = read.captures.front();
        }
    } else if (e.kind == HistoryKind::Tuning) {
        q.prepare(QStringLiteral(
            "SELECT outcome, message, options, result, log, records FROM tunings WHERE event = ?"));
        q.addBindValue(id);
        if (q.exec() && q.next()) {
            TuningEntry t;
            t.outcome = q.value(0).toString();
            t.message = q.value(1).toString();
            t.options = QJsonDocument::fromJson(q.value(2).toString().toUtf8()).object();
            t.result = QJsonDocument::fromJson(q.value(3).toString().toUtf8()).object();
            t.logCsv = qUncompress(q.value(4).toByteArray());
            const CsvResult records = capturesFromCsv(qUncompress(q.value(5).toByteArray()));
            if (records.error.isEmpty())
                t.records = records.captures;
            e.tuning = t;
        }
    }
    return e;
}

qint64 HistoryStore::count() const
{
    if (!m_open)
        return 0;
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    if (!q.exec(QStringLiteral("SELECT count(*) FROM events")) || !q.next())
        return 0;
    return q.value(0).toLongLong();
}

} // namespace kdx
