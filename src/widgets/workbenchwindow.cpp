#include "workbenchwindow.h"

#include "binding.h"
#include "capturechart.h"
#include "core/capturecsv.h"
#include "core/commands.h"
#include "core/readingbuffer.h"
#include "core/scopemath.h"
#include "core/steadyclock.h"
#include "figurestable.h"
#include "filechooser.h"
#include "livescope.h"
#include "operations/capturestore.h"
#include "operations/stepcapture.h"

#include <QBuffer>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QSettings>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include <utility>

namespace kdx {

const char *const WorkbenchWindow::kTitle = QT_TRANSLATE_NOOP("kdx::WorkbenchWindow", "Hangolás");

namespace {

const char *const kGeometryKey = "workbench/geometry";
const char *const kCsvFilter = QT_TRANSLATE_NOOP("kdx::WorkbenchWindow", "CSV fájl (*.csv)");
constexpr int kStatusIntervalMs = 250;

QPushButton *button(const QString &text, QWidget *parent)
{
    return new QPushButton(text, parent);
}

QSpinBox *spin(int lo, int hi, int value, const QString &name, QWidget *parent)
{
    auto *box = new QSpinBox(parent);
    box->setRange(lo, hi);
    box->setValue(value);
    box->setAccessibleName(name);
    return box;
}

} // namespace

WorkbenchWindow::WorkbenchWindow(const WorkbenchServices &services, QWidget *parent)
    : QWidget(parent, Qt::Window), m_s(services)
{
    setWindowTitle(tr(kTitle));
    setObjectName(QStringLiteral("Workbench"));

    m_steps = spin(1, 9999, 2000, tr("Lépés"), this);
    m_window = spin(50, 10000, 1000, tr("Felvételi idő"), this);
    m_window->setSingleStep(100);
    m_window->setSuffix(QStringLiteral(" ms"));
    m_pairs = spin(1, 20, 3, tr("Párok"), this);
    m_captureOne = button(tr("Lépés felvétele"), this);
    m_capturePairs = button(tr("Párok felvétele"), this);
    m_cancel = button(tr("Megszakítás"), this);
    m_cancel->setEnabled(false);
    m_captureOne->setToolTip(tr("Egy lépés, mindig az előzővel ellentétes irányba"));
    m_capturePairs->setToolTip(tr("+N és -N lépés, egymás után, K-szor"));

    auto *bar = new QHBoxLayout;
    bar->addWidget(new QLabel(tr("Lépés:"), this));
    bar->addWidget(m_steps);
    bar->addWidget(new QLabel(tr("Idő:"), this));
    bar->addWidget(m_window);
    bar->addWidget(m_captureOne);
    bar->addSpacing(12);
    bar->addWidget(new QLabel(tr("Párok:"), this));
    bar->addWidget(m_pairs);
    bar->addWidget(m_capturePairs);
    bar->addWidget(m_cancel);
    bar->addStretch();
    // The axis worked on names the captures, the history and the report.
    m_axis = new QLineEdit(this);
    m_axis->setAccessibleName(tr("Tengely neve"));
    m_axis->setPlaceholderText(tr("pl. 3. gép, X tengely"));
    m_axis->setToolTip(tr("A tengely neve: a felvételek, az előzmények és a jegyzőkönyv ezzel "
                          "jelölik; a program portonként megjegyzi."));
    m_axis->setMinimumWidth(180);
    if (m_s.axisName)
        bind(m_axis, *m_s.axisName);
    auto *axisLabel = new QLabel(tr("&Tengely:"), this);
    axisLabel->setBuddy(m_axis);
    m_history = new QPushButton(tr("Előzmények"), this);
    m_history->setToolTip(tr("Minden kiolvasás, írás, hangolás és felvétel, tengelyenként"));
    bar->addWidget(axisLabel);
    bar->addWidget(m_axis);
    bar->addWidget(m_history);

    m_scope = new LiveScope(*m_s.readings, this);
    m_tabs = new QTabWidget(this);
    m_tabs->addTab(m_scope, tr("Élő jel"));
    m_tabs->addTab(buildCaptureTab(), tr("Lépésválasz"));
    // Automatic tuning comes here.
    auto *tuning = new QLabel(tr("Az automata hangolás helye."), this);
    tuning->setObjectName(QStringLiteral("AutoTuningPanel"));
    tuning->setAlignment(Qt::AlignCenter);
    m_tabs->addTab(tuning, tr("Automata hangolás"));
    m_reportTab = buildReportTab();
    m_tabs->addTab(m_reportTab, tr("Jegyzőkönyv"));
    connect(m_tabs, &QTabWidget::currentChanged, this, [this] {
        if (m_tabs->currentWidget() == m_reportTab)
            previewReport();
    });

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("StatusLine"));
    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("MessageLine"));
    m_message->setWordWrap(true);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(m_tabs, 1);
    layout->addWidget(m_message);
    layout->addWidget(m_status);

    connect(m_captureOne, &QPushButton::clicked, this, &WorkbenchWindow::captureStep);
    connect(m_capturePairs, &QPushButton::clicked, this, &WorkbenchWindow::capturePairs);
    connect(m_cancel, &QPushButton::clicked, this, &WorkbenchWindow::cancelCapture);
    connect(m_history, &QPushButton::clicked, this, [this] {
        if (m_s.openHistory)
            m_s.openHistory();
    });
    m_statusTimer.setInterval(kStatusIntervalMs);
    connect(&m_statusTimer, &QTimer::timeout, this, &WorkbenchWindow::updateStatus);

    resize(1100, 700);
    const QByteArray geometry = QSettings().value(QLatin1String(kGeometryKey)).toByteArray();
    if (!geometry.isEmpty())
        restoreGeometry(geometry);
}

