// The English translation against the sources: lupdate, run on the sources
// into a copy of translations/kdxterminal_en.ts, finds no text that is new,
// unfinished or gone, and leaves the file as it is; every translation keeps
// its text's place markers and says nothing in Hungarian.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace {

struct Message {
    QString context;
    QString source;
    QString comment;
    QString type;      // "", "unfinished", "vanished", "obsolete"
    QStringList forms; // the translation, or its plural forms
    bool numerus = false;
};

std::vector<Message> readTs(const QString &path)
{
    std::vector<Message> messages;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return messages;
    QXmlStreamReader xml(&file);
    QString context;
    Message m;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        const auto name = xml.name();
        if (name == u"name") {
            context = xml.readElementText();
        } else if (name == u"message") {
            m = Message{};
            m.context = context;
            m.numerus = xml.attributes().value(QLatin1String("numerus")) == u"yes";
        } else if (name == u"source") {
            m.source = xml.readElementText();
        } else if (name == u"comment") {
            m.comment = xml.readElementText();
        } else if (name == u"translation") {
            m.type = xml.attributes().value(QLatin1String("type")).toString();
            if (!m.numerus) {
                m.forms = {xml.readElementText()};
                messages.push_back(m);
            }
        } else if (name == u"numerusform") {
            m.forms << xml.readElementText();
            if (m.forms.size() == 2)
                messages.push_back(m);
        }
    }
    if (xml.hasError())
        qWarning("%s: %s", qPrintable(path), qPrintable(xml.errorString()));
    return messages;
}

QString describe(const Message &m)
{
    return QStringLiteral("%1: \"%2\"").arg(m.context, m.source);
}

// lupdate on the sources into a copy of the translation; the copy's path,
// empty when lupdate failed.
QString updatedCopy(QTemporaryDir &dir, const QStringList &extraOptions)
{
    const QString copy = dir.filePath(QStringLiteral("kdxterminal_en.ts"));
    QFile::remove(copy);
    if (!QFile::copy(QStringLiteral(KDX_TS_FILE), copy))
        return QString();
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    QProcess lupdate;
    lupdate.setWorkingDirectory(QStringLiteral(KDX_SOURCE_DIR));
    lupdate.setProcessChannelMode(QProcess::MergedChannels);
    const QStringList options = QStringLiteral(KDX_LUPDATE_OPTIONS).split(u'|');
    lupdate.start(QStringLiteral(KDX_LUPDATE), options + extraOptions +
                                                   QStringList{QStringLiteral("@" KDX_SOURCES_LIST),
                                                               QStringLiteral("-ts"), copy});
    if (!lupdate.waitForFinished(120000) || lupdate.exitCode() != 0) {
        qWarning("lupdate: %s", lupdate.readAll().constData());
        return QString();
    }
    return copy;
}

QStringList placeMarkers(const QString &text)
{
    static const QRegularExpression marker(QStringLiteral("%(L?\\d+|L?n)"));
    QStringList found;
    for (const QRegularExpressionMatch &m : marker.globalMatch(text))
        found << m.captured();
    found.sort();
    return found;
}

} // namespace

class TestTranslations : public QObject {
    Q_OBJECT
private slots:
    void everyTextHasItsEnglish();
    void theFileIsAsLupdateWritesIt();
    void translationsKeepTheirPlaceMarkers();
    void translationsSayNothingInHungarian();
};

void TestTranslations::everyTextHasItsEnglish()
{
    QTemporaryDir dir;
    const QString copy = updatedCopy(dir, {});
    QVERIFY2(!copy.isEmpty(), "lupdate did not run");
    QStringList wrong;
    int finished = 0;
    for (const Message &m : readTs(copy)) {
        if (m.type == u"unfinished")
            wrong << QStringLiteral("new or untranslated: ") + describe(m);
        else if (m.type == u"vanished" || m.type == u"obsolete")
            wrong << QStringLiteral("gone from the sources: ") + describe(m);
        else if (m.forms.contains(QString()))
            wrong << QStringLiteral("empty translation: ") + describe(m);
        else
            ++finished;
    }
    QVERIFY2(wrong.isEmpty(),
             qPrintable(wrong.join(u'\n') +
                        QStringLiteral("\n(cmake --build BUILD --target update_translations, "
                                       "then translate translations/kdxterminal_en.ts)")));
    QVERIFY(finished > 400);
}

void TestTranslations::theFileIsAsLupdateWritesIt()
{
    // Texts whose source changed only in its comment or plural form show
    // up here, and so does a hand edit that lupdate would undo.
    QTemporaryDir dir;
    const QString copy = updatedCopy(dir, {QStringLiteral("-no-obsolete")});
    QVERIFY2(!copy.isEmpty(), "lupdate did not run");
    QFile committed(QStringLiteral(KDX_TS_FILE)), updated(copy);
    QVERIFY(committed.open(QIODevice::ReadOnly) && updated.open(QIODevice::ReadOnly));
    const QList<QByteArray> a = committed.readAll().split('\n'), b = updated.readAll().split('\n');
    for (qsizetype i = 0; i < std::min(a.size(), b.size()); ++i)
        QVERIFY2(a[i] == b[i], qPrintable(QStringLiteral("line %1: \"%2\", lupdate writes \"%3\"")
                                              .arg(i + 1)
                                              .arg(QString::fromUtf8(a[i]).trimmed(),
                                                   QString::fromUtf8(b[i]).trimmed())));
    QCOMPARE(a.size(), b.size());
}

void TestTranslations::translationsKeepTheirPlaceMarkers()
{
    for (const Message &m : readTs(QStringLiteral(KDX_TS_FILE))) {
        for (const QString &form : m.forms) {
            if (form.isEmpty())
                continue;
            QVERIFY2(placeMarkers(form) == placeMarkers(m.source), qPrintable(describe(m)));
            // A line break or a leading space the code relies on stays.
            QVERIFY2(form.startsWith(u'\n') == m.source.startsWith(u'\n'), qPrintable(describe(m)));
            QVERIFY2(form.startsWith(u' ') == m.source.startsWith(u' ') ||
                         m.context == u"kdx::Form1",
                     qPrintable(describe(m)));
        }
    }
}

void TestTranslations::translationsSayNothingInHungarian()
{
    static const QRegularExpression accented(QStringLiteral("[áéíóöőúüűÁÉÍÓÖŐÚÜŰ]"));
    for (const Message &m : readTs(QStringLiteral(KDX_TS_FILE))) {
        for (const QString &form : m.forms)
            QVERIFY2(!accented.match(form).hasMatch(), qPrintable(describe(m) + " → " + form));
    }
}

QTEST_GUILESS_MAIN(TestTranslations)
#include "tst_translations.moc"
