#include "map/frmMediaCtrl.h"

#include <QImageReader>
#include <QPixmap>
#include <QUrl>
#include <cmath>
#include <exception>
#include <limits>
#include <stdexcept>

#include "platform/MapBrowser.h"
#include "platform/MediaPlayer.h"
#include "platform/SkinHost.h"
#include "platform/WaitService.h"
#include "services/MapPage.h"
#include "services/RecordingList.h"
#include "services/Rounding.h"
#include "services/TrackTable.h"
#include "services/VideoWindow.h"
#include "services/clsDot.h"
#include "shell/Application.h"
#include "shell/FileExists.h"
#include "shell/TextId.h"
#include "shell/WindowGeometry.h"
#include "shell/Windows.h"
#include "shell/clsIniFile.h"

frmMediaCtrl::frmMediaCtrl(Windows& windows, QWidget* parent)
    : QWidget(parent), Form(windows), m_mtBackBar(this), m_myListBand(this) {
    setObjectName(QStringLiteral("frmMediaCtrl"));
    m_mtBackBar.setObjectName(QStringLiteral("MTBackBar"));
    m_mtBackBar.setScaledContents(true);
    m_myListBand.setObjectName(QStringLiteral("mylist"));
    // Made here, in its final parent, and only ever moved, sized, shown or hidden after.
    const auto& make = app().platform().makeMapBrowser;
    if (make) {
        m_htmlView = make(this);
    }
    if (m_htmlView) {
        m_htmlView->setLoadFinishedHandler([this](bool ok) { HTMLView_DocumentComplete(ok); });
        app().mapPage().attach(m_htmlView.get());
    }
    m_tGetMapLocal.setInterval(kGetMapLocalMilliseconds);
    QObject::connect(&m_tGetMapLocal, &QTimer::timeout, this, [this] { tGetMapLocal_Timer(); });
}

frmMediaCtrl::~frmMediaCtrl() {
    if (app().mapPage().browser() == m_htmlView.get()) {
        app().mapPage().attach(nullptr);
    }
}

bool frmMediaCtrl::Form_Load() {
    try {
        const QString background = programPath(QStringLiteral("skin/support/rightback.mp4"));
        if (FileExists(background)) {
            QImageReader reader(background);
            reader.setDecideFormatFromContent(true);
            const QImage image = reader.read();
            if (!image.isNull()) {
                m_mtBackBar.setPixmap(QPixmap::fromImage(image));
            }
        }

        m_mainSkin = makeSkin();
        if (!loadAndApply(m_mainSkin.get(), programPath(QStringLiteral("skin/media/ctl.MP4")),
                          this)) {
            message(MessageBoxService::Icon::Critical, MessageBoxService::Buttons::Ok,
                    TextId::kWarningTitle, textOr(TextId::kCameraFileMissing));
        }
        layoutBands();

        if (RecordingList* list = windows().load<RecordingList>()) {
            m_myListBand.dock(Windows::widgetOf(list));
        }

        if (m_htmlView) {
            // Out of sight and of no size until the page has loaded.
            if (QWidget* view = m_htmlView->widget()) {
                view->setGeometry(width(), height(), 0, 0);
            }
            m_htmlView->setTileAddress(app().settings().GetSetting(QStringLiteral("TileUrl")));
            m_htmlView->load(pageAddress(app().mapBaseAddress()));
            app().mapPage().setReadyFlag(MapPage::kLoading);
        }
    } catch (const std::exception& error) {
        message(MessageBoxService::Icon::Critical, MessageBoxService::Buttons::Ok,
                TextId::kWarningTitle,
                QStringLiteral("Form_Load:") + textOr(TextId::kSystemFileMissing) +
                    QString::fromStdString(error.what()));
    }
    return true;
}

QString frmMediaCtrl::pageAddress(const QString& base) {
    // The language of the page is always 1028, whatever the user reads.
    return base + QStringLiteral("DeskMap.asp?LangID=1028");
}

int frmMediaCtrl::mapReady() const {
    return m_htmlView ? m_htmlView->readyFlag() : MapPage::kLoading;
}

void frmMediaCtrl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutBands();
}

QRect frmMediaCtrl::mapArea() const {
    const QRect area = m_mainSkin ? m_mainSkin->area(QStringLiteral("map")) : QRect();
    return area.isEmpty()
               ? WindowGeometry::besideBand(rect(), Qt::BottomEdge, WindowGeometry::kMyListExtent)
               : area;
}

void frmMediaCtrl::layoutBands() {
    const QRect skinList = m_mainSkin ? m_mainSkin->area(QStringLiteral("mylist")) : QRect();
    m_myListBand.setGeometry(
        skinList.isEmpty()
            ? WindowGeometry::dockedBand(rect(), Qt::BottomEdge, WindowGeometry::kMyListExtent)
            : skinList);
    m_mtBackBar.setGeometry(mapArea());
    if (m_mapShown && m_htmlView && m_htmlView->widget() != nullptr) {
        m_htmlView->widget()->setGeometry(mapArea());
    }
}

