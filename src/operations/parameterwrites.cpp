#include "parameterwrites.h"

#include "core/commands.h"
#include "core/numberrules.h"
#include "link/seriallink.h"
#include "motormodes.h"
#include "parameterevents.h"
#include "parameterreads.h"
#include "paramrows.h"
#include "paramsetstore.h"
#include "positionmonitor.h"
#include "prompter.h"
#include "settledelay.h"

#include <QScopeGuard>

namespace kdx {

namespace {

const char *const kNoValue = QT_TRANSLATE_NOOP("ParameterWrites", "Nincs érték megadva.");
const char *const kNoValueTitle = QT_TRANSLATE_NOOP("ParameterWrites", "Hiba");

} // namespace

bool ParameterWrites::checkNewValue(int n, WriteKind kind)
{
    Text &value = m.rows.newValue(n);
    value.set(normalisedNewValue(value.text()));
    const Validation v = validateNewValue(n, kind, value.text());
    if (v.ok)
        return true;
    m.prompter.message(v.message, rangeMessageTitle());
    value.clear();
    m.rows.askForNewValue(n);
    return false;
}

void ParameterWrites::tellWritten(WriteRecord write)
{
    if (!m_events)
        return;
    write.readBack = m.rows.current(write.param).text();
    for (int n = 0; n < kParamCount; ++n)
        write.current[std::size_t(n)] = m.rows.current(n).text();
    m_events->written(write);
}

bool ParameterWrites::valueStillSendable(int n, WriteKind kind)
{
    if (m.rows.newValue(n).isEmpty()) {
        m.prompter.message(tr(kNoValue), tr(kNoValueTitle));
        return false;
    }
    // The value may have been typed over while the reads waited: only a
    // value that passes the same check as before goes to the controller.
    return checkNewValue(n, kind);
}

void ParameterWrites::testOne(int n)
{
    if (!checkNewValue(n, WriteKind::Test))
        return;

    if (n == 0) {
        m.delay.settle();
        m.reads.readOne(n);
    } else {
        m.reads.readOne(n);
        m.delay.settle();
    }
    m.link.send(cmd::bareReturn());
    m.reads.readOne(n);

    if (valueStillSendable(n, WriteKind::Test)) {
        m.busyPointer.set(true);
        const WriteRecord write{n, m.rows.current(n).text(), m.rows.newValue(n).text(), false, {},
                                {}};
        m.link.send(cmd::newValue(write.sent));
        const auto tell = qScopeGuard([this, &write] { tellWritten(write); });
        m.link.waitForInput();
        m.link.send(cmd::bareReturn());
        for (int i = 0; i < 4; ++i)
            m.reads.readOne(n);
    }

    m.busyPointer.set(false);
    m.link.send(cmd::bareReturn());
    m.monitor.monitorSwitch().set(true);
    m.motor.stopAndReset();
}

void ParameterWrites::saveOne(int n)
{
    if (!checkNewValue(n, WriteKind::Save))
        return;

    m.reads.readOne(n);
    m.link.send(cmd::bareReturn());
    m.reads.readOne(n);

    if (valueStillSendable(n, WriteKind::Save)) {
        const WriteRecord write{n, m.rows.current(n).text(), m.rows.newValue(n).text(), true, {},
                                {}};
        m.link.send(cmd::saveValue(write.sent));
        const auto tell = qScopeGuard([this, &write] { tellWritten(write); });
        m.link.waitForInput();
        for (int i = 0; i < 5; ++i)
            m.reads.readOne(n);
        m.link.send(cmd::bareReturn());
        m.monitor.monitorSwitch().set(true);
    }

    m.motor.stopAndReset();
}

int ParameterWrites::writeEachFilled(void (ParameterWrites::*write)(int))
{
    int empty = 0;
    for (int n = 0; n < kParamCount; ++n) {
        if (m.rows.newValue(n).isEmpty())
            ++empty;
        else
            (this->*write)(n);
    }
    return empty;
}

void ParameterWrites::testAll()
{
    m.busyPointer.set(true);
    m.monitor.stopPoll();
    if (writeEachFilled(&ParameterWrites::testOne) == kParamCount)
        m.prompter.message(tr("Nincs megadva új letölthető paraméter."));
    m.monitor.resumePoll();
    m.busyPointer.set(false);
    m.motor.stopAndReset();
}

void ParameterWrites::saveAll()
{
    m.busyPointer.set(true);
    m.monitor.stopPoll();
    const int empty = writeEachFilled(&ParameterWrites::saveOne);
    m.busyPointer.set(false);

    if (empty == kParamCount) {
        m.prompter.message(tr("Nincs legalább egy új paraméter. Nincs mentés."));
    } else {
        m.monitor.resumePoll();
        const bool toFile = m.prompter.question(
            tr("Microcontrollerbe az új paraméterek mentése megtörtént , szeretnéd "
               "KDXparam.txt filébe is menteni a beállításokat ?"),
            tr("Paraméterek mentése"));
        if (toFile) {
            m.busyPointer.set(true);
            m.store.storeCurrentSet();
        }
        m.busyPointer.set(false);
    }

    m.busyPointer.set(false);
    m.motor.stopAndReset();
}

} // namespace kdx
