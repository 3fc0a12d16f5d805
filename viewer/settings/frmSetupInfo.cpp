#include "settings/frmSetupInfo.h"

#include <QFile>
#include <QStringList>
#include <exception>

#include "platform/ProcessRunner.h"
#include "platform/SkinElement.h"
#include "platform/SkinHost.h"
#include "services/ControlBar.h"
#include "services/RecordingList.h"
#include "shell/AppPaths.h"
#include "shell/Application.h"
#include "shell/TextId.h"
#include "shell/WindowGeometry.h"
#include "shell/Windows.h"
#include "shell/clsIniFile.h"

frmSetupInfo::frmSetupInfo(Windows& windows, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint), Form(windows) {
    setObjectName(QStringLiteral("frmSetupInfo"));
    setModal(true);
}

frmSetupInfo::~frmSetupInfo() = default;

bool frmSetupInfo::Form_Load() {
    m_mainSkin = makeSkin();
    if (!loadSkin(app().languageNumber())) {
        reportMissingSystemFile();
        windows().endProgram(1);
        return false;
    }
    m_mainSkin->setClickHandler([this](SkinElement& element) { mainSkin_Click(element); });
    place();
    m_pendingLanguage = QString::number(app().languageCode());
    setLook(QStringLiteral("lang") + m_pendingLanguage, true);
    m_pendingUnit = QString::number(app().unitCode());
    setLook(QStringLiteral("unit") + m_pendingUnit, true);
    return true;
}

bool frmSetupInfo::loadSkin(int languageNumber) {
    return loadAndApply(m_mainSkin.get(),
                        programPath(QStringLiteral("skin/setup/%1.mp4").arg(languageNumber)), this);
}

void frmSetupInfo::setLook(const QString& name, bool selected) {
    if (SkinElement* element = m_mainSkin ? m_mainSkin->element(name) : nullptr) {
        element->setLook(selected ? SkinElement::Look::Selected : SkinElement::Look::Normal);
    }
}

QRect frmSetupInfo::placement(const QRect& workArea) {
    return WindowGeometry::centredIn(workArea, WindowGeometry::kSettingsSize, false);
}

void frmSetupInfo::place() {
    placeCentred(*this, WindowGeometry::kSettingsSize, ScreenArea::WorkArea, false);
}

void frmSetupInfo::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    place();
}

void frmSetupInfo::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    place();
}

void frmSetupInfo::mainSkin_Click(SkinElement& element) {
    try {
        const QString name = element.name().toUpper();
        if (name == QStringLiteral("LANG1001") || name == QStringLiteral("LANG1002")) {
            chooseLanguage(element.valueText());
        } else if (name == QStringLiteral("UNIT1001") || name == QStringLiteral("UNIT1002") ||
                   name == QStringLiteral("UNIT1003")) {
            chooseUnit(element.valueText());
        } else if (name == QStringLiteral("CMDCLOSE")) {
            cmdClose();
        }
    } catch (const std::exception&) {
        message(MessageBoxService::Icon::Critical, MessageBoxService::Buttons::Ok,
                TextId::kInformationPrompted, textOr(TextId::kSystemFileMissing));
    }
}

void frmSetupInfo::chooseLanguage(const QString& code) {
    m_pendingLanguage = code;
    // The window's own skin speaks the chosen language at once.
    if (!loadSkin(code.toInt() % 10)) {
        reportMissingSystemFile();
        reject();
        return;
    }
    setLook(QStringLiteral("lang") + m_pendingLanguage, true);
    setLook(QStringLiteral("unit") + m_pendingUnit, true);
}

void frmSetupInfo::chooseUnit(const QString& code) {
    m_pendingUnit = code;
    for (const char* unit : {"unit1001", "unit1002", "unit1003"}) {
        setLook(QString::fromLatin1(unit), false);
    }
    setLook(QStringLiteral("unit") + m_pendingUnit, true);
}

void frmSetupInfo::cmdClose() {
    const int language = m_pendingLanguage.toInt();
    if (language != app().languageCode()) {
        app().settings().SaveSetting(QStringLiteral("mainv"), m_pendingLanguage);
        app().setLanguageCode(language);
        // Asked in the language chosen.
        if (message(MessageBoxService::Icon::Question, MessageBoxService::Buttons::YesNo,
                    TextId::kInformationPrompted,
                    app().text(TextId::kRestartForLanguage)) == MessageBoxService::Answer::Yes &&
            restart()) {
            return;
        }
    }
    const int unit = m_pendingUnit.toInt();
    if (unit != app().unitCode()) {
        app().settings().SaveSetting(QStringLiteral("Unit"), m_pendingUnit);
        app().setUnitCode(unit);
        if (ControlBar* controlBar = windows().load<ControlBar>()) {
            controlBar->DrawCurves();
            controlBar->ShowUnitPicture();
        }
    }
    accept();
}

bool frmSetupInfo::restart() {
    RecordingList* list = windows().load<RecordingList>();
    const bool rows = list != nullptr && !list->serials().isEmpty();
    // Without its list written the new run would come up empty: this one goes on instead.
    if (rows && !list->saveHandOver()) {
        return false;
    }
    ProcessRunner* processes = app().platform().processes;
    if (processes == nullptr ||
        !processes->startDetached(app().programFile(), {}, app().programFolder())) {
        // This run keeps its list; the list written for the new run is not left for the next.
        if (rows) {
            QFile::remove(AppPaths::handOverFile());
        }
        message(MessageBoxService::Icon::Critical, MessageBoxService::Buttons::Ok,
                TextId::kWarningTitle, textOr(TextId::kRestartFailed));
        return false;
    }
    windows().endProgram(0);
    return true;
}