void frmMediaCtrl::HTMLView_DocumentComplete(bool ok) {
    if (!m_htmlView) {
        return;
    }
    if (!ok) {
        reportPageFailure();
        return;
    }
    // Ready only for a page the viewer can drive: one that offers getContentHis.
    m_htmlView->readPageValue(
        QStringLiteral("getContentHis"), [this](std::optional<QString> function) {
            if (function && function->startsWith(QStringLiteral("function"))) {
                pageReady();
            } else {
                reportPageFailure();
            }
        });
}

void frmMediaCtrl::pageReady() {
    try {
        m_mapShown = true;
        if (QWidget* view = m_htmlView->widget()) {
            view->setGeometry(mapArea());
            view->show();
            view->raise();
        }
        m_htmlView->runScript(QStringLiteral("document.body.setAttribute('scroll', 'no');"));
        m_tGetMapLocal.start();
        // Last: whoever waits for the page finds it in place.
        app().mapPage().setReadyFlag(MapPage::kReady);
    } catch (const std::exception& error) {
        message(
            MessageBoxService::Icon::Critical, MessageBoxService::Buttons::Ok,
            TextId::kWarningTitle,
            QStringLiteral("HTMLView_DocumentComplete:") + QString::fromStdString(error.what()));
    }
}

void frmMediaCtrl::reportPageFailure() {
    app().mapPage().setReadyFlag(MapPage::kLoading);
    // Once: a page that keeps failing (offline, reloading) must not bury the user in boxes.
    if (m_failureShown) {
        return;
    }
    m_failureShown = true;
    message(MessageBoxService::Icon::Exclamation, MessageBoxService::Buttons::Ok,
            TextId::kWarningTitle,
            textOr(TextId::kMapPageFailed) + pageAddress(app().mapBaseAddress()));
}

void frmMediaCtrl::tGetMapLocal_Timer() {
    // One read at a time: the page answers later, and a slow answer must not pile up reads.
    if (m_clickPending) {
        return;
    }
    // Set first: a page may answer before the call has even returned.
    m_clickPending = true;
    const bool asked = app().mapPage().pollClick([this](std::optional<QString> click) {
        m_clickPending = false;
        try {
            if (!click) {
                // A page that keeps no clicks would report this at every tick: once is enough.
                m_tGetMapLocal.stop();
                throw std::runtime_error("the page has no click variable");
            }
            if (click->size() > 2) {
                jumpTo(*click);
            }
        } catch (const std::exception& error) {
            message(MessageBoxService::Icon::Critical, MessageBoxService::Buttons::Ok,
                    TextId::kWarningTitle,
                    textOr(TextId::kCursorPositionFailed) + QString::fromStdString(error.what()));
        }
    });
    if (!asked) {
        m_clickPending = false;
    }
}

void frmMediaCtrl::jumpTo(const QString& click) {
    const QStringList parts = click.mid(1, click.size() - 2).split(u',');
    bool latitudeOk = false;
    bool longitudeOk = false;
    const double latitude = parts.value(0).trimmed().toDouble(&latitudeOk);
    const double longitude = parts.value(1).trimmed().toDouble(&longitudeOk);
    const double y = Rounding::halfEven(latitude * 10000000.0);
    const double x = Rounding::halfEven(longitude * 10000000.0);
    constexpr double kLargest = std::numeric_limits<std::int32_t>::max();
    if (parts.size() != 2 || !latitudeOk || !longitudeOk || !(std::fabs(x) <= kLargest) ||
        !(std::fabs(y) <= kLargest)) {
        throw std::runtime_error("\"" + click.toStdString() + "\" is no position");
    }
    RecordingList* list = windows().load<RecordingList>();
    if (list == nullptr) {
        return;
    }
    // The first drawn track that holds the point, in the order they were read; only tracks
    // whose row is still in the list and on the map.
    std::shared_ptr<clsDot> hit;
    std::int32_t index = 0;
    for (const QString& key : app().tracks().keys()) {
        const std::shared_ptr<clsDot> track = app().tracks().find(key);
        if (!track || !list->isOnMap(track->lSerial)) {
            continue;
        }
        index = track->lPtLocal(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y));
        if (index > 0) {
            hit = track;
            break;
        }
    }
    if (!hit) {
        return;
    }
    VideoWindow* video = windows().load<VideoWindow>();
    if (video == nullptr) {
        return;
    }
    MediaPlayer& player = video->mtWmp();
    const QString file = list->path(hit->lSerial);
    // Another recording, or this one after a stop closed it: started, then moved.
    if (list->playingSerial() != hit->lSerial || player.url() != file) {
        if (!FileExists(file)) {
            // Gone since it was added: marked as continuous play marks it.
            list->setChecked(hit->lSerial, false);
            list->setMissing(hit->lSerial);
            return;
        }
        if (!video->startRecording(hit->lSerial, file, hit)) {
            return;
        }
    }
    std::shared_ptr<clsDot> current = app().currentTrack();
    if (!current) {
        return;
    }
    current->lPlayLocal = index;
    player.setCurrentPosition(current->lSecond());
    player.play();
    video->tPlayTime().start();
    list->setPlayingSerial(current->lSerial);
    list->MarkPlayingItem(current->lSerial);
}
