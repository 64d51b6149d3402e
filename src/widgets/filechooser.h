#pragma once

#include <QString>

class QWidget;

namespace kdx {

// File names for saving and loading, asked of the operator. Tests give the
// names instead of showing a dialog.
class FileChooser {
public:
    virtual ~FileChooser() = default;
    // Empty when the operator cancelled.
    virtual QString saveFileName(QWidget *parent, const QString &title, const QString &proposed,
                                 const QString &filter) = 0;
    virtual QString openFileName(QWidget *parent, const QString &title, const QString &folder,
                                 const QString &filter) = 0;
};

// The platform's file dialogs.
class DialogFileChooser : public FileChooser {
public:
    QString saveFileName(QWidget *parent, const QString &title, const QString &proposed,
                         const QString &filter) override;
    QString openFileName(QWidget *parent, const QString &title, const QString &folder,
                         const QString &filter) override;
};

} // namespace kdx
