#include "platform/QtFileDialogService.h"

#include <QApplication>
#include <QFileDialog>

#include "platform/FileDialogFilter.h"

QStringList QtFileDialogService::openFiles(const QString& title, const QString& filter) {
    return QFileDialog::getOpenFileNames(QApplication::activeWindow(), title, QString(),
                                         FileDialogFilter::toQt(filter));
}

QString QtFileDialogService::saveFile(const QString& title, const QString& filter,
                                      const QString& fileName) {
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), title, fileName,
                                        FileDialogFilter::toQt(filter));
}
