#include "platform/fake/FakeFileDialogService.h"

QStringList FakeFileDialogService::openFiles(const QString& title, const QString& filter) {
    m_requests.append({false, title, filter, QString()});
    if (m_open.empty()) {
        return {};
    }
    QStringList files = m_open.front();
    m_open.pop_front();
    return files;
}

QString FakeFileDialogService::saveFile(const QString& title, const QString& filter,
                                        const QString& fileName) {
    m_requests.append({true, title, filter, fileName});
    if (m_save.empty()) {
        return {};
    }
    QString file = m_save.front();
    m_save.pop_front();
    return file;
}
