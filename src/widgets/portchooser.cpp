#include "portchooser.h"

#include "core/language.h"
#include "link/portcatalogue.h"
#include "plant.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kdx {

namespace {

enum Column { Device, Description, Manufacturer, SerialNumber, ColumnCount };
constexpr int kChoiceRole = Qt::UserRole;

QString present(const QString &text)
{
    return text.isEmpty() ? QStringLiteral("–") : text;
}

} // namespace

PortChooser::PortChooser(const PortCatalogue &catalogue, const PortChoice &current,
                         const QString &problem, LanguageMemory *languages, QWidget *parent)
    : QDialog(parent), m_catalogue(catalogue)
{
    setObjectName(QStringLiteral("PortChooser"));
    setWindowTitle(tr("Port kiválasztása"));

    auto *layout = new QVBoxLayout(this);
    auto *intro = new QLabel(tr("Melyik porton érhető el a mikrokontroller? (38400,N,8,1)"), this);
    layout->addWidget(intro);
    if (!problem.isEmpty()) {
        auto *now = new QLabel(this);
        now->setObjectName(QStringLiteral("PortProblem"));
        now->setTextFormat(Qt::PlainText);
        now->setWordWrap(true);
        now->setText(tr("A mostani port hibája: %1").arg(problem));
        layout->addWidget(now);
    }

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("PortList"));
    m_list->setColumnCount(ColumnCount);
    m_list->setHeaderLabels({tr("Port"), tr("Leírás"), tr("Gyártó"), tr("Sorozatszám")});
    m_list->setRootIsDecorated(false);
    m_list->setAllColumnsShowFocus(true);
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_list->setMinimumSize(560, 220);
    layout->addWidget(m_list);

#ifdef Q_OS_LINUX
    auto *access = new QLabel(tr("Linuxon a soros portot a dialout csoport tagjai használhatják: "
                                 "sudo adduser <felhasználó> dialout, majd újra bejelentkezés."),
                              this);
    access->setObjectName(QStringLiteral("DialoutNote"));
    access->setWordWrap(true);
    layout->addWidget(access);
#endif

    if (languages) {
        // Both names, so that an operator who reads only one of the two finds it.
        auto *row = new QFormLayout;
        m_language = new QComboBox(this);
        m_language->setObjectName(QStringLiteral("LanguageList"));
        for (Language l : {Language::Hungarian, Language::English})
            m_language->addItem(languageName(l), int(l));
        m_language->setCurrentIndex(int(languages->forThisRun(std::nullopt)));
        row->addRow(tr("Nyelv / Language:"), m_language);
        layout->addLayout(row);
        m_languageNote = new QLabel(this);
        m_languageNote->setObjectName(QStringLiteral("LanguageNote"));
        m_languageNote->setWordWrap(true);
        layout->addWidget(m_languageNote);
        const auto showNote = [this] {
            const auto chosen = Language(m_language->currentData().toInt());
            m_languageNote->setText(
                chosen == languageInUse()
                    ? QString()
                    : tr("A választott nyelv a program következő indításakor lép életbe."));
            m_languageNote->setVisible(!m_languageNote->text().isEmpty());
        };
        showNote();
        connect(m_language, &QComboBox::currentIndexChanged, this, [languages, showNote, this] {
            languages->remember(Language(m_language->currentData().toInt()));
            showNote();
        });
    }

    auto *buttons = new QDialogButtonBox(this);
    m_open = buttons->addButton(tr("Megnyitás"), QDialogButtonBox::AcceptRole);
    buttons->addButton(tr("Mégse"), QDialogButtonBox::RejectRole);
    m_refresh = buttons->addButton(tr("Frissítés"), QDialogButtonBox::ActionRole);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_refresh, &QPushButton::clicked, this, [this] {
        const std::optional<PortChoice> selected = choice();
        fill();
        if (selected)
            select(*selected);
    });
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(m_list, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem *item) { m_open->setEnabled(item != nullptr); });

    fill();
    select(current);
    m_open->setEnabled(m_list->currentItem() != nullptr);
}

void PortChooser::fill()
{
    m_list->clear();
    auto add = [this](const QStringList &columns, const PortChoice &choice) {
        auto *item = new QTreeWidgetItem(m_list, columns);
        item->setData(Device, kChoiceRole, choice.toText());
    };
    for (const PortInfo &port : m_catalogue.ports()) {
        add({port.device, present(port.description), present(port.manufacturer),
             present(port.serialNumber)},
            PortChoice::serial(port.device));
    }
    add({tr("szimulátor"), tr("beépített szimulált vezérlő és tengely"), present({}), present({})},
        PortChoice::simulator());
    for (const QString &preset : simulatorPresets()) {
        add({tr("szimulátor: %1").arg(preset),
             tr("beépített szimulált vezérlő, %1 tengely").arg(preset), present({}), present({})},
            PortChoice::simulator(preset));
    }
}

void PortChooser::select(const PortChoice &choice)
{
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = m_list->topLevelItem(i);
        const std::optional<PortChoice> listed =
            PortChoice::fromText(item->data(Device, kChoiceRole).toString());
        if (listed && sameLine(*listed, choice)) {
            m_list->setCurrentItem(item);
            return;
        }
    }
}

std::optional<PortChoice> PortChooser::choice() const
{
    const QTreeWidgetItem *item = m_list->currentItem();
    if (!item)
        return std::nullopt;
    return PortChoice::fromText(item->data(Device, kChoiceRole).toString());
}

std::optional<PortChoice> PortChooser::ask(const PortCatalogue &catalogue,
                                           const PortChoice &current, const QString &problem,
                                           LanguageMemory *languages, QWidget *parent)
{
    PortChooser chooser(catalogue, current, problem, languages, parent);
    if (chooser.exec() != QDialog::Accepted)
        return std::nullopt;
    return chooser.choice();
}

QStringList PortChooser::simulatorPresets()
{
    QStringList names = sim::plantNames();
    names.removeAll(QLatin1String(kDefaultPlant));
    return names;
}

} // namespace kdx