WorkbenchWindow::~WorkbenchWindow() = default;

QWidget *WorkbenchWindow::buildCaptureTab()
{
    auto *page = new QSplitter(Qt::Horizontal, this);
    m_chart = new CaptureChart(*m_s.store, page);
    auto *side = new QWidget(page);
    m_table = new FiguresTable(*m_s.store, side);

    auto *whole = button(tr("Teljes nézet"), side);
    auto *reference = button(tr("Referencia"), side);
    auto *remove = button(tr("Törlés"), side);
    auto *csv = button(tr("CSV mentés"), side);
    auto *csvAll = button(tr("Mind CSV-be"), side);
    auto *load = button(tr("CSV betöltés"), side);
    auto *png = button(tr("PNG mentés"), side);
    reference->setToolTip(tr("A kijelölt felvétel lesz a referencia"));
    load->setToolTip(tr("Korábbi felvétel betöltése összehasonlításhoz"));
    auto *buttons = new QGridLayout;
    buttons->addWidget(whole, 0, 0);
    buttons->addWidget(reference, 0, 1);
    buttons->addWidget(remove, 0, 2);
    buttons->addWidget(csv, 1, 0);
    buttons->addWidget(csvAll, 1, 1);
    buttons->addWidget(load, 1, 2);
    buttons->addWidget(png, 1, 3);
    auto *cursor = new QLabel(side);
    auto *sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    sideLayout->addWidget(m_table, 1);
    sideLayout->addLayout(buttons);
    sideLayout->addWidget(cursor);
    page->setStretchFactor(0, 3);
    page->setStretchFactor(1, 2);
    page->setSizes({500, 500});

    connect(whole, &QPushButton::clicked, m_chart, &CaptureChart::wholeView);
    connect(reference, &QPushButton::clicked, this, &WorkbenchWindow::setReference);
    connect(remove, &QPushButton::clicked, this, &WorkbenchWindow::deleteSelected);
    connect(csv, &QPushButton::clicked, this, &WorkbenchWindow::exportSelectedCsv);
    connect(csvAll, &QPushButton::clicked, this, &WorkbenchWindow::exportAllCsv);
    connect(load, &QPushButton::clicked, this, &WorkbenchWindow::importCsv);
    connect(png, &QPushButton::clicked, this, &WorkbenchWindow::exportPng);
    connect(m_chart, &ScopeView::cursorsChanged, cursor,
            [this, cursor] { cursor->setText(m_chart->cursorText()); });
    return page;
}

