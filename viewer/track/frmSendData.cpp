#include "track/frmSendData.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QVBoxLayout>
#include <QXmlStreamReader>
#include <exception>
#include <limits>
#include <stdexcept>

#include "platform/ChildProcess.h"
#include "platform/ProcessRunner.h"
#include "platform/WaitService.h"
#include "services/MapPage.h"
#include "services/RecordingList.h"
#include "services/Rounding.h"
#include "services/TrackTable.h"
#include "services/clsDot.h"
#include "shell/AppPaths.h"
#include "shell/Application.h"
#include "shell/TextId.h"
#include "shell/Windows.h"

namespace {

const QString kDocumentName = QStringLiteral("output.kml");
const QString kLockName = QStringLiteral("loading.lock");
constexpr int kSecondsPerDay = 24 * 3600;

const QStringList& fieldNames() {
    static const QStringList names{
        QStringLiteral("Latitude"),   QStringLiteral("Longitude"), QStringLiteral("Angle"),
        QStringLiteral("Speed"),      QStringLiteral("utc_Year"),  QStringLiteral("utc_Month"),
        QStringLiteral("utc_Day"),    QStringLiteral("utc_Hour"),  QStringLiteral("utc_Minute"),
        QStringLiteral("utc_Second"), QStringLiteral("G_sum"),     QStringLiteral("G_x"),
        QStringLiteral("G_y"),        QStringLiteral("G_z"),       QStringLiteral("Status")};
    return names;
}

const QString& field(const frmSendData::Sample& sample, const QString& name) {
    const auto it = sample.constFind(name);
    if (it == sample.constEnd()) {
        throw std::runtime_error("the element " + name.toStdString() + " is missing");
    }
    return *it;
}

double number(const frmSendData::Sample& sample, const QString& name) {
    bool ok = false;
    const double value = field(sample, name).trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value)) {
        throw std::runtime_error("Type mismatch in " + name.toStdString());
    }
    return value;
}

int wholeNumber(const frmSendData::Sample& sample, const QString& name) {
    bool ok = false;
    const int value = field(sample, name).trimmed().toInt(&ok);
    if (!ok) {
        throw std::runtime_error("Type mismatch in " + name.toStdString());
    }
    return value;
}

// To the nearest whole number, halves to even, as a 16-bit count.
std::int16_t shortNumber(double value, const char* what) {
    const double rounded = Rounding::halfEven(value);
    if (rounded < std::numeric_limits<std::int16_t>::min() ||
        rounded > std::numeric_limits<std::int16_t>::max()) {
        throw std::runtime_error(std::string("Overflow in ") + what);
    }
    return static_cast<std::int16_t>(rounded);
}

// A G value keeps two decimals.
double hundredths(double value, const char* what) {
    return shortNumber(value * 100.0, what) / 100.0;
}

// Only plain numbers may reach a map script.
const QString& coordinate(const frmSendData::Sample& sample, const QString& name) {
    const QString& text = field(sample, name);
    if (!MapPage::isCoordinate(text)) {
        throw std::runtime_error("the " + name.toStdString() + " \"" + text.toStdString() +
                                 "\" is no number");
    }
    return text;
}

QString twoDigits(int value) {
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

int clockSecond(const frmSendData::Sample& sample) {
    return wholeNumber(sample, QStringLiteral("utc_Hour")) * 3600 +
           wholeNumber(sample, QStringLiteral("utc_Minute")) * 60 +
           wholeNumber(sample, QStringLiteral("utc_Second"));
}

}  // namespace

