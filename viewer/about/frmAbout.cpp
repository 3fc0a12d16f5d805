#include "about/frmAbout.h"

#include <exception>

#include "platform/SkinElement.h"
#include "platform/SkinHost.h"
#include "platform/UrlOpener.h"
#include "shell/Application.h"
#include "shell/TextId.h"
#include "shell/WindowGeometry.h"

frmAbout::frmAbout(Windows& windows, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint), Form(windows) {
    setObjectName(QStringLiteral("frmAbout"));
    setModal(true);
    Form_Initialize();
}

frmAbout::~frmAbout() = default;

bool frmAbout::Form_Load() {
    m_mtskin = makeSkin();
    if (!loadAndApply(m_mtskin.get(), programPath(QStringLiteral("skin/about.mp4")), this)) {
        reportMissingSystemFile();
        return false;
    }
    m_mtskin->setClickHandler([this](SkinElement& element) { mtskin_Click(element); });
    Form_Initialize();
    return true;
}

QRect frmAbout::placement(const QRect& workArea) {
    return WindowGeometry::centredIn(workArea, WindowGeometry::kAboutSize, false);
}

void frmAbout::Form_Initialize() {
    placeCentred(*this, WindowGeometry::kAboutSize, ScreenArea::WorkArea, false);
}

void frmAbout::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    Form_Initialize();
}

void frmAbout::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // A dialog is centred over its owner when first shown; the work area decides instead.
    Form_Initialize();
}

void frmAbout::mtskin_Click(SkinElement& element) {
    const QString name = element.name().toLower();
    if (name == QStringLiteral("close")) {
        close();
    } else if (name == QStringLiteral("webstation")) {
        // Whether a browser opened is not examined: the window stays either way.
        try {
            if (UrlOpener* urls = app().platform().urls) {
                urls->open(app().sharedText(TextId::kMakerAddress));
            }
        } catch (const std::exception&) {
        }
    }
}
