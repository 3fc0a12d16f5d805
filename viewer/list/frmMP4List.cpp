#include "list/frmMP4List.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPalette>
#include <algorithm>
#include <exception>
#include <stdexcept>

#include "list/RecordingName.h"
#include "platform/FileDialogService.h"
#include "platform/MediaPlayer.h"
#include "platform/SkinElement.h"
#include "platform/SkinHost.h"
#include "platform/WaitService.h"
#include "services/ControlBar.h"
#include "services/HandOverFile.h"
#include "services/MapPage.h"
#include "services/TrackLoader.h"
#include "services/TrackTable.h"
#include "services/VideoWindow.h"
#include "services/clsDot.h"
#include "shell/AppPaths.h"
#include "shell/Application.h"
#include "shell/FileExists.h"
#include "shell/TextId.h"
#include "shell/Windows.h"

namespace {

const QColor kOddRow(130, 131, 170);
const QColor kEvenRow(106, 107, 137);
const QColor kNormalText(255, 255, 255);
const QColor kLockText(255, 0, 0);
const QColor kPlayingText(255, 255, 0);

constexpr int kCheckedRole = Qt::UserRole;

bool isRecordingFile(const QString& path) {
    return FileExists(path) && path.endsWith(QStringLiteral(".mp4"), Qt::CaseInsensitive);
}

QString describe(const std::exception& error) {
    return QString::fromStdString(error.what());
}

}  // namespace

frmMP4List::frmMP4List(Windows& windows, QWidget* parent)
    : QWidget(parent), Form(windows), m_lstMP4(this) {
    setObjectName(QStringLiteral("frmMP4List"));
    m_lstMP4.setObjectName(QStringLiteral("LstMP4"));
    // A list view in report style: one row per recording, no tree.
    m_lstMP4.setColumnCount(kColumnCount);
    m_lstMP4.setHeaderLabels(QStringList(kColumnCount, QString()));
    m_lstMP4.header()->hide();
    m_lstMP4.header()->setStretchLastSection(false);
    m_lstMP4.setRootIsDecorated(false);
    m_lstMP4.setUniformRowHeights(true);
    m_lstMP4.setSelectionMode(QAbstractItemView::SingleSelection);
    m_lstMP4.setFrameShape(QFrame::NoFrame);
    m_lstMP4.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_lstMP4.setIndentation(0);
    m_lstMP4.setIconSize(QSize(14, 14));
    // The theme's navy under the rows; the rows paint their own stripes.
    QPalette palette = m_lstMP4.palette();
    palette.setColor(QPalette::Base, QColor(26, 27, 54));
    palette.setColor(QPalette::Text, kNormalText);
    palette.setColor(QPalette::Highlight, QColor(46, 200, 216, 90));
    palette.setColor(QPalette::HighlightedText, kNormalText);
    m_lstMP4.setPalette(palette);
    // Only the check icon and the display text are seen; the other columns hold data.
    for (int column = 0; column < kColumnCount; ++column) {
        m_lstMP4.setColumnHidden(column, column != kCheck && column != kDisplay);
    }
    m_lstMP4.viewport()->installEventFilter(this);
    QObject::connect(&m_lstMP4, &QTreeWidget::itemDoubleClicked, this,
                     [this](QTreeWidgetItem*, int) { LstMP4_DblClick(); });

    m_tContinue.setSingleShot(true);
    m_tContinue.setInterval(kContinueMilliseconds);
    QObject::connect(&m_tContinue, &QTimer::timeout, this, [this] { tContinue_Timer(); });
}

frmMP4List::~frmMP4List() {
    m_lstMP4.viewport()->removeEventFilter(this);
}

