// Renders a skin file as a window would show it, to a PNG file, for looking at the art:
//   viewer_skin_preview [--scale 1.25] [--title Caption] [--select a,b] [--flag a]
//                       [--hover name] [--press name] [--slider name=value]
//                       [--image name=image:left,top] [--tab n] [--areas] skin-file out.png
#include <QApplication>
#include <QCommandLineParser>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QTest>
#include <QWidget>
#include <iostream>

#include "platform/SkinElement.h"
#include "skin/QtSkinHost.h"

namespace {

SkinElement* find(QtSkinHost& host, const QString& name) {
    SkinElement* element = host.element(name);
    if (element == nullptr) {
        std::cerr << "no element " << name.toStdString() << '\n';
        std::exit(2);
    }
    return element;
}

void send(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButton button) {
    QMouseEvent event(type, QPointF(at), QPointF(target->mapToGlobal(at)), button,
                      type == QEvent::MouseButtonPress ? button : Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("skin"), QStringLiteral("skin file"));
    parser.addPositionalArgument(QStringLiteral("png"), QStringLiteral("picture to write"));
    const QCommandLineOption scale(QStringLiteral("scale"), QStringLiteral("pixel ratio"),
                                   QStringLiteral("ratio"), QStringLiteral("1"));
    const QCommandLineOption title(QStringLiteral("title"), QStringLiteral("window caption"),
                                   QStringLiteral("text"), QStringLiteral("Harventis DVR Tools"));
    const QCommandLineOption select(QStringLiteral("select"), QStringLiteral("selected look"),
                                    QStringLiteral("names"));
    const QCommandLineOption flag(QStringLiteral("flag"), QStringLiteral("pressed flag"),
                                  QStringLiteral("names"));
    const QCommandLineOption hover(QStringLiteral("hover"), QStringLiteral("point at"),
                                   QStringLiteral("x,y"));
    const QCommandLineOption press(QStringLiteral("press"), QStringLiteral("hold down"),
                                   QStringLiteral("x,y"));
    const QCommandLineOption slider(QStringLiteral("slider"), QStringLiteral("slider value"),
                                    QStringLiteral("name=value"));
    const QCommandLineOption image(QStringLiteral("image"), QStringLiteral("image reference"),
                                   QStringLiteral("name=image:left,top"));
    const QCommandLineOption tab(QStringLiteral("tab"), QStringLiteral("press Tab n times"),
                                 QStringLiteral("n"));
    const QCommandLineOption areas(QStringLiteral("areas"), QStringLiteral("outline the areas"));
    parser.addOptions({scale, title, select, flag, hover, press, slider, image, tab, areas});
    parser.process(app);
    if (parser.positionalArguments().size() != 2) {
        parser.showHelp(2);
    }

    QtSkinHost host;
    QString error;
    if (!host.loadSkin(parser.positionalArguments().at(0), &error)) {
        std::cerr << error.toStdString() << '\n';
        return 1;
    }
    QWidget window;
    window.setWindowTitle(parser.value(title));
    host.applySkin(&window);

    for (const QString& names : parser.values(select)) {
        for (const QString& name : names.split(u',')) {
            find(host, name)->setLook(SkinElement::Look::Selected);
        }
    }
    for (const QString& names : parser.values(flag)) {
        for (const QString& name : names.split(u',')) {
            find(host, name)->setPressedFlag(true);
        }
    }
    for (const QString& setting : parser.values(slider)) {
        find(host, setting.section(u'=', 0, 0))->setSliderValue(setting.section(u'=', 1).toInt());
    }
    for (const QString& setting : parser.values(image)) {
        const QString reference = setting.section(u'=', 1);
        QList<int> numbers;
        for (const QString& n : reference.section(u':', 1).split(u',')) {
            numbers << n.toInt();
        }
        find(host, setting.section(u'=', 0, 0))
            ->setImageReference(reference.section(u':', 0, 0), numbers);
    }
    auto point = [](const QString& text) {
        return QPoint(text.section(u',', 0, 0).toInt(), text.section(u',', 1).toInt());
    };
    if (parser.isSet(hover)) {
        const QPoint at = point(parser.value(hover));
        QWidget* target = window.childAt(at);
        send(target, QEvent::MouseMove, target->mapFrom(&window, at), Qt::NoButton);
    }
    if (parser.isSet(press)) {
        const QPoint at = point(parser.value(press));
        QWidget* target = window.childAt(at);
        send(target, QEvent::MouseMove, target->mapFrom(&window, at), Qt::NoButton);
        send(target, QEvent::MouseButtonPress, target->mapFrom(&window, at), Qt::LeftButton);
    }

    if (parser.isSet(tab)) {
        window.show();
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window)) {
            std::cerr << "the window did not become active\n";
        }
        for (int i = 0; i < parser.value(tab).toInt(); ++i) {
            QWidget* focus =
                QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : &window;
            QKeyEvent key(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
            QApplication::sendEvent(focus, &key);
        }
    }

    const qreal ratio = parser.value(scale).toDouble();
    QPixmap picture(window.size() * ratio);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::black);
    window.render(&picture);
    if (parser.isSet(areas)) {
        QPainter painter(&picture);
        painter.setPen(QPen(QColor(255, 80, 80), 1, Qt::DashLine));
        for (const QString& name :
             {QStringLiteral("client"), QStringLiteral("ControlBand"), QStringLiteral("chart"),
              QStringLiteral("map"), QStringLiteral("mylist"), QStringLiteral("list")}) {
            const QRect r = host.area(name);
            if (!r.isEmpty()) {
                painter.drawRect(r.adjusted(0, 0, -1, -1));
            }
        }
    }
    if (!picture.save(parser.positionalArguments().at(1))) {
        std::cerr << "cannot write " << parser.positionalArguments().at(1).toStdString() << '\n';
        return 1;
    }
    return 0;
}
