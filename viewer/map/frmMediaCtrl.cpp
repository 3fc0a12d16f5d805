#include "map/frmMediaCtrl.h"

#include <QImageReader>
#include <QPixmap>
#include <QUrl>
#include <exception>

#include "platform/MapBrowser.h"
#include "platform/SkinHost.h"
#include "services/MapPage.h"
#include "services/RecordingList.h"
#include "shell/Application.h"
#include "shell/FileExists.h"
#include "shell/TextId.h"
#include "shell/WindowGeometry.h"
#include "shell/Windows.h"

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
            m_htmlView->load(placeholderAddress());
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

QString frmMediaCtrl::placeholderAddress() {
    // Served from the address itself, so nothing is fetched.
    static const QString page = QStringLiteral(
        "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><style>"
        "html,body{margin:0;height:100%;overflow:hidden;background:rgb(26,27,54);}"
        "body{background-image:linear-gradient(rgba(38,37,95,.9) 1px,transparent 1px),"
        "linear-gradient(90deg,rgba(38,37,95,.9) 1px,transparent 1px);"
        "background-size:31px 31px;}"
        "</style></head><body><script>var harvdvrPage = 'placeholder';</script></body></html>");
    return QStringLiteral("data:text/html;charset=utf-8,") +
           QString::fromLatin1(QUrl::toPercentEncoding(page));
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
    if (!ok || !m_htmlView) {
        return;
    }
    m_mapShown = true;
    if (QWidget* view = m_htmlView->widget()) {
        view->setGeometry(mapArea());
        view->show();
        view->raise();
    }
    // Last: whoever waits for the page finds it in place.
    app().mapPage().setReadyFlag(MapPage::kReady);
}
