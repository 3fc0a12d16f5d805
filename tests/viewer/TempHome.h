#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <utility>
#include <vector>

// Points HOME and the XDG folders into a fresh temporary folder for one test and puts the
// previous values back afterwards, so no test touches the real home.
class TempHome {
  public:
    TempHome();
    ~TempHome();

    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;

    QString root() const { return m_dir.path(); }
    QString home() const { return root() + QStringLiteral("/home"); }
    QString configHome() const { return root() + QStringLiteral("/config"); }
    QString dataHome() const { return root() + QStringLiteral("/data"); }
    QString cacheHome() const { return root() + QStringLiteral("/cache"); }

    QString settingsFile() const;
    QString desktopLauncher() const;
    QString menuLauncher() const;
    QString scratchFolder() const;

    // Sets a variable for the rest of the test; it is put back with the others.
    void set(const char* name, const QByteArray& value);
    void unset(const char* name);

    static const std::vector<const char*>& variables();

  private:
    void remember(const char* name);

    QTemporaryDir m_dir;
    std::vector<std::pair<const char*, std::pair<bool, QByteArray>>> m_saved;
};
