#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A temporary folder of skin files and pictures for one test.
class SkinFolder {
  public:
    // Writes text to name (folders are made as needed) and returns the file's path.
    QString write(const QString& name, const QByteArray& text) const;
    QString path(const QString& name) const;

    // An SVG picture of one colour.
    static QByteArray solid(int width, int height, const char* color);

  private:
    QTemporaryDir m_dir;
};