bool frmMP4List::Form_Load() {
    m_mainSkin = makeSkin();
    const QString skinFile =
        programPath(QStringLiteral("skin/media/ls%1.MP4").arg(app().languageNumber()));
    QString error;
    if (!loadAndApply(m_mainSkin.get(), skinFile, this, &error)) {
        throw std::runtime_error(error.toStdString());
    }
    m_mainSkin->setClickHandler([this](SkinElement& element) { mainSkin_Click(element); });
    const auto icon = [this](const char* name) {
        const QString path = programPath(QStringLiteral("skin/art/") + QLatin1String(name));
        return FileExists(path) ? QIcon(path) : QIcon();
    };
    m_unchecked = icon("check-off.svg");
    m_checked = icon("check-on.svg");
    m_serial = 0;
    applyLayoutConstants();
    layoutList();
    restoreHandedOverList();
    return true;
}

void frmMP4List::applyLayoutConstants() {
    // Sizes the list was designed with, per screen density (twips per pixel).
    const int twips = app().twipsPerPixel();
    double points = 7.5;
    int checkTwips = 459;
    int displayTwips = 3969;
    if (twips == 15) {
        points = 11;
        checkTwips = 300;
        displayTwips = 2740;
    } else if (twips == 12) {
        points = 8.7;
        checkTwips = 260;
        displayTwips = 2120;
    }
    // A narrow face, as the display text was measured for; fontconfig finds the nearest.
    QFont font;
    font.setFamilies({QStringLiteral("Arial Narrow"), QStringLiteral("Liberation Sans Narrow"),
                      QStringLiteral("DejaVu Sans Condensed")});
    font.setPointSizeF(points);
    m_lstMP4.setFont(font);
    m_lstMP4.setColumnWidth(kCheck, checkTwips / twips);
    m_lstMP4.setColumnWidth(kDisplay, displayTwips / twips);
}

void frmMP4List::restoreHandedOverList() {
    const QString file = AppPaths::handOverFile();
    if (!QFileInfo::exists(file)) {
        return;
    }
    QString error;
    const std::optional<QList<HandOverFile::Row>> rows = HandOverFile::read(file, &error);
    if (!rows) {
        // Put aside, so it cannot stop the list from loading at every start.
        const QString aside = file + QStringLiteral(".damaged");
        QFile::remove(aside);
        QFile::rename(file, aside);
        message(MessageBoxService::Icon::Critical, MessageBoxService::Buttons::Ok,
                TextId::kWarningTitle, textOr(TextId::kHandOverDamaged) + error);
        return;
    }
    if (rows->isEmpty()) {
        return;
    }
    for (const HandOverFile::Row& row : *rows) {
        addRow(row.path, row.dateTime.left(RecordingName::kDateTimeWidth));
    }
    FullListBackColor();
    MarkPlayingItem(m_playingSerial);
    QFile::remove(file);
}

bool frmMP4List::mapReady() {
    return app().mapPage().readyFlag() > 0;
}

bool frmMP4List::playingOrPaused() {
    VideoWindow* video = windows().load<VideoWindow>();
    return video != nullptr && video->mtWmp().playingOrPaused();
}

void frmMP4List::cmdOpenFile() {
    addPicked([this] {
        FileDialogService* dialogs = app().platform().fileDialogs;
        return dialogs != nullptr ? dialogs->openFiles(app().text(TextId::kOpenMediaTitle),
                                                       app().text(TextId::kMp4Filter))
                                  : QStringList();
    });
}

void frmMP4List::addRecordings(const QStringList& paths, bool draw) {
    QStringList recordings;
    for (const QString& path : paths) {
        if (isRecordingFile(path)) {
            recordings << QFileInfo(path).absoluteFilePath();
        }
    }
    if (recordings.isEmpty()) {
        return;
    }
    const int before = m_lstMP4.topLevelItemCount();
    addPicked([&recordings] { return recordings; });
    if (!draw || m_lstMP4.topLevelItemCount() == before) {
        return;
    }
    for (int i = before; i < m_lstMP4.topLevelItemCount(); ++i) {
        setChecked(m_lstMP4.topLevelItem(i), true);
    }
    loadTracks(TrackLoader::kLoadChecked);
}

