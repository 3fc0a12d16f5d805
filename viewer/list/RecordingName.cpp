#include "list/RecordingName.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTime>

namespace {

bool allDigits(const QString& text, int count) {
    static const QRegularExpression digits(QStringLiteral(R"(\A\d+\z)"));
    return text.size() == count && digits.match(text).hasMatch();
}

// The first run of exactly count digits (not part of a longer run) that valid() accepts.
template <class Valid>
QString firstDigitGroup(const QString& text, int count, Valid valid) {
    static const QRegularExpression runs(QStringLiteral(R"(\d+)"));
    for (auto it = runs.globalMatch(text); it.hasNext();) {
        const QString run = it.next().captured();
        if (run.size() == count && valid(run)) {
            return run;
        }
    }
    return QString();
}

bool isDay(const QString& digits) {
    return QDate::fromString(digits, QStringLiteral("yyyyMMdd")).isValid();
}

bool isClockTime(const QString& digits) {
    return QTime::fromString(digits, QStringLiteral("HHmmss")).isValid();
}

QString fitted(const QString& text, int width) {
    return text.left(width).leftJustified(width, u' ');
}

}  // namespace

RecordingName::RecordingName(const QString& path) {
    const QFileInfo file(path);
    m_folderName = file.absoluteDir().dirName();
    // The extension of a camera file is four characters (".MP4").
    m_baseName = file.fileName();
    const qsizetype dot = m_baseName.lastIndexOf(u'.');
    if (dot > 0) {
        m_baseName.truncate(dot);
    }
}

bool RecordingName::isLock() const {
    return m_baseName.endsWith(u'P', Qt::CaseInsensitive);
}

QString RecordingName::dateText() const {
    const QString folder = m_folderName.size() > 8 ? m_folderName.left(8) : m_folderName;
    QString day = allDigits(folder, 8) ? folder : QString();
    if (day.isEmpty()) {
        day = firstDigitGroup(m_folderName, 8, isDay);
    }
    if (day.isEmpty()) {
        day = firstDigitGroup(m_baseName, 8, isDay);
    }
    if (day.isEmpty()) {
        return fitted(folder, kDateWidth);
    }
    return fitted(day.left(4) + u'/' + day.mid(4, 2) + u'/' + day.mid(6, 2), kDateWidth);
}

QString RecordingName::timeText() const {
    QString name = m_baseName;
    if (isLock()) {
        name.chop(2);
    }
    QString clock = allDigits(name, 6) ? name : firstDigitGroup(m_baseName, 6, isClockTime);
    if (clock.isEmpty()) {
        return name;
    }
    return clock.left(2) + u':' + clock.mid(2, 2) + u':' + clock.mid(4, 2);
}

QString RecordingName::dateTimeText() const {
    return fitted(dateText() + QStringLiteral("  ") + timeText(), kDateTimeWidth);
}

QString RecordingName::displayText(const QString& label) const {
    return dateTimeText() + QStringLiteral("  ") + label;
}
