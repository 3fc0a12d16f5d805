#pragma once

#include "platform/FileDialogService.h"

class QtFileDialogService : public FileDialogService {
  public:
    QStringList openFiles(const QString& title, const QString& filter) override;
    QString saveFile(const QString& title, const QString& filter, const QString& fileName) override;
};
