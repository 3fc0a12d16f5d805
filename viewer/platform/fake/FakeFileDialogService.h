#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <deque>

#include "platform/FileDialogService.h"

// Records each dialog and answers from queues; an empty queue means the user cancelled.
class FakeFileDialogService : public FileDialogService {
  public:
    struct Request {
        bool save;
        QString title;
        QString filter;
        QString fileName;
    };

    QStringList openFiles(const QString& title, const QString& filter) override;
    QString saveFile(const QString& title, const QString& filter, const QString& fileName) override;

    void queueOpen(const QStringList& files) { m_open.push_back(files); }
    void queueSave(const QString& file) { m_save.push_back(file); }
    const QList<Request>& requests() const { return m_requests; }

  private:
    QList<Request> m_requests;
    std::deque<QStringList> m_open;
    std::deque<QString> m_save;
};
