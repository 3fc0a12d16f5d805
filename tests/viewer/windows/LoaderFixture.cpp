#include "LoaderFixture.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <QTreeWidgetItem>

#include "list/frmMP4List.h"
#include "platform/fake/FakeMapBrowser.h"

void LoaderFixture::startViewer(bool mapReady) {
    declareSkins(1);
    writeFile(QStringLiteral("system/bk.MP4"));
    // The tool "runs" during the loader's waits: it writes its document once started.
    m_platform.waits.setOnSleep([this](int) {
        const auto& started = m_platform.processes.started();
        while (m_toolsAnswered < started.size()) {
            const auto& run = started.at(m_toolsAnswered++);
            const QString recording = run.arguments.value(0);
            if (!m_documents.contains(recording)) {
                continue;
            }
            QDir().mkpath(m_home.scratchFolder());
            QFile file(documentPath());
            if (file.open(QIODevice::WriteOnly)) {
                file.write(m_documents.value(recording));
            }
            if (run.state) {
                run.state->running = false;
            }
        }
    });
    ASSERT_TRUE(start());
    if (mapReady) {
        loadMapPage();
        browser()->clearScripts();
    }
    m_platform.messageBoxes.clear();
}

frmMP4List& LoaderFixture::list() {
    return app().window<frmMP4List>();
}

void LoaderFixture::addRecordings(const QStringList& paths) {
    m_platform.fileDialogs.queueOpen(paths);
    list().cmdOpenFile();
}

QTreeWidgetItem* LoaderFixture::row(int serial) {
    QTreeWidget& view = list().LstMP4();
    for (int i = 0; i < view.topLevelItemCount(); ++i) {
        if (view.topLevelItem(i)->text(frmMP4List::kSerial).toInt() == serial) {
            return view.topLevelItem(i);
        }
    }
    return nullptr;
}

void LoaderFixture::clickCheck(int serial) {
    QTreeWidget& view = list().LstMP4();
    QTreeWidgetItem* item = row(serial);
    ASSERT_NE(item, nullptr);
    const QRect rowRect = view.visualItemRect(item);
    const QPoint at(view.columnViewportPosition(frmMP4List::kCheck) + 5, rowRect.center().y());
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, at);
}

void LoaderFixture::giveDocument(const QString& recording, const QList<Sample>& samples) {
    m_documents.insert(recording, documentText(samples));
}

QByteArray LoaderFixture::documentText(const QList<Sample>& samples) {
    QByteArray text =
        "<?xml version=\"1.0\"?>\r\n<versionx x=\"1.0\">\r\n<Duration>1.0</Duration>\r\r\n";
    for (const Sample& s : samples) {
        const QStringList clock = s.clock.split(u':');
        text += "\t<gpsinfo>\r\n";
        const auto element = [&text](const char* name, const QString& value) {
            text += QByteArray("\t\t<") + name + ">" + value.toUtf8() + "</" + name + ">\r\r\n";
        };
        element("Status", QStringLiteral("1"));
        element("Latitude", s.latitude);
        element("Longitude", s.longitude);
        element("Angle", s.angle);
        element("Speed", s.speed);
        element("utc_Year", QStringLiteral("2012"));
        element("utc_Month", QStringLiteral("10"));
        element("utc_Day", QStringLiteral("5"));
        element("utc_Hour", QString::number(clock.value(0).toInt()));
        element("utc_Minute", QString::number(clock.value(1).toInt()));
        element("utc_Second", QString::number(clock.value(2).toInt()));
        element("G_sum", QStringLiteral("1.000000"));
        element("G_x", s.gX);
        element("G_y", s.gY);
        element("G_z", s.gZ);
        text += "\t</gpsinfo>\r\n";
    }
    text += "</versionx>\r\n";
    return text;
}

QList<LoaderFixture::Sample> LoaderFixture::drive(int count) {
    QList<Sample> samples;
    for (int i = 0; i < count; ++i) {
        Sample s;
        s.clock = QStringLiteral("10:%1:%2")
                      .arg(i / 60, 2, 10, QLatin1Char('0'))
                      .arg(i % 60, 2, 10, QLatin1Char('0'));
        s.longitude = QString::number(121.5 + i * 0.0001, 'f', 6);
        s.latitude = QString::number(25.0 + i * 0.0001, 'f', 6);
        samples << s;
    }
    return samples;
}

QString LoaderFixture::documentPath() const {
    return m_home.scratchFolder() + QStringLiteral("/output.kml");
}

QStringList LoaderFixture::scripts() const {
    // The map panel's poll for clicks runs whenever events do; it is no call of the viewer's.
    QStringList calls;
    for (const QString& script : browser()->scripts()) {
        if (!script.startsWith(QStringLiteral("window.harvdvrClick"))) {
            calls << script;
        }
    }
    return calls;
}

QStringList LoaderFixture::batches() const {
    static const QRegularExpression call(QStringLiteral(R"(^getContentHis\('(.*)'\)$)"));
    QStringList result;
    for (const QString& script : scripts()) {
        const auto match = call.match(script);
        if (match.hasMatch()) {
            result << match.captured(1);
        }
    }
    return result;
}