void frmMP4List::addPicked(const std::function<QStringList()>& pick) {
    try {
        // Without the map a recording cannot be drawn: the user decides.
        if (!mapReady() &&
            message(MessageBoxService::Icon::Information, MessageBoxService::Buttons::YesNo,
                    TextId::kInformationPrompted, app().text(TextId::kLoadWithoutMapQuestion)) !=
                MessageBoxService::Answer::Yes) {
            return;
        }
        for (const QString& path : pick()) {
            addRow(path, RecordingName(path).dateTimeText());
        }
        if (m_lstMP4.topLevelItemCount() > 0) {
            FullListBackColor();
            MarkPlayingItem(m_playingSerial);
        }
    } catch (const std::exception& error) {
        message(MessageBoxService::Icon::Information, MessageBoxService::Buttons::Ok,
                TextId::kWarningTitle, textOr(TextId::kOpenFileFailed) + describe(error));
    }
}

void frmMP4List::addRow(const QString& path, const QString& dateTime) {
    const QString label = app().kindLabel(RecordingName(path).isLock());
    auto* item = new QTreeWidgetItem;
    item->setText(kRowNumber, QString::number(m_lstMP4.topLevelItemCount() + 1));
    item->setText(kDisplay, dateTime.leftJustified(RecordingName::kDateTimeWidth, u' ') +
                                QStringLiteral("  ") + label);
    item->setText(kPath, path);
    item->setText(kLoaded, QStringLiteral("0"));
    ++m_serial;
    item->setText(kSerial, QString::number(m_serial));
    item->setText(kOnMap, QStringLiteral("0"));
    item->setText(kLabel, label);
    item->setText(kMissing, QStringLiteral("0"));
    item->setToolTip(kDisplay, path);
    m_lstMP4.addTopLevelItem(item);
    setChecked(item, false);
}

QTreeWidgetItem* frmMP4List::rowOf(int serial) const {
    if (serial <= 0) {
        return nullptr;
    }
    for (int i = 0; i < m_lstMP4.topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = m_lstMP4.topLevelItem(i);
        if (serialOf(item) == serial) {
            return item;
        }
    }
    return nullptr;
}

int frmMP4List::serialOf(const QTreeWidgetItem* item) {
    return item != nullptr ? item->text(kSerial).toInt() : 0;
}

QList<int> frmMP4List::serials() const {
    QList<int> result;
    for (int i = 0; i < m_lstMP4.topLevelItemCount(); ++i) {
        result << serialOf(m_lstMP4.topLevelItem(i));
    }
    return result;
}

int frmMP4List::selectedSerial() const {
    return serialOf(m_lstMP4.currentItem());
}

void frmMP4List::selectRow(int serial) {
    if (QTreeWidgetItem* item = rowOf(serial)) {
        m_lstMP4.setCurrentItem(item);
    }
}

QString frmMP4List::path(int serial) const {
    const QTreeWidgetItem* item = rowOf(serial);
    return item != nullptr ? item->text(kPath) : QString();
}

bool frmMP4List::isChecked(int serial) const {
    const QTreeWidgetItem* item = rowOf(serial);
    return item != nullptr && item->data(kCheck, kCheckedRole).toBool();
}

void frmMP4List::setChecked(int serial, bool checked) {
    if (QTreeWidgetItem* item = rowOf(serial)) {
        setChecked(item, checked);
    }
}

bool frmMP4List::isLoaded(int serial) const {
    const QTreeWidgetItem* item = rowOf(serial);
    return item != nullptr && item->text(kLoaded) != QStringLiteral("0");
}

void frmMP4List::setLoaded(int serial) {
    if (QTreeWidgetItem* item = rowOf(serial)) {
        item->setText(kLoaded, QStringLiteral("1"));
    }
}

