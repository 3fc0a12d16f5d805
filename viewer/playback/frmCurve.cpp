#include "playback/frmCurve.h"

#include <QColor>
#include <QDateTime>
#include <QImage>
#include <QList>
#include <QLocale>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "platform/Chart.h"
#include "platform/FileDialogService.h"
#include "platform/MediaPlayer.h"
#include "platform/SkinElement.h"
#include "platform/SkinHost.h"
#include "platform/WaitService.h"
#include "services/MapPage.h"
#include "services/RecordingList.h"
#include "services/Rounding.h"
#include "services/SnapshotFile.h"
#include "services/TrackTable.h"
#include "services/VideoWindow.h"
#include "services/clsDot.h"
#include "shell/Application.h"
#include "shell/FileExists.h"
#include "shell/TextId.h"
#include "shell/Windows.h"

namespace {

const QString kSpeedMode = QStringLiteral("SPEED");
const QString kGSensorMode = QStringLiteral("GS");

QString describe(const std::exception& error) {
    return QString::fromStdString(error.what());
}

// The numbers of a read-out as the number-to-text conversion writes them: shortest form.
QString plainNumber(double value) {
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

int wholeNumber(double value) {
    return static_cast<int>(Rounding::halfEven(value));
}

}  // namespace

const QString frmCurve::kZeroReadOut = QStringLiteral("0|0|0|0|0|0");

frmCurve::RateStep frmCurve::rateStepFor(int sliderValue) {
    // The slider's value in fifths of its travel, as the single-precision value it always was.
    const float x = static_cast<float>(sliderValue) / 12.5F;
    if (x <= 1.0F) {
        return {-7, "0.2"};
    }
    if (x <= 3.0F) {
        return {20, "0.5"};
    }
    if (x <= 5.0F) {
        return {43, "1"};
    }
    if (x < 6.0F) {
        return {65, "1.5"};
    }
    return {85, "2"};
}

double frmCurve::timeAxisEnd(int pointCount) {
    const double k = pointCount + 1;
    if (k < 10) {
        return k - 2;
    }
    if (k < 80) {
        return k - 1.5;
    }
    if (k < 150) {
        return k;
    }
    return k + 1;
}

frmCurve::frmCurve(Windows& windows, QWidget* parent)
    : QWidget(parent), Form(windows), m_chartArea(this), m_chartMode(kSpeedMode) {
    setObjectName(QStringLiteral("frmCurve"));
    m_chartArea.setObjectName(QStringLiteral("chart"));
    m_chartArea.hide();
    // The chart is made in its final parent, before the frame is first shown.
    if (const auto& make = app().platform().makeChart) {
        m_tcLine = make(&m_chartArea);
    }
    if (m_tcLine) {
        m_tcLine->setMouseUpHandler(
            [this](Qt::MouseButton, QPoint position) { TCLine_OnMouseUp(position); });
    }
    m_tFast.setInterval(kFastMilliseconds);
    QObject::connect(&m_tFast, &QTimer::timeout, this, [this] { tFast_Timer(); });
}

frmCurve::~frmCurve() = default;

bool frmCurve::Form_Load() {
    m_buttonskin = makeSkin();
    const QString skinFile =
        programPath(QStringLiteral("skin/control/MediaControl%1.mp4").arg(app().languageNumber()));
    if (!loadAndApply(m_buttonskin.get(), skinFile, this)) {
        reportMissingSystemFile();
        return false;
    }
    m_buttonskin->setClickHandler([this](SkinElement& clicked) { buttonskin_Click(clicked); });
    m_buttonskin->setValueHandler(
        [this](SkinElement& moved, int value) { buttonskin_Value(moved, value); });

    if (SkinElement* speed = element(kSpeedMode)) {
        speed->setLook(SkinElement::Look::Selected);
    }
    m_chartMode = kSpeedMode;

    setSliderValue(QStringLiteral("playspeed"), kPlaySpeedAtLoad);
    if (VideoWindow* window = video()) {
        window->setPlayRate(QStringLiteral("1"));
        window->applyPlayRate();
    }

    setSliderValue(QStringLiteral("playprogress"), 0);
    if (MediaPlayer* mtWmp = player()) {
        setSliderValue(QStringLiteral("volume"), mtWmp->volume());
    }

    if (SkinElement* chart = element(QStringLiteral("chart"))) {
        chart->setPressedFlag(false);
    }
    ShowUnitPicture();
    layoutChart();
    return true;
}

void frmCurve::setSnapshotRefused(bool refused) {
    if (SkinElement* photo = element(QStringLiteral("photo"))) {
        photo->setPressedFlag(refused);
    }
}

SkinElement* frmCurve::element(const QString& name) const {
    return m_buttonskin ? m_buttonskin->element(name) : nullptr;
}

int frmCurve::sliderValue(const QString& name) const {
    const SkinElement* slider = element(name);
    return slider != nullptr ? slider->sliderValue() : 0;
}

void frmCurve::setSliderValue(const QString& name, int value) {
    // Setting a slider from here never raises its value event: no seek echoes back.
    if (SkinElement* slider = element(name)) {
        slider->setSliderValue(value);
    }
}

VideoWindow* frmCurve::video() const {
    return windows().load<VideoWindow>();
}

MediaPlayer* frmCurve::player() const {
    VideoWindow* window = video();
    return window != nullptr ? &window->mtWmp() : nullptr;
}

bool frmCurve::playing() const {
    const MediaPlayer* mtWmp = player();
    return mtWmp != nullptr && mtWmp->playState() == MediaPlayer::kPlaying;
}

bool frmCurve::playingOrPaused() const {
    const MediaPlayer* mtWmp = player();
    return mtWmp != nullptr && mtWmp->playingOrPaused();
}

std::shared_ptr<clsDot> frmCurve::currentTrack() const {
    return app().currentTrack();
}

void frmCurve::buttonskin_Click(SkinElement& clicked) {
    const QString name = clicked.name().toUpper();
    if (name == QStringLiteral("SPEAKER")) {
        speaker(clicked);
    } else if (name == QStringLiteral("CMDPLAY")) {
        cmdPlay();
    } else if (name == QStringLiteral("STOP")) {
        stop();
    } else if (name == QStringLiteral("PAUSE")) {
        pause();
    } else if (name == QStringLiteral("HEAD")) {
        previousOrNext(Scan::Backward);
    } else if (name == QStringLiteral("END")) {
        previousOrNext(Scan::Forward);
    } else if (name == QStringLiteral("BACK")) {
        startFast("-1");
    } else if (name == QStringLiteral("FAST")) {
        startFast("1");
    } else if (name == kSpeedMode || name == kGSensorMode) {
        chartModeButton(clicked, name);
    } else if (name == QStringLiteral("PHOTO")) {
        // The flag refuses snapshots while no recording plays or is paused.
        if (!clicked.pressedFlag()) {
            takeSnapshot();
        }
    }
}

void frmCurve::takeSnapshot() {
    VideoWindow* window = video();
    FileDialogService* dialogs = app().platform().fileDialogs;
    if (window == nullptr || dialogs == nullptr) {
        return;
    }
    const QImage picture = window->CaptureVideoArea();
    // Named after the moment of the click, not of the answer.
    const QString name = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddhhmmss"));
    const QString chosen = dialogs->saveFile(app().text(TextId::kPictureFolderTitle),
                                             app().text(TextId::kJpgFilter), name);
    if (chosen.isEmpty()) {
        return;
    }
    QString error;
    if (!SnapshotFile::write(picture, SnapshotFile::withExtension(chosen), &error)) {
        message(MessageBoxService::Icon::Critical, MessageBoxService::Buttons::Ok,
                TextId::kWarningTitle, textOr(TextId::kSnapshotNotSaved) + error);
    }
}

void frmCurve::buttonskin_Value(SkinElement& moved, int value) {
    const QString name = moved.name().toUpper();
    if (name == QStringLiteral("PLAYPROGRESS")) {
        playProgress(value);
    } else if (name == QStringLiteral("PLAYSPEED")) {
        playSpeed(value);
    } else if (name == QStringLiteral("VOLUME")) {
        volume(value);
    }
}

void frmCurve::speaker(SkinElement& button) {
    MediaPlayer* mtWmp = player();
    if (mtWmp == nullptr) {
        return;
    }
    const bool muted = !button.pressedFlag();
    button.setPressedFlag(muted);
    mtWmp->setMute(muted);
    setSliderValue(QStringLiteral("volume"), muted ? 0 : mtWmp->volume());
}

void frmCurve::cmdPlay() {
    MediaPlayer* mtWmp = player();
    if (mtWmp == nullptr) {
        return;
    }
    if (mtWmp->playState() == MediaPlayer::kPlaying) {
        // Back from fast forward or rewind to normal play, where it is.
        m_tFast.stop();
        return;
    }
    if (mtWmp->playState() == MediaPlayer::kPaused) {
        m_tFast.stop();
        bool ok = false;
        const double second = video()->lastSecond().toDouble(&ok);
        if (ok && second >= 0.0) {
            mtWmp->setCurrentPosition(second);
        }
        mtWmp->play();
        video()->applyPlayRate();
        return;
    }
    RecordingList* list = windows().load<RecordingList>();
    if (list == nullptr || list->serials().isEmpty()) {
        message(MessageBoxService::Icon::Information, MessageBoxService::Buttons::Ok,
                TextId::kInformationPrompted, app().text(TextId::kNoMediaSelected));
        return;
    }
    StartListItem(1, Scan::Forward, true);
}

void frmCurve::stop() {
    if (MediaPlayer* mtWmp = player()) {
        mtWmp->stop();
    }
    DataShow(kZeroReadOut);
    ClearPlayback();
}

void frmCurve::pause() {
    m_tFast.stop();
    if (MediaPlayer* mtWmp = player()) {
        mtWmp->pause();
    }
}

void frmCurve::previousOrNext(Scan direction) {
    RecordingList* list = windows().load<RecordingList>();
    if (list == nullptr) {
        return;
    }
    const QList<int> rows = list->serials();
    const int playing = static_cast<int>(rows.indexOf(list->playingSerial())) + 1;
    if (playing < 1) {
        return;
    }
    const int first = direction == Scan::Forward ? playing + 1 : playing - 1;
    if (first < 1 || first > rows.size()) {
        return;
    }
    StartListItem(first, direction, false);
}

bool frmCurve::StartListItem(int first, Scan direction, bool reportNothing) {
    RecordingList* list = windows().load<RecordingList>();
    VideoWindow* window = video();
    if (list == nullptr || window == nullptr) {
        return false;
    }
    const QList<int> rows = list->serials();
    const int step = direction == Scan::Forward ? 1 : -1;
    int found = 0;
    for (int position = first; position >= 1 && position <= rows.size(); position += step) {
        const int serial = rows.at(position - 1);
        if (!list->isChecked(serial)) {
            continue;
        }
        if (!FileExists(list->path(serial))) {
            // Gone since it was added: unticked and flagged, and the scan goes on.
            list->setChecked(serial, false);
            list->setMissing(serial);
            continue;
        }
        found = serial;
        break;
    }
    if (found == 0) {
        if (reportNothing) {
            message(MessageBoxService::Icon::Information, MessageBoxService::Buttons::Ok,
                    TextId::kInformationPrompted, app().text(TextId::kSelectFromList));
            m_tFast.stop();
        }
        return false;
    }
    const std::shared_ptr<clsDot> track = app().tracks().find(TrackTable::keyFor(found));
    // A row whose track has not been read has nothing to show beside its video: it does not
    // start, whichever button chose it, and what plays keeps its track.
    if (!track) {
        return false;
    }
    // Clicks waiting now run before the recording starts; a start they make is taken over.
    if (WaitService* waits = app().platform().waits) {
        waits->processPendingEvents();
    }
    return window->startRecording(found, list->path(found), track);
}

void frmCurve::startFast(const char* step) {
    if (!playing()) {
        return;
    }
    m_tFastTag = QString::fromLatin1(step);
    m_tFast.start();
}

void frmCurve::tFast_Timer() {
    try {
        MediaPlayer* mtWmp = player();
        if (mtWmp == nullptr) {
            m_tFast.stop();
            return;
        }
        const double position = mtWmp->currentPosition();
        const double length = mtWmp->duration();
        const int p = std::isfinite(position) ? wholeNumber(position) : 0;
        const double d = std::isfinite(length) ? length : 0.0;
        const int step = m_tFastTag.toInt();
        // Each direction stops at its own end only: rewinding pauses at the start, fast
        // forward at the last second, before a step would run into the end of the recording
        // (which would end it and start the next one).
        const bool atStart = step < 0 && p < 1;
        const bool atEnd = step > 0 && d - 1.0 < p + step;
        if (atStart || atEnd || step == 0) {
            mtWmp->pause();
            m_tFast.stop();
            return;
        }
        mtWmp->setCurrentPosition(p + step);
    } catch (const std::exception& error) {
        message(MessageBoxService::Icon::Critical, MessageBoxService::Buttons::Ok,
                TextId::kWarningTitle, textOr(TextId::kPlayerMoveFailed) + describe(error));
    }
}

void frmCurve::chartModeButton(SkinElement& button, const QString& mode) {
    if (m_chartMode == mode) {
        return;
    }
    ResetModeButtons();
    button.setLook(SkinElement::Look::Selected);
    m_chartMode = mode;
    if (playingOrPaused()) {
        DrawCurves();
    }
}

void frmCurve::ResetModeButtons() {
    for (const QString& name : {kGSensorMode, kSpeedMode}) {
        if (SkinElement* button = element(name)) {
            button->setLook(SkinElement::Look::Normal);
        }
    }
}

void frmCurve::playProgress(int value) {
    if (!playingOrPaused()) {
        return;
    }
    const double count = m_tcLineTag.toDouble();
    player()->setCurrentPosition(Rounding::halfEven(count * value / 100.0));
}

void frmCurve::playSpeed(int value) {
    const RateStep step = rateStepFor(value);
    setSliderValue(QStringLiteral("playspeed"), step.sliderValue);
    if (VideoWindow* window = video()) {
        window->setPlayRate(QString::fromLatin1(step.rate));
        window->applyPlayRate();
    }
}

void frmCurve::volume(int value) {
    if (MediaPlayer* mtWmp = player()) {
        mtWmp->setVolume(value);
    }
    // Mute follows on the next tick: below 2 is muted.
    if (SkinElement* speakerButton = element(QStringLiteral("speaker"))) {
        speakerButton->setPressedFlag(false);
    }
}

void frmCurve::ShowUnitPicture() {
    if (SkinElement* unit = element(QStringLiteral("unit"))) {
        unit->setImageReference(QString::number(app().unitCode()), {0, 3, 66, 23, 1, 0, 60});
    }
}

void frmCurve::DrawCurves() {
    try {
        const std::shared_ptr<clsDot> track = currentTrack();
        if (!track || track->lDotCount() < 1 || !m_tcLine) {
            return;
        }
        const int n = track->lDotCount();
        m_tcLineTag = QString::number(n);
        m_tcLine->clearCursor();
        for (int curve = 1; curve <= Chart::kCurveCount; ++curve) {
            m_tcLine->setCurve(curve, {});
        }
        if (SkinElement* speakerButton = element(QStringLiteral("speaker"))) {
            speakerButton->setPressedFlag(sliderValue(QStringLiteral("volume")) < 2);
        }
        const std::int32_t remembered = track->lPlayLocal;
        m_tcLine->setXRange(0.0, n);

        const bool speed = m_chartMode != kGSensorMode;
        if (SkinElement* chart = element(QStringLiteral("chart"))) {
            chart->setPressedFlag(!speed);
        }
        const double factor = app().unitFactor();
        if (speed) {
            m_tcLine->setYRange(0.0, track->dMaxSpeed() * factor + 5.0);
        } else {
            m_tcLine->setYRange(track->dMinG() - 0.2, track->dMaxG() + 0.2);
        }
        QList<double> first;
        QList<double> second;
        QList<double> third;
        QStringList labels;
        first.reserve(n);
        labels.reserve(n);
        if (!speed) {
            second.reserve(n);
            third.reserve(n);
        }
        for (int i = 1; i <= n; ++i) {
            track->lPlayLocal = i;
            labels << track->strTime();
            if (speed) {
                first << track->dSpeed() * factor;
            } else {
                first << track->dG_x();
                second << track->dG_y();
                third << track->dG_z();
            }
        }
        // Each curve is given whole, in one call.
        m_tcLine->setLabels(labels);
        m_tcLine->setCurve(1, first);
        if (!speed) {
            m_tcLine->setCurve(2, second);
            m_tcLine->setCurve(3, third);
        }
        m_tcLine->setXRange(0.0, timeAxisEnd(n));
        track->lPlayLocal = remembered > n || remembered < 1 ? 1 : remembered;
    } catch (const std::exception& error) {
        message(MessageBoxService::Icon::Critical, MessageBoxService::Buttons::Ok,
                TextId::kWarningTitle, textOr(TextId::kCurveMemoryError) + describe(error));
    }
}

void frmCurve::cursorLine(double x, bool clicked) {
    if (!m_tcLine) {
        return;
    }
    m_tcLine->clearCursor();
    if (clicked) {
        m_tcLine->setCursor(x, 0.0, 200.0, QColor(255, 0, 0));
    } else {
        m_tcLine->setCursor(x, -200.0, 200.0, QColor(Qt::white));
    }
}

void frmCurve::ShowPlayPosition(const QString& position) {
    if (MediaPlayer* mtWmp = player()) {
        mtWmp->setMute(sliderValue(QStringLiteral("volume")) < 2);
    }
    const QStringList fields = position.split(u'|');
    const int s = fields.value(0).toInt();
    const int d = fields.value(1).toInt();
    if (d <= 1) {
        return;
    }
    setSliderValue(QStringLiteral("playprogress"),
                   wholeNumber(static_cast<double>(s) / static_cast<double>(d) * 100.0));
    const std::shared_ptr<clsDot> track = currentTrack();
    if (!track) {
        return;
    }
    if (s == 0) {
        // The speed and the car keep what they showed.
        track->lPlayLocal = 1;
        cursorLine(0.0, false);
        return;
    }
    track->ForcePlayLocal(s);
    if (track->lPlayLocal == 0) {
        track->lPlayLocal = 1;
    }
    // The chart's point i lies at i - 1: the line at the index stands on the point of second s.
    cursorLine(track->lPlayLocal, false);
    DataShow(plainNumber(track->dSpeed()) + u'|' + track->sLonLat() + u'|' + track->strDate() +
             u'|' + QString::number(track->lPlayLocal) + u'|' +
             QString::number(track->iAngelValue()));
}

void frmCurve::DataShow(const QString& readOut) {
    try {
        const QStringList fields = readOut.split(u'|');
        if (fields.size() < 6) {
            throw std::invalid_argument("\"" + readOut.toStdString() + "\" is no read-out");
        }
        const int speed = std::max(0, wholeNumber(fields.at(0).toDouble() * app().unitFactor()));
        const QString digits = QStringLiteral("%1").arg(speed, 3, 10, QLatin1Char('0'));
        const QChar shown[] = {digits.front(), digits.at(1), digits.back()};
        const char* names[] = {"A1", "A2", "A3"};
        for (int i = 0; i < 3; ++i) {
            if (SkinElement* digit = element(QString::fromLatin1(names[i]))) {
                digit->setImageReference(QStringLiteral("datum"),
                                         {25 * shown[i].digitValue(), 0, 250, 30});
            }
        }
        if (app().mapPage().isReady() && fields.at(1).size() > 5) {
            app().mapPage().MoveCar(fields.at(1) + u'|' + fields.at(2) + u'|' + fields.at(4) +
                                    u'|' + fields.at(5));
        }
    } catch (const std::exception& error) {
        message(MessageBoxService::Icon::Critical, MessageBoxService::Buttons::Ok,
                TextId::kWarningTitle, describe(error) + QStringLiteral("DataShow"));
    }
}

void frmCurve::ClearPlayback() {
    if (VideoWindow* window = video()) {
        if (QWidget* picture = window->mtWmp().widget()) {
            picture->hide();
        }
        window->mtWmp().close();
    }
    if (!m_tcLine) {
        return;
    }
    m_tcLine->clearCursor();
    for (int curve = 1; curve <= Chart::kCurveCount; ++curve) {
        m_tcLine->setCurve(curve, {});
    }
    m_tcLine->setLabels({});
    m_tcLine->setYRange(0.0, 0.0);
    m_tcLine->setXRange(0.0, 0.0);
}

void frmCurve::TCLine_OnMouseUp(QPoint position) {
    try {
        if (!m_tcLine) {
            return;
        }
        const int k = m_tcLine->pointAt(1, position);
        const std::shared_ptr<clsDot> track = currentTrack();
        if (k == -1 || !track) {
            return;
        }
        track->lPlayLocal = k + 1;
        if (MediaPlayer* mtWmp = player()) {
            mtWmp->setCurrentPosition(track->lSecond());
        }
        if (app().mapPage().isReady()) {
            app().mapPage().MoveCar(track->sLonLat() + u'|' + QString::number(track->lPlayLocal) +
                                    u'|' + QString::number(track->iAngelValue()));
        }
        cursorLine(track->lPlayLocal - 1, true);
    } catch (const std::exception& error) {
        message(MessageBoxService::Icon::Critical, MessageBoxService::Buttons::Ok,
                TextId::kWarningTitle, describe(error) + QStringLiteral("TCLine_OnMouseUp"));
    }
}

void frmCurve::playOrPause() {
    if (playing()) {
        pause();
    } else {
        cmdPlay();
    }
}

void frmCurve::moveBy(double seconds) {
    if (!playingOrPaused()) {
        return;
    }
    MediaPlayer* mtWmp = player();
    const double length = mtWmp->duration();
    double target = std::max(0.0, mtWmp->currentPosition() + seconds);
    if (length > 0.0) {
        target = std::min(target, length);
    }
    mtWmp->setCurrentPosition(target);
}

void frmCurve::moveToStart() {
    if (playingOrPaused()) {
        player()->setCurrentPosition(0.0);
    }
}

void frmCurve::moveToEnd() {
    if (playingOrPaused()) {
        player()->setCurrentPosition(player()->duration());
    }
}

void frmCurve::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutChart();
}

void frmCurve::layoutChart() {
    const QRect area = m_buttonskin ? m_buttonskin->area(QStringLiteral("chart")) : QRect();
    m_chartArea.setGeometry(area);
    m_chartArea.setVisible(!area.isEmpty());
    if (m_tcLine != nullptr && m_tcLine->widget() != nullptr) {
        m_tcLine->widget()->setGeometry(QRect(QPoint(0, 0), area.size()));
    }
}
