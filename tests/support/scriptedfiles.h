#pragma once

#include "widgets/filechooser.h"

#include <QStringList>

#include <deque>

// Hands out the file names a test has queued instead of showing a dialog,
// and remembers what was proposed.
class ScriptedFiles : public kdx::FileChooser {
public:
    QString saveFileName(QWidget *, const QString &, const QString &proposed,
                         const QString &) override
    {
        proposals << proposed;
        return take(saves);
    }
    QString openFileName(QWidget *, const QString &, const QString &folder,
                         const QString &) override
    {
        proposals << folder;
        return take(opens);
    }
    std::deque<QString> saves, opens;
    QStringList proposals;

private:
    static QString take(std::deque<QString> &names)
    {
        if (names.empty())
            return QString();
        QString name = names.front();
        names.pop_front();
        return name;
    }
};