frmSendData::frmSendData(Windows& windows, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint), Form(windows) {
    setObjectName(QStringLiteral("frmSendData"));
    setModal(true);
    setFixedSize(360, 96);
    // The theme's navy with its lines and teal, as the skinned windows draw them.
    setStyleSheet(QStringLiteral(
        "#frmSendData { background: rgb(26,27,54); border: 1px solid rgb(38,37,95); }"
        "QLabel { color: white; font-size: 13px; }"
        "QProgressBar { background: rgb(38,37,95); border: none; border-radius: 4px;"
        " height: 8px; color: transparent; }"
        "QProgressBar::chunk { background: rgb(46,200,216); border-radius: 4px; }"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(22, 18, 22, 22);
    column->setSpacing(14);
    m_caption.setParent(this);
    m_pbShow.setParent(this);
    m_pbShow.setObjectName(QStringLiteral("pbShow"));
    m_pbShow.setRange(0, 100);
    m_pbShow.setTextVisible(false);
    column->addWidget(&m_caption);
    column->addWidget(&m_pbShow);

    m_tStart.setObjectName(QStringLiteral("tStart"));
    m_tStart.setSingleShot(true);
    m_tStart.setInterval(kStartMilliseconds);
    QObject::connect(&m_tStart, &QTimer::timeout, this, [this] { tStart_Timer(); });
}

frmSendData::~frmSendData() {
    endChild();
}

bool frmSendData::Form_Load() {
    setWindowTitle(textOr(TextId::kCaption));
    m_caption.setText(textOr(TextId::kCaption));
    return true;
}

void frmSendData::showModal(const QString& tag) {
    m_tag = tag;
    m_pbShow.setValue(0);
    // The load starts once the window is up, at the first moment events are dispatched.
    m_tStart.start();
    exec();
    m_tStart.stop();
}

void frmSendData::closeEvent(QCloseEvent* event) {
    // A tool still running could otherwise write its document over a later recording's.
    endChild();
    QDialog::closeEvent(event);
}

void frmSendData::tStart_Timer() {
    m_tStart.stop();
    if (m_tag.compare(QLatin1String(kLoadSelected), Qt::CaseInsensitive) == 0) {
        LoadOneMP4Data(true);
    } else {
        LoadGroupHistoryData();
    }
    if (RecordingList* list = windows().load<RecordingList>()) {
        // Recordings whose track could not be read leave the list.
        list->removeMissingRows();
        list->FullListBackColor();
    }
}

void frmSendData::pause(int milliseconds) {
    if (WaitService* waits = app().platform().waits) {
        waits->sleep(milliseconds);
    }
}

void frmSendData::processEvents() {
    if (WaitService* waits = app().platform().waits) {
        waits->processPendingEvents();
    }
}

void frmSendData::endChild() {
    if (m_child && m_child->isRunning()) {
        m_child->kill();
    }
    m_child.reset();
    m_lock.reset();
}

void frmSendData::fail(int textId, const QString& description) {
    endChild();
    message(MessageBoxService::Icon::Critical, MessageBoxService::Buttons::Ok,
            TextId::kWarningTitle, textOr(textId) + description);
    close();
}

void frmSendData::LoadOneMP4Data(bool showProgress) {
    RecordingList* list = windows().load<RecordingList>();
    const int serial = list != nullptr ? list->selectedSerial() : 0;
    if (serial == 0) {
        if (showProgress) {
            close();
        }
        return;
    }
    const QString recording = list->path(serial);
    const QString document = QDir(AppPaths::scratchFolder()).filePath(kDocumentName);
    try {
        if (!extract(serial, recording, document, showProgress)) {
            return;
        }
        pause(kSettleMilliseconds);
        const QList<Sample> samples = readDocument(document);
        endChild();
        fillTrack(serial, samples, showProgress);
        list->setLoaded(serial);
        list->setOnMap(serial, true);
        if (app().mapPage().isReady()) {
            sendOver();
        }
        if (showProgress) {
            close();
        }
    } catch (const std::exception& error) {
        fail(TextId::kMapDrawFailed, QString::fromStdString(error.what()));
    }
}

bool frmSendData::extract(int serial, const QString& recording, const QString& document,
                          bool showProgress) {
    const QString folder = AppPaths::scratchFolder();
    if (!QDir().mkpath(folder)) {
        throw std::runtime_error("the scratch folder " + folder.toStdString() + " cannot be made");
    }
    // One loader at a time across every running viewer: they share the document's name.
    m_lock = std::make_unique<QLockFile>(QDir(folder).filePath(kLockName));
    bool locked = m_lock->tryLock(0);
    for (int round = 0; !locked && round < kWaitRounds; ++round) {
        pause(kRoundMilliseconds);
        locked = m_lock->tryLock(0);
    }
    if (!locked) {
        fail(TextId::kLoaderBusy, QString());
        return false;
    }
    // A document left by an earlier run must never pass for this recording's.
    if (QFileInfo::exists(document)) {
        QFile::setPermissions(document, QFile::permissions(document) | QFileDevice::WriteOwner);
        if (!QFile::remove(document)) {
            throw std::runtime_error("the old track document cannot be deleted");
        }
    }
    ProcessRunner* processes = app().platform().processes;
    const QString tool = QDir(app().programFolder()).filePath(QStringLiteral("movsupport/Parse"));
    m_child = processes != nullptr
                  ? processes->start(tool, QStringList{recording}, app().programFolder())
                  : nullptr;
    if (!m_child) {
        fail(TextId::kSystemFileMissing, QStringLiteral("error:"));
        return false;
    }
    for (int round = 0; round < kWaitRounds; ++round) {
        pause(kRoundMilliseconds);
        if (QFileInfo::exists(document)) {
            return true;
        }
        // The tool has ended without a document: no need to wait any longer.
        if (!m_child->isRunning()) {
            if (QFileInfo::exists(document)) {
                return true;
            }
            break;
        }
    }
    endChild();
    message(MessageBoxService::Icon::Critical, MessageBoxService::Buttons::Ok,
            TextId::kWarningTitle,
            QFileInfo(recording).fileName() + u'\n' + textOr(TextId::kReadTimeOut));
    if (showProgress) {
        close();
    }
    if (RecordingList* list = windows().load<RecordingList>()) {
        list->setMissing(serial);
    }
    return false;
}

QList<frmSendData::Sample> frmSendData::readDocument(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw std::runtime_error("the track document cannot be read: " +
                                 file.errorString().toStdString());
    }
    QXmlStreamReader xml(&file);
    QList<Sample> samples;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement() || xml.name() != QStringLiteral("gpsinfo")) {
            continue;
        }
        Sample sample;
        while (xml.readNextStartElement()) {
            const QString name = xml.name().toString();
            const QString text = xml.readElementText(QXmlStreamReader::SkipChildElements);
            if (fieldNames().contains(name) && !sample.contains(name)) {
                sample.insert(name, text.trimmed());
            }
        }
        samples.append(sample);
        if (samples.size() > kMaxPoints) {
            throw std::runtime_error("Overflow: the track has more than 32767 points");
        }
    }
    if (xml.hasError()) {
        throw std::runtime_error("the track document is damaged (line " +
                                 std::to_string(xml.lineNumber()) +
                                 "): " + xml.errorString().toStdString());
    }
    return samples;
}

