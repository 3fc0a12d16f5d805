#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <functional>

#include "platform/MessageBoxSymbol.h"
#include "platform/MessageBoxText.h"
#include "platform/MessageBoxTitleStrip.h"
#include "platform/QtMessageBoxService.h"
#include "shell/StringTable.h"
#include "shell/TextId.h"

namespace {

using Answer = MessageBoxService::Answer;
using Buttons = MessageBoxService::Buttons;
using Icon = MessageBoxService::Icon;

// What the user does to the open box.
using Action = std::function<void(QWidget* box)>;

// Shows a box through the service and acts on it from inside its own loop, as the user would.
// A box the action leaves open fails the test and is closed, rather than hanging it.
Answer answer(QtMessageBoxService& service, Buttons buttons, const Action& act,
              Icon icon = Icon::Question, const QString& text = QStringLiteral("Go on?")) {
    bool acted = false;
    QTimer::singleShot(0, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (box == nullptr) {
            ADD_FAILURE() << "no modal box is open";
            return;
        }
        acted = true;
        act(box);
        if (QApplication::activeModalWidget() == box) {
            ADD_FAILURE() << "the box is still open";
            box->close();
        }
    });
    const Answer given = service.show(icon, buttons, QStringLiteral("Title"), text);
    EXPECT_TRUE(acted);
    return given;
}

// Keys go where the window system sends them: to the widget with the focus.
Action keys(std::initializer_list<std::pair<Qt::Key, Qt::KeyboardModifiers>> presses) {
    std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>> list(presses);
    return [list](QWidget* box) {
        for (const auto& [key, modifiers] : list) {
            QWidget* target = box->focusWidget() != nullptr ? box->focusWidget() : box;
            QTest::keyClick(target, key, modifiers);
        }
    };
}

std::pair<Qt::Key, Qt::KeyboardModifiers> key(Qt::Key k, Qt::KeyboardModifiers m = {}) {
    return {k, m};
}

void clickClose(QWidget* box) {
    auto* strip = box->findChild<MessageBoxTitleStrip*>();
    ASSERT_NE(strip, nullptr);
    QTest::mouseClick(strip, Qt::LeftButton, {}, strip->closeButtonRect().center());
}

// The button labels, left to right.
QStringList labelsOf(QWidget* box) {
    auto buttons = box->findChildren<QAbstractButton*>();
    std::sort(buttons.begin(), buttons.end(), [box](QWidget* a, QWidget* b) {
        return a->mapTo(box, QPoint()).x() < b->mapTo(box, QPoint()).x();
    });
    QStringList labels;
    for (const QAbstractButton* button : buttons) {
        labels << button->text();
    }
    return labels;
}

struct ButtonSet {
    Buttons buttons;
    QStringList english;
    QStringList chinese;
    Answer enter;
    Answer escape;
    // After one Tab, and after one Shift+Tab from the default button.
    Answer next;
    Answer previous;
};

const ButtonSet kSets[] = {
    {Buttons::Ok, {"OK"}, {"確定"}, Answer::Ok, Answer::Ok, Answer::Ok, Answer::Ok},
    {Buttons::OkCancel,
     {"OK", "Cancel"},
     {"確定", "取消"},
     Answer::Ok,
     Answer::Cancel,
     Answer::Cancel,
     Answer::Cancel},
    {Buttons::YesNo, {"Yes", "No"}, {"是", "否"}, Answer::Yes, Answer::No, Answer::No, Answer::No},
    {Buttons::YesNoCancel,
     {"Yes", "No", "Cancel"},
     {"是", "否", "取消"},
     Answer::Yes,
     Answer::Cancel,
     Answer::No,
     Answer::Cancel},
    {Buttons::RetryCancel,
     {"Retry", "Cancel"},
     {"重試", "取消"},
     Answer::Retry,
     Answer::Cancel,
     Answer::Cancel,
     Answer::Cancel},
};

TEST(QtMessageBoxService, KeysAndTheCloseButtonGiveTheAnswerDesktopBoxesGive) {
    QtMessageBoxService service;
    for (const ButtonSet& set : kSets) {
        SCOPED_TRACE(set.english.join(QLatin1Char('/')).toStdString());
        const auto tabs = static_cast<int>(set.english.size());
        QStringList labels;
        EXPECT_EQ(answer(service, set.buttons,
                         [&](QWidget* box) {
                             labels = labelsOf(box);
                             keys({key(Qt::Key_Return)})(box);
                         }),
                  set.enter);
        EXPECT_EQ(labels, set.english);
        EXPECT_EQ(answer(service, set.buttons, keys({key(Qt::Key_Enter, Qt::KeypadModifier)})),
                  set.enter);
        EXPECT_EQ(answer(service, set.buttons, keys({key(Qt::Key_Space)})), set.enter);
        EXPECT_EQ(answer(service, set.buttons, keys({key(Qt::Key_Escape)})), set.escape);
        EXPECT_EQ(answer(service, set.buttons, clickClose), set.escape);
        EXPECT_EQ(answer(service, set.buttons, keys({key(Qt::Key_Tab), key(Qt::Key_Return)})),
                  set.next);
        EXPECT_EQ(answer(service, set.buttons, keys({key(Qt::Key_Tab), key(Qt::Key_Space)})),
                  set.next);
        EXPECT_EQ(answer(service, set.buttons,
                         keys({key(Qt::Key_Tab, Qt::ShiftModifier), key(Qt::Key_Return)})),
                  set.previous);
        // Tabbing once round every button comes back to the default one.
        EXPECT_EQ(answer(service, set.buttons,
                         [tabs](QWidget* box) {
                             for (int i = 0; i < tabs; ++i) {
                                 keys({key(Qt::Key_Tab)})(box);
                             }
                             keys({key(Qt::Key_Return)})(box);
                         }),
                  set.enter);
    }
}