bool frmMP4List::isOnMap(int serial) const {
    const QTreeWidgetItem* item = rowOf(serial);
    return item != nullptr && item->text(kOnMap) == QStringLiteral("1");
}

void frmMP4List::setOnMap(int serial, bool onMap) {
    if (QTreeWidgetItem* item = rowOf(serial)) {
        item->setText(kOnMap, onMap ? QStringLiteral("1") : QStringLiteral("0"));
    }
}

void frmMP4List::setMissing(int serial) {
    if (QTreeWidgetItem* item = rowOf(serial)) {
        item->setText(kMissing, QStringLiteral("1"));
    }
}

void frmMP4List::removeMissingRows() {
    for (int i = m_lstMP4.topLevelItemCount() - 1; i >= 0; --i) {
        QTreeWidgetItem* item = m_lstMP4.topLevelItem(i);
        if (item->text(kMissing) == QStringLiteral("1")) {
            removeTrack(serialOf(item));
            delete m_lstMP4.takeTopLevelItem(i);
        }
    }
}

void frmMP4List::setChecked(QTreeWidgetItem* item, bool checked) {
    item->setData(kCheck, kCheckedRole, checked);
    item->setIcon(kCheck, checked ? m_checked : m_unchecked);
}

void frmMP4List::clearFromMap(QTreeWidgetItem* item) {
    item->setText(kOnMap, QStringLiteral("0"));
    if (mapReady()) {
        app().mapPage().clearHistroy(MapPage::serialText(serialOf(item)));
    }
}

void frmMP4List::removeTrack(int serial) {
    const QString key = TrackTable::keyFor(serial);
    if (app().currentTrack() != nullptr && app().currentTrack() == app().tracks().find(key)) {
        app().setCurrentTrack(nullptr);
    }
    app().tracks().remove(key);
}

bool frmMP4List::saveHandOver() {
    try {
        QList<HandOverFile::Row> rows;
        for (int i = 0; i < m_lstMP4.topLevelItemCount(); ++i) {
            const QTreeWidgetItem* item = m_lstMP4.topLevelItem(i);
            rows.append(
                {item->text(kDisplay).left(RecordingName::kDateTimeWidth), item->text(kPath)});
        }
        const QString file = AppPaths::handOverFile();
        QString error;
        if (!QDir().mkpath(QFileInfo(file).absolutePath()) ||
            !HandOverFile::save(file, rows, &error)) {
            throw std::runtime_error(error.toStdString());
        }
        return true;
    } catch (const std::exception& error) {
        message(MessageBoxService::Icon::Critical, MessageBoxService::Buttons::Ok,
                TextId::kWarningTitle, textOr(TextId::kMapDrawFailed) + describe(error));
        return false;
    }
}

void frmMP4List::FullListBackColor() {
    for (int i = 0; i < m_lstMP4.topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = m_lstMP4.topLevelItem(i);
        // Counted from the first row as 1: odd rows light, even rows dark.
        const QColor stripe = i % 2 == 0 ? kOddRow : kEvenRow;
        for (int column = 0; column < kColumnCount; ++column) {
            item->setBackground(column, stripe);
        }
    }
}

void frmMP4List::MarkPlayingItem(int serial) {
    for (int i = 0; i < m_lstMP4.topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = m_lstMP4.topLevelItem(i);
        const bool playing = serialOf(item) == serial;
        // The kind comes from the recording's name; the label is only its text.
        const QColor colour = playing                                     ? kPlayingText
                              : RecordingName(item->text(kPath)).isLock() ? kLockText
                                                                          : kNormalText;
        for (const int column : {static_cast<int>(kRowNumber), static_cast<int>(kCheck),
                                 static_cast<int>(kDisplay), static_cast<int>(kLabel)}) {
            item->setForeground(column, colour);
            QFont font = item->font(column);
            font.setBold(playing);
            item->setFont(column, font);
        }
    }
    m_lstMP4.viewport()->update();
}