void frmSendData::fillTrack(int serial, const QList<Sample>& samples, bool showProgress) {
    const QString key = TrackTable::keyFor(serial);
    if (app().tracks().contains(key)) {
        return;
    }
    auto track = std::make_shared<clsDot>();
    track->lSerial = serial;
    const int count = static_cast<int>(samples.size());
    if (count == 0) {
        // A recording without GPS still gets its (empty) track, so it can be played.
        app().tracks().add(key, track);
        return;
    }
    QString buffer = MapPage::serialText(serial);
    const int startSecond = count > 0 ? clockSecond(samples.first()) : 0;
    for (int i = 0; i < count; ++i) {
        const Sample& sample = samples.at(i);
        const QString& longitude = coordinate(sample, QStringLiteral("Longitude"));
        const QString& latitude = coordinate(sample, QStringLiteral("Latitude"));
        const std::int16_t angle = shortNumber(number(sample, QStringLiteral("Angle")), "Angle");
        const std::int16_t speed = shortNumber(number(sample, QStringLiteral("Speed")), "Speed");
        const QString clock = twoDigits(wholeNumber(sample, QStringLiteral("utc_Hour"))) + u':' +
                              twoDigits(wholeNumber(sample, QStringLiteral("utc_Minute"))) + u':' +
                              twoDigits(wholeNumber(sample, QStringLiteral("utc_Second")));
        const QString date = field(sample, QStringLiteral("utc_Year")) + u'/' +
                             field(sample, QStringLiteral("utc_Month")) + u'/' +
                             field(sample, QStringLiteral("utc_Day")) + u' ' + clock;
        int second = clockSecond(sample) - startSecond;
        // A recording that runs past midnight counts on from its start.
        if (second < 0) {
            second += kSecondsPerDay;
        }
        const QString time = twoDigits(second / 60) + u':' + twoDigits(second % 60);
        track->SetDot(date, time, speed, second, longitude, latitude,
                      hundredths(number(sample, QStringLiteral("G_sum")), "G_sum"), angle,
                      hundredths(number(sample, QStringLiteral("G_x")), "G_x"),
                      hundredths(number(sample, QStringLiteral("G_y")), "G_y"),
                      hundredths(number(sample, QStringLiteral("G_z")), "G_z"));
        if (app().mapPage().isReady()) {
            buffer += longitude + u'!' + latitude + u'|';
            if (i % 10 == 0) {
                sendBatch(buffer);
            }
        }
        if (showProgress) {
            m_pbShow.setValue(static_cast<int>(Rounding::halfEven(i * 100.0 / count)));
        }
    }
    // Not stored while any of it could fail: a half-read track is no track.
    app().tracks().add(key, track);
    if (app().mapPage().isReady()) {
        sendBatch(buffer);
    }
}