QWidget *WorkbenchWindow::buildReportTab()
{
    auto *page = new QWidget(this);
    m_note = new QPlainTextEdit(page);
    m_note->setAccessibleName(tr("Megjegyzés a jegyzőkönyvbe"));
    m_note->setPlaceholderText(
        tr("Megjegyzés a jegyzőkönyvbe (a gép, a megrendelő, ami a hangoláskor feltűnt)"));
    m_note->setTabChangesFocus(true);
    m_note->setMaximumHeight(90);
    auto *preview = new QPushButton(tr("Előnézet frissítése"), page);
    m_saveReport = new QPushButton(tr("Jegyzőkönyv mentése (PDF és HTML)..."), page);
    m_saveReport->setToolTip(tr("A tengely üzembe helyezési jegyzőkönyve erről a munkamenetről: "
                                "A4 PDF, és ugyanez HTML-ben mellette"));
    m_preview = new QTextBrowser(page);
    m_preview->setAccessibleName(tr("A jegyzőkönyv előnézete"));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(preview);
    buttons->addWidget(m_saveReport);
    buttons->addStretch();
    auto *noteLabel = new QLabel(tr("&Megjegyzés:"), page);
    noteLabel->setBuddy(m_note);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(noteLabel);
    layout->addWidget(m_note);
    layout->addLayout(buttons);
    layout->addWidget(m_preview, 1);
    connect(preview, &QPushButton::clicked, this, &WorkbenchWindow::previewReport);
    connect(m_saveReport, &QPushButton::clicked, this, &WorkbenchWindow::saveReport);
    return page;
}

ReportInput WorkbenchWindow::currentReport() const
{
    ReportInput input = m_s.reportInput ? m_s.reportInput() : ReportInput();
    input.note = m_note->toPlainText();
    return input;
}

void WorkbenchWindow::previewReport()
{
    const ReportInput input = currentReport();
    const ReportContent content = reportContent(input);
    const QString chart = QStringLiteral("kdx-report-preview.png");
    m_preview->document()->addResource(QTextDocument::ImageResource, QUrl(chart),
                                       reportChart(content, QSize(1280, 512)));
    m_preview->setHtml(reportHtml(input, content, chart));
}

void WorkbenchWindow::saveReport()
{
    const ReportInput input = currentReport();
    QString stem = tr("jegyzokonyv");
    const QString name = input.axis.name.trimmed();
    if (!name.isEmpty()) {
        // Only what every file system takes goes into the proposed name.
        QString safe;
        for (const QChar ch : name)
            safe += ch.isLetterOrNumber() ? ch : QLatin1Char('_');
        stem += QLatin1Char('-') + safe;
    }
    QString path = m_s.files->saveFileName(this, tr("Jegyzőkönyv mentése"),
                                           proposedName(stem, QStringLiteral(".pdf")),
                                           tr("PDF dokumentum (*.pdf)"));
    if (path.isEmpty())
        return;
    if (!path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        path += QStringLiteral(".pdf");
    const QString html = path.left(path.size() - 4) + QStringLiteral(".html");
    const QString failed = writeReport(input, path, html);
    if (!failed.isEmpty()) {
        m_s.tell(failed);
        return;
    }
    m_message->setText(tr("Jegyzőkönyv mentve: %1 és %2")
                           .arg(QDir::toNativeSeparators(path), QFileInfo(html).fileName()));
}

void WorkbenchWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_s.stepCount)
        if (const int n = m_s.stepCount(); n >= 1 && !m_busy)
            m_steps->setValue(n);
    m_countersAtOpen = m_s.link->counters();
    m_scope->setActive(true);
    m_statusTimer.start();
    updateStatus();
}

void WorkbenchWindow::closeEvent(QCloseEvent *event)
{
    QSettings().setValue(QLatin1String(kGeometryKey), saveGeometry());
    m_scope->setActive(false);
    m_statusTimer.stop();
    event->accept();
    // The axis is left stopped, in step mode; a capture on its way ends first.
    if (m_busy) {
        m_cancelRequested = true;
        m_s.capture->cancel();
        m_stopWhenDone = true;
    } else {
        m_s.stopAndReset();
    }
}