bool frmMP4List::eventFilter(QObject* watched, QEvent* event) {
    // The check icon answers a click of the left button on it, nowhere else on the row.
    if (watched == m_lstMP4.viewport() && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        QTreeWidgetItem* item = m_lstMP4.itemAt(mouse->position().toPoint());
        if (mouse->button() == Qt::LeftButton && item != nullptr &&
            m_lstMP4.columnAt(mouse->position().toPoint().x()) == kCheck) {
            LstMP4_ItemClick(item, kCheck);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmMP4List::LstMP4_ItemClick(QTreeWidgetItem* item, int column) {
    if (column != kCheck) {
        return;
    }
    try {
        const int serial = serialOf(item);
        if (serial == m_playingSerial && playingOrPaused()) {
            message(MessageBoxService::Icon::Information, MessageBoxService::Buttons::Ok,
                    TextId::kInformationPrompted, app().text(TextId::kCannotUnmarkPlaying));
            return;
        }
        m_lstMP4.setCurrentItem(item);
        const bool checked = !item->data(kCheck, kCheckedRole).toBool();
        setChecked(item, checked);
        if (!checked) {
            clearFromMap(item);
            return;
        }
        if (isLoaded(serial)) {
            if (!isOnMap(serial)) {
                setOnMap(serial, true);
                if (TrackLoader* loader = windows().load<TrackLoader>()) {
                    loader->SendGPSToMap(serial);
                }
                windows().unload<TrackLoader>();
            }
            return;
        }
        loadTracks(TrackLoader::kLoadSelected);
    } catch (const std::exception& error) {
        message(MessageBoxService::Icon::Critical, MessageBoxService::Buttons::Ok,
                TextId::kWarningTitle, textOr(TextId::kSelectFileFailed) + describe(error));
    }
}

void frmMP4List::loadTracks(const char* tag) {
    if (TrackLoader* loader = windows().load<TrackLoader>()) {
        loader->showModal(QString::fromLatin1(tag));
    }
    windows().unload<TrackLoader>();
}

void frmMP4List::mainSkin_Click(SkinElement& element) {
    const QString name = element.name().toUpper();
    try {
        if (name == QStringLiteral("ALL")) {
            tickKind(true, true);
        } else if (name == QStringLiteral("NORMAL")) {
            tickKind(true, false);
        } else if (name == QStringLiteral("LOCK")) {
            tickKind(false, true);
        } else if (name == QStringLiteral("NONE")) {
            tickNone();
        }
    } catch (const std::exception& error) {
        message(MessageBoxService::Icon::Critical, MessageBoxService::Buttons::Ok,
                TextId::kWarningTitle, textOr(TextId::kSelectFileFailed) + describe(error));
    }
}

void frmMP4List::tickKind(bool normal, bool lock) {
    bool loadNeeded = false;
    QList<int> toDraw;
    for (int i = 0; i < m_lstMP4.topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = m_lstMP4.topLevelItem(i);
        const int serial = serialOf(item);
        const bool wanted = RecordingName(item->text(kPath)).isLock() ? lock : normal;
        const bool checked = item->data(kCheck, kCheckedRole).toBool();
        if (!wanted) {
            // The map shows what the filter names.
            if (checked) {
                setChecked(item, false);
                clearFromMap(item);
            }
            continue;
        }
        if (checked) {
            continue;
        }
        setChecked(item, true);
        if (!isLoaded(serial)) {
            loadNeeded = true;
        } else if (!isOnMap(serial)) {
            setOnMap(serial, true);
            toDraw << serial;
        }
    }
    if (!toDraw.isEmpty()) {
        if (TrackLoader* loader = windows().load<TrackLoader>()) {
            for (const int serial : toDraw) {
                loader->SendGPSToMap(serial);
            }
        }
        windows().unload<TrackLoader>();
    }
    if (loadNeeded) {
        loadTracks(TrackLoader::kLoadChecked);
    }
}

void frmMP4List::tickNone() {
    // The row of the track being played stays; before any playback there is none.
    const std::shared_ptr<clsDot>& current = app().currentTrack();
    const int keep = current != nullptr ? current->lSerial : 0;
    for (int i = 0; i < m_lstMP4.topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = m_lstMP4.topLevelItem(i);
        if (serialOf(item) == keep) {
            continue;
        }
        setChecked(item, false);
        clearFromMap(item);
    }
}

void frmMP4List::LstMP4_DblClick() {
    QTreeWidgetItem* item = m_lstMP4.currentItem();
    if (item == nullptr || !item->data(kCheck, kCheckedRole).toBool()) {
        return;
    }
    m_continueSerial = serialOf(item);
    tContinue_Timer();
}

void frmMP4List::armContinue(int serial) {
    m_continueSerial = serial;
    m_tContinue.start();
}

void frmMP4List::tContinue_Timer() {
    m_tContinue.stop();
    try {
        const int serial = m_continueSerial;
        QTreeWidgetItem* item = rowOf(serial);
        if (item == nullptr) {
            return;
        }
        const QString file = item->text(kPath);
        if (!FileExists(file)) {
            setChecked(item, false);
            item->setText(kMissing, QStringLiteral("1"));
            return;
        }
        const std::shared_ptr<clsDot> track = app().tracks().find(TrackTable::keyFor(serial));
        if (!track) {
            return;
        }
        if (VideoWindow* video = windows().load<VideoWindow>()) {
            video->startRecording(serial, file, track);
        }
    } catch (const std::exception& error) {
        message(MessageBoxService::Icon::Critical, MessageBoxService::Buttons::Ok,
                TextId::kWarningTitle, textOr(TextId::kPlayerMoveFailed) + describe(error));
    }
}

void frmMP4List::DeleteList() {
    try {
        ControlBar* controlBar = windows().load<ControlBar>();
        if (m_lstMP4.topLevelItemCount() == 0) {
            if (controlBar != nullptr) {
                controlBar->ClearPlayback();
            }
            return;
        }
        if (playingOrPaused()) {
            message(MessageBoxService::Icon::Information, MessageBoxService::Buttons::Ok,
                    TextId::kInformationPrompted, app().text(TextId::kNoDeleteWhilePlaying));
            return;
        }
        if (message(MessageBoxService::Icon::Question, MessageBoxService::Buttons::YesNo,
                    TextId::kConfirmTitle,
                    app().text(TextId::kDeleteAllQuestion)) != MessageBoxService::Answer::Yes) {
            return;
        }
        for (int i = m_lstMP4.topLevelItemCount() - 1; i >= 0; --i) {
            QTreeWidgetItem* item = m_lstMP4.topLevelItem(i);
            if (item->data(kCheck, kCheckedRole).toBool() && mapReady()) {
                app().mapPage().clearHistroy(MapPage::serialText(serialOf(item)));
            }
            removeTrack(serialOf(item));
            delete m_lstMP4.takeTopLevelItem(i);
        }
        VideoWindow* video = windows().load<VideoWindow>();
        if (controlBar != nullptr && video != nullptr &&
            video->mtWmp().playState() == MediaPlayer::kStopped) {
            controlBar->ClearPlayback();
        }
        FullListBackColor();
    } catch (const std::exception& error) {
        message(MessageBoxService::Icon::Critical, MessageBoxService::Buttons::Ok,
                TextId::kWarningTitle, describe(error));
    }
}

void frmMP4List::Form_Resize() {
    layoutList();
}

void frmMP4List::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmMP4List::layoutList() {
    const QRect area = m_mainSkin ? m_mainSkin->area(QStringLiteral("list")) : QRect();
    m_lstMP4.setGeometry(area.isEmpty() ? rect() : area);
}