void frmSendData::sendBatch(QString& buffer) {
    if (buffer.isEmpty()) {
        return;
    }
    app().mapPage().getContentHis(buffer);
    buffer.clear();
    processEvents();
    pause(kBatchPauseMilliseconds);
}

void frmSendData::sendOver() {
    processEvents();
    app().mapPage().getContentHis(QStringLiteral("Over"));
}

void frmSendData::LoadGroupHistoryData() {
    try {
        RecordingList* list = windows().load<RecordingList>();
        const QList<int> serials = list != nullptr ? list->serials() : QList<int>();
        for (qsizetype i = 0; i < serials.size(); ++i) {
            const int serial = serials.at(i);
            if (list->isChecked(serial) && !list->isLoaded(serial)) {
                list->selectRow(serial);
                LoadOneMP4Data(false);
            }
            const qsizetype rows = list->serials().size();
            m_pbShow.setValue(rows > 0 ? static_cast<int>(Rounding::halfEven(
                                             static_cast<double>(i + 1) * 100.0 / rows))
                                       : 100);
        }
    } catch (const std::exception&) {
        message(MessageBoxService::Icon::Critical, MessageBoxService::Buttons::Ok,
                TextId::kWarningTitle,
                textOr(TextId::kMapDrawFailed) + QStringLiteral("(LoadGroupHistoryData)"));
    }
    close();
}

void frmSendData::SendGPSToMap(int serial) {
    try {
        const std::shared_ptr<clsDot> track = app().tracks().find(TrackTable::keyFor(serial));
        if (!track) {
            return;
        }
        MapPage& page = app().mapPage();
        QString buffer = MapPage::serialText(serial);
        for (std::int32_t i = 1; i <= track->lDotCount(); ++i) {
            track->lPlayLocal = i;
            if (page.isReady()) {
                const QStringList parts = track->sLonLat().split(u'|');
                buffer += parts.value(0) + u'!' + parts.value(1) + u'|';
                if (i % 10 == 0) {
                    sendBatch(buffer);
                }
            }
        }
        if (page.isReady()) {
            sendBatch(buffer);
            sendOver();
        }
    } catch (const std::exception& error) {
        fail(TextId::kMapDrawFailed, QString::fromStdString(error.what()));
    }
}