TEST(QtMessageBoxService, ButtonsReadInTheLanguageTheProviderGivesEachTime) {
    const StringTable table = StringTable::builtIn();
    int language = 2;
    QtMessageBoxService service;
    service.setLabelProvider([&](Answer answer) {
        return table
            .find(static_cast<int>(StringTable::idFor(language, TextId::buttonLabel(answer))))
            .value_or(QString());
    });
    const auto labelsShown = [&](Buttons buttons) {
        QStringList labels;
        answer(service, buttons, [&](QWidget* box) {
            labels = labelsOf(box);
            box->close();
        });
        return labels;
    };
    for (const ButtonSet& set : kSets) {
        EXPECT_EQ(labelsShown(set.buttons), set.chinese);
    }
    // The language chosen later in start-up counts from the next box on; before it is chosen
    // the table has no texts to give and the buttons read in English.
    language = 1;
    EXPECT_EQ(labelsShown(Buttons::YesNoCancel), QStringList({"Yes", "No", "Cancel"}));
    language = 0;
    EXPECT_EQ(labelsShown(Buttons::RetryCancel), QStringList({"Retry", "Cancel"}));

    service.setLabelProvider([](Answer answer) {
        return answer == Answer::Cancel ? QString() : QStringLiteral("重試");
    });
    EXPECT_EQ(labelsShown(Buttons::RetryCancel), QStringList({"重試", "Cancel"}));
}

TEST(QtMessageBoxService, ShowsTitleTextAndADistinctSignForEachKind) {
    QtMessageBoxService service;
    const QString text = QStringLiteral("檔案無法開啟\nSecond line");
    std::vector<QImage> signs;
    for (const Icon icon :
         {Icon::None, Icon::Critical, Icon::Question, Icon::Exclamation, Icon::Information}) {
        answer(
            service, Buttons::Ok,
            [&](QWidget* box) {
                EXPECT_EQ(box->windowTitle(), QStringLiteral("Title"));
                const auto* message = box->findChild<MessageBoxText*>();
                ASSERT_NE(message, nullptr);
                EXPECT_EQ(message->text(), text);
                auto* sign = box->findChild<MessageBoxSymbol*>();
                EXPECT_EQ(sign != nullptr, icon != Icon::None);
                if (sign != nullptr) {
                    signs.push_back(sign->grab().toImage());
                }
                box->close();
            },
            icon, text);
    }
    ASSERT_EQ(signs.size(), 4U);
    for (std::size_t i = 0; i < signs.size(); ++i) {
        for (std::size_t j = i + 1; j < signs.size(); ++j) {
            EXPECT_NE(signs[i], signs[j]) << i << " and " << j << " look alike";
        }
    }
}

TEST(MessageBoxText, KeepsLineBreaksAndWrapsLongLinesWithinItsWidth) {
    const MessageBoxText one(QStringLiteral("Really want to exit the system?"), nullptr);
    const MessageBoxText three(QStringLiteral("one\ntwo\nthree"), nullptr);
    EXPECT_LT(one.width(), MessageBoxText::kWidest);
    EXPECT_GT(three.height(), 2 * one.height());

    const QString path = QStringLiteral("/media/card/DCIM/") + QString(120, QLatin1Char('x'));
    for (const QString& text :
         {QString(60, QChar(0x6A94)), QStringLiteral("word ").repeated(40), path}) {
        const MessageBoxText wrapped(text, nullptr);
        EXPECT_EQ(wrapped.width(), MessageBoxText::kWidest) << text.toStdString();
        EXPECT_GT(wrapped.height(), one.height()) << text.toStdString();
    }
}

QPoint centreOf(const QRect& rect) {
    return rect.topLeft() + QPoint(rect.width() / 2, rect.height() / 2);
}

TEST(QtMessageBoxService, OpensOverTheActiveWindowOrMidScreenAndAboveTopmostWindows) {
    QtMessageBoxService service;
    const auto placement = [&](QWidget* expectedOwner, const QPoint& centre) {
        answer(service, Buttons::Ok, [&](QWidget* box) {
            const QWindow* owner =
                expectedOwner != nullptr ? expectedOwner->windowHandle() : nullptr;
            EXPECT_EQ(box->windowHandle()->transientParent(), owner);
            EXPECT_LE((centreOf(box->frameGeometry()) - centre).manhattanLength(), 2);
            box->close();
        });
    };
    placement(nullptr, centreOf(QGuiApplication::primaryScreen()->availableGeometry()));

    QWidget frame;
    frame.setGeometry(60, 80, 900, 600);
    frame.show();
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    placement(&frame, centreOf(frame.frameGeometry()));

    // The splash stays on top while start-up loads; a box reporting a failure then must not
    // open behind it.
    QWidget splash(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    splash.show();
    answer(service, Buttons::Ok, [](QWidget* box) {
        EXPECT_TRUE(box->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        box->close();
    });
}

// The splash's time can run out while a start-up message is open: the window that goes must
// not take the box with it.
TEST(QtMessageBoxService, OutlivesTheWindowItOpenedOver) {
    QtMessageBoxService service;
    auto* owner = new QWidget;
    owner->setGeometry(60, 80, 900, 600);
    owner->show();
    owner->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(owner));
    const Answer given = answer(service, Buttons::YesNo, [&](QWidget* box) {
        delete owner;
        ASSERT_TRUE(box->isVisible());
        QTest::keyClick(box->focusWidget(), Qt::Key_Tab);
        QTest::keyClick(box->focusWidget(), Qt::Key_Return);
    });
    EXPECT_EQ(given, Answer::No);
}

}  // namespace
