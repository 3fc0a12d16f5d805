#include "TempHome.h"

#include <QDir>
#include <algorithm>

const std::vector<const char*>& TempHome::variables() {
    static const std::vector<const char*> names{"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME",
                                                "XDG_CACHE_HOME"};
    return names;
}

TempHome::TempHome() {
    for (const char* name : variables()) {
        remember(name);
    }
    QDir().mkpath(home());
    set("HOME", home().toLocal8Bit());
    set("XDG_CONFIG_HOME", configHome().toLocal8Bit());
    set("XDG_DATA_HOME", dataHome().toLocal8Bit());
    set("XDG_CACHE_HOME", cacheHome().toLocal8Bit());
}

TempHome::~TempHome() {
    for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it) {
        if (it->second.first) {
            qputenv(it->first, it->second.second);
        } else {
            qunsetenv(it->first);
        }
    }
}

void TempHome::remember(const char* name) {
    const bool known = std::any_of(m_saved.begin(), m_saved.end(), [name](const auto& saved) {
        return qstrcmp(saved.first, name) == 0;
    });
    if (!known) {
        m_saved.push_back({name, {qEnvironmentVariableIsSet(name), qgetenv(name)}});
    }
}

void TempHome::set(const char* name, const QByteArray& value) {
    remember(name);
    qputenv(name, value);
}

void TempHome::unset(const char* name) {
    remember(name);
    qunsetenv(name);
}

QString TempHome::settingsFile() const {
    return configHome() + QStringLiteral("/harventis-dvr-tools/mtconfig.mp4");
}

QString TempHome::desktopLauncher() const {
    return home() + QStringLiteral("/Desktop/Harventis DVR Tools.desktop");
}

QString TempHome::menuLauncher() const {
    return dataHome() +
           QStringLiteral("/applications/Harventis DVR Tools/Harventis DVR Tools.desktop");
}

QString TempHome::scratchFolder() const {
    return cacheHome() + QStringLiteral("/HarventisDVRtempFile");
}
