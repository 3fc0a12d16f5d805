#include "shell/Startup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <stdexcept>

#include "platform/MessageBoxService.h"
#include "shell/AppPaths.h"
#include "shell/Application.h"
#include "shell/CommandLine.h"
#include "shell/DesktopLaunchers.h"
#include "shell/StartupWindows.h"
#include "shell/StringTable.h"
#include "shell/TextId.h"
#include "shell/TrueCasePath.h"
#include "shell/clsIniFile.h"

const QString Startup::kFatalTitle = QStringLiteral("system information");
const QString Startup::kFatalText =
    QStringLiteral("System resource lost,please reboot or re-setup");

namespace {

const QString kSection = QStringLiteral("config");
const QString kLanguageKey = QStringLiteral("mainv");
const QString kAreaKey = QStringLiteral("Area");
const QString kUnitKey = QStringLiteral("Unit");
// English: a language with texts, so a first start can succeed.
const QString kDefaultLanguage = QStringLiteral("1001");
const QString kDefaultArea = QStringLiteral("2021");
const QString kDefaultUnit = QStringLiteral("1001");

std::runtime_error typeMismatch() {
    return std::runtime_error("Type mismatch");
}

// Whether start-up can go on with a stored number. A language without texts or a time-zone
// entry beyond the list would end every start with the fatal message, and the user could
// not reach the settings window to choose again. Any unit digit will do: an unknown one
// keeps the previous factor.
bool inRange(const QString& key, int value, const StringTable& strings) {
    if (key == kLanguageKey) {
        try {
            strings.languageText(value % 10, TextId::kCaption);
            return true;
        } catch (const std::runtime_error&) {
            return false;
        }
    }
    if (key == kAreaKey) {
        return value >= TextId::kFirstTimeZone && value <= TextId::kLastTimeZone;
    }
    return true;
}

}  // namespace

Startup::Startup(Application& app) : m_app(app) {}

int Startup::runInstaller(const QString& commandLine) {
    try {
        const QStringList arguments = CommandLine::split(commandLine);
        m_app.setInstallerArguments(arguments);
        if (arguments.size() == 2) {
            bool ok = false;
            const long long language = arguments.at(1).trimmed().toLongLong(&ok);
            if (!ok) {
                throw typeMismatch();
            }
            const QString caption = m_app.strings().languageText(language, TextId::kCaption);
            const QString target = TrueCasePath::resolve(arguments.at(0));
            const DesktopLaunchers launchers(QFileInfo(m_app.programFile()).fileName());
            return launchers.create(caption, target) ? 0 : 1;
        }
        if (arguments.size() > 2) {
            const DesktopLaunchers launchers(QFileInfo(m_app.programFile()).fileName());
            return launchers.remove() ? 0 : 1;
        }
        // One argument, or a line of nothing but "*": nothing to install or remove.
        return 0;
    } catch (const std::exception& error) {
        reportFatal(QString::fromStdString(error.what()));
        return 1;
    }
}

bool Startup::runInteractive() {
    try {
        bindSettings();

        m_app.setLanguageCode(numberSetting(kLanguageKey, kDefaultLanguage));

        m_app.setTimeZoneEntry(numberSetting(kAreaKey, kDefaultArea));
        // Only a check that the entry exists in this language; its text is not used.
        m_app.text(m_app.timeZoneEntry());

        m_app.setUnitCode(numberSetting(kUnitKey, kDefaultUnit));

        if (StartupWindows* windows = m_app.startupWindows()) {
            windows->showSplash();
            windows->dockControlBar();
            windows->dockMapPanel();
            windows->showMainWindow();
        }
        return true;
    } catch (const StartupWindows::ProgramEnded&) {
        return false;
    } catch (const std::exception& error) {
        reportFatal(QString::fromStdString(error.what()));
        return false;
    }
}

void Startup::bindSettings() {
    const QString path = AppPaths::settingsFile();
    if (!QFileInfo::exists(path)) {
        const QString folder = QFileInfo(path).absolutePath();
        QFile file(path);
        if (!QDir().mkpath(folder) || !file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            throw std::runtime_error(
                QStringLiteral("Cannot create the settings file %1").arg(path).toStdString());
        }
    }
    m_app.settings().SetParamter(kSection, path);
}

int Startup::numberSetting(const QString& key, const QString& defaultValue) {
    clsIniFile& settings = m_app.settings();
    bool ok = false;
    const int value = settings.GetSetting(key).toInt(&ok);
    if (ok && inRange(key, value, m_app.strings())) {
        return value;
    }
    // Unset, empty, damaged or out of range: such a value would end every start from now on.
    settings.SaveSetting(key, defaultValue);
    return defaultValue.toInt();
}

void Startup::reportFatal(const QString& description) {
    if (MessageBoxService* boxes = m_app.platform().messageBoxes) {
        boxes->show(MessageBoxService::Icon::Critical, MessageBoxService::Buttons::Ok, kFatalTitle,
                    kFatalText + description);
    }
}