void WorkbenchWindow::updateStatus()
{
    const QLocale locale;
    const ReadingBuffer &readings = *m_s.readings;
    const double rate = sampleRateHz(readings, steadyNowNs());
    // The bytes of one exchange: the poll and an answer as long as the last.
    const int replyBytes =
        readings.empty() ? 5 : int(QByteArray::number(readings.latest().raw).size()) + 4;
    const double limit = lineLimitHz(int(cmd::positionPoll().size()), replyBytes);
    const LinkCounters &now = m_s.link->counters();
    m_status->setText(tr("Mintavétel: %1 /s (a vonal határának %2 %-a)   Hibák a megnyitás óta: "
                         "időtúllépés %3, értelmezhetetlen válasz %4, újraküldés %5")
                          .arg(locale.toString(rate, 'f', 0))
                          .arg(locale.toString(limit > 0 ? 100 * rate / limit : 0, 'f', 0))
                          .arg(now.timeouts - m_countersAtOpen.timeouts)
                          .arg(now.uncut - m_countersAtOpen.uncut)
                          .arg(now.resends - m_countersAtOpen.resends));
}

void WorkbenchWindow::setBusy(bool busy)
{
    m_busy = busy;
    // A control that is disabled with the focus hands it on to the next one,
    // which would be the axis name with its text selected for typing over:
    // the focus goes to "Megszakítás" and back to the capture instead.
    QWidget *focused = focusWidget();
    if (busy) {
        m_cancel->setEnabled(true);
        if (focused == m_captureOne || focused == m_capturePairs)
            m_cancel->setFocus();
    }
    for (QWidget *w : {static_cast<QWidget *>(m_captureOne), static_cast<QWidget *>(m_capturePairs),
                       static_cast<QWidget *>(m_steps), static_cast<QWidget *>(m_window),
                       static_cast<QWidget *>(m_pairs), m_tabs->widget(1)})
        w->setEnabled(!busy);
    if (!busy) {
        if (focused == m_cancel)
            m_captureOne->setFocus();
        m_cancel->setEnabled(false);
    }
    // The capture's readings come first: the scope does not redraw meanwhile.
    m_scope->setActive(!busy && isVisible());
}

void WorkbenchWindow::captureStep()
{
    runCapture(false);
}

void WorkbenchWindow::capturePairs()
{
    runCapture(true);
}

void WorkbenchWindow::cancelCapture()
{
    if (!m_busy)
        return;
    m_cancelRequested = true;
    m_s.capture->cancel();
}

void WorkbenchWindow::runCapture(bool pairs)
{
    if (m_busy)
        return;
    StepCapture &capture = *m_s.capture;
    const int n = m_steps->value();
    const double windowMs = m_window->value();
    const int k = m_pairs->value();
    m_message->setText(tr("Felvétel..."));
    setBusy(true);
    m_cancelRequested = false;
    m_captureStarted = false;
    const int steps = (pairs ? 1 : m_s.store->nextDirection()) * n;
    const bool accepted = m_s.runOwningLine(
        [this, &capture, pairs, steps, k, windowMs] {
            if (m_cancelRequested)
                return;
            m_captureStarted = true;
            if (pairs)
                capture.runPairs(steps, k, windowMs);
            else
                capture.run(steps, windowMs);
        },
        [this, pairs, k] { finishCapture(pairs, k); });
    if (!accepted) {
        setBusy(false);
        if (!pairs)
            m_s.store->nextDirection(); // this step did not go out
        m_message->setText(tr("A vonal most foglalt, próbáld újra."));
    }
}

void WorkbenchWindow::finishCapture(bool pairs, int pairCount)
{
    setBusy(false);
    StepCapture &capture = *m_s.capture;
    CaptureStore &store = *m_s.store;
    int kept = 0;
    bool complete = m_captureStarted;
    if (m_captureStarted) {
        // Whatever came in is kept, also from a capture that ended early.
        const std::vector<Capture> got =
            pairs ? capture.series() : std::vector<Capture>{capture.last()};
        const int group = pairs ? store.newGroup() : 0;
        for (const Capture &c : got) {
            complete = complete && c.record.complete;
            if (c.record.tMs.empty())
                continue;
            store.add(c, false, group);
            ++kept;
        }
        complete = complete && int(got.size()) == (pairs ? 2 * pairCount : 1);
    } else if (!pairs) {
        store.nextDirection(); // this step did not go out
    }
    if (complete) {
        m_message->setText(tr("Kész: %n felvétel.", nullptr, kept));
    } else {
        QString why = capture.stepRefused() ? tr("a mikrokontroller nem fogadta el a lépést")
                                            : m_s.link->problem();
        if (why.isEmpty())
            why = tr("megszakítva");
        m_message->setText(
            tr("A felvétel hiányos (%1); %n felvétel megmaradt.", nullptr, kept).arg(why));
    }
    if (kept > 0) {
        m_tabs->setCurrentIndex(1);
        m_chart->wholeView();
    }
    if (std::exchange(m_stopWhenDone, false))
        m_s.stopAndReset();
}

