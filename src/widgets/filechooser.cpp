#include "filechooser.h"

#include <QFileDialog>

namespace kdx {

QString DialogFileChooser::saveFileName(QWidget *parent, const QString &title,
                                        const QString &proposed, const QString &filter)
{
    return QFileDialog::getSaveFileName(parent, title, proposed, filter);
}

QString DialogFileChooser::openFileName(QWidget *parent, const QString &title,
                                        const QString &folder, const QString &filter)
{
    return QFileDialog::getOpenFileName(parent, title, folder, filter);
}

} // namespace kdx