QString WorkbenchWindow::proposedName(const QString &stem, const QString &suffix) const
{
    const QString folder = m_s.folder ? m_s.folder() : QString();
    return QDir(folder).filePath(
        stem + QDateTime::currentDateTime().toString(QStringLiteral("-yyyyMMdd-HHmmss")) + suffix);
}

bool WorkbenchWindow::writeFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit()) {
        m_message->setText(tr("Mentve: %1").arg(QDir::toNativeSeparators(path)));
        return true;
    }
    m_s.tell(tr("A fájl nem írható: %1").arg(QDir::toNativeSeparators(path)));
    return false;
}

void WorkbenchWindow::exportSelectedCsv()
{
    const int entry = m_table->currentEntry();
    if (entry < 0) {
        m_message->setText(tr("Előbb jelölj ki egy felvételt a táblázatban."));
        return;
    }
    const QString path = m_s.files->saveFileName(
        this, tr("Felvétel mentése"), proposedName(tr("lepesvalasz"), QStringLiteral(".csv")),
        tr(kCsvFilter));
    if (!path.isEmpty())
        writeFile(path, captureToCsv(m_s.store->at(entry).capture));
}

void WorkbenchWindow::exportAllCsv()
{
    if (m_s.store->size() == 0) {
        m_message->setText(tr("Nincs még felvétel."));
        return;
    }
    const QString path = m_s.files->saveFileName(
        this, tr("Összes felvétel mentése"),
        proposedName(tr("lepesvalaszok"), QStringLiteral(".csv")), tr(kCsvFilter));
    if (path.isEmpty())
        return;
    std::vector<Capture> all;
    for (const CaptureStore::Entry &e : m_s.store->entries())
        all.push_back(e.capture);
    writeFile(path, capturesToCsv(all));
}

void WorkbenchWindow::importCsv()
{
    const QString path = m_s.files->openFileName(
        this, tr("Felvétel betöltése"), m_s.folder ? m_s.folder() : QString(), tr(kCsvFilter));
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_s.tell(tr("A fájl nem olvasható: %1").arg(QDir::toNativeSeparators(path)));
        return;
    }
    const CsvResult result = capturesFromCsv(file.readAll());
    if (!result.error.isEmpty()) {
        m_s.tell(tr("Hibás CSV fájl, %1. sor: %2\nSemmi sem töltődött be.")
                     .arg(result.errorLine)
                     .arg(result.error));
        return;
    }
    const QString name = QFileInfo(path).fileName();
    for (Capture c : result.captures) {
        if (c.label.isEmpty())
            c.label = captureLabel(c);
        c.label += QStringLiteral(" – ") + name;
        m_s.store->add(c, true);
    }
    m_message->setText(tr("Betöltve: %n felvétel.", nullptr, int(result.captures.size())));
    m_tabs->setCurrentIndex(1);
    m_chart->wholeView();
}

void WorkbenchWindow::exportPng()
{
    QWidget *chart = m_tabs->currentIndex() == 0 ? static_cast<QWidget *>(m_scope->view())
                                                 : static_cast<QWidget *>(m_chart);
    const QString path = m_s.files->saveFileName(
        this, tr("Grafikon mentése"), proposedName(tr("grafikon"), QStringLiteral(".png")),
        tr("PNG kép (*.png)"));
    if (path.isEmpty())
        return;
    // Twice the screen's scale: sharp when printed or zoomed.
    const qreal scale = 2 * chart->devicePixelRatioF();
    QPixmap picture(chart->size() * scale);
    picture.setDevicePixelRatio(scale);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    chart->render(&painter);
    painter.end();
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        picture.save(&buffer, "PNG");
    }
    writeFile(path, bytes);
}

void WorkbenchWindow::setReference()
{
    const int entry = m_table->currentEntry();
    m_s.store->setReference(entry == m_s.store->reference() ? -1 : entry);
}

void WorkbenchWindow::deleteSelected()
{
    const int entry = m_table->currentEntry();
    if (entry >= 0)
        m_s.store->remove(entry);
}

} // namespace kdx
