#include "skin/SkinTitleStrip.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWindow>

#include "skin/QtSkinElement.h"
#include "skin/SkinDocument.h"

SkinTitleStrip::SkinTitleStrip(QWidget* window) : QWidget(window), m_window(window) {
    setMouseTracking(true);
    // The caption follows the window's title whenever the window changes it.
    m_window->installEventFilter(this);
}

void SkinTitleStrip::setContent(std::shared_ptr<const SkinDocument> document,
                                QtSkinElement* minimise, QtSkinElement* close) {
    m_document = std::move(document);
    m_minimise = minimise;
    m_close = close;
    m_hovered = nullptr;
    m_held = nullptr;
    m_dragging = false;
    if (m_document && m_document->title) {
        setGeometry(m_document->title->rect);
    }
    update();
}

QRect SkinTitleStrip::toLocal(const QRect& windowRect) const {
    return windowRect.translated(-pos());
}

QtSkinElement* SkinTitleStrip::buttonAt(QPoint point) const {
    for (QtSkinElement* button : {m_close, m_minimise}) {
        if (button != nullptr && toLocal(button->rect()).contains(point)) {
            return button;
        }
    }
    return nullptr;
}

bool SkinTitleStrip::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        QtSkinElement* button = buttonAt(help->pos());
        if (button != nullptr && !button->definition().tip.isEmpty()) {
            QToolTip::showText(help->globalPos(), button->definition().tip, this,
                               toLocal(button->rect()));
        } else {
            QToolTip::hideText();
            event->ignore();
        }
        return true;
    }
    return QWidget::event(event);
}

bool SkinTitleStrip::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_window && event->type() == QEvent::WindowTitleChange) {
        update();
    }
    return QWidget::eventFilter(watched, event);
}

void SkinTitleStrip::paintEvent(QPaintEvent*) {
    if (!m_document || !m_document->title) {
        return;
    }
    const SkinDocument::TitleStrip& title = *m_document->title;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(-pos());
    painter.setFont(title.font);
    painter.setPen(title.color);
    const QString caption =
        QFontMetricsF(title.font)
            .elidedText(m_window->windowTitle(), Qt::ElideRight, title.captionRect.width());
    painter.drawText(title.captionRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     caption);
    for (const QtSkinElement* button : {m_minimise, m_close}) {
        if (button != nullptr) {
            QtSkinElement::Interaction interaction;
            interaction.hovered = button == m_hovered;
            interaction.held = button == m_held && button == m_hovered;
            button->paint(painter, interaction);
        }
    }
}

void SkinTitleStrip::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    m_held = buttonAt(event->position().toPoint());
    if (m_held != nullptr) {
        update();
        return;
    }
    QWidget* topLevel = m_window->window();
    // The window manager moves the window itself where it can (and keeps it on screen);
    // without one, as under a bare X server, the strip moves it.
    if (topLevel->windowHandle() != nullptr && topLevel->windowHandle()->startSystemMove()) {
        return;
    }
    m_dragging = true;
    m_dragOffset = event->globalPosition().toPoint() - topLevel->pos();
}

void SkinTitleStrip::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragging) {
        m_window->window()->move(event->globalPosition().toPoint() - m_dragOffset);
        return;
    }
    QtSkinElement* hovered = buttonAt(event->position().toPoint());
    if (hovered != m_hovered) {
        m_hovered = hovered;
        update();
    }
}

void SkinTitleStrip::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    m_dragging = false;
    QtSkinElement* held = m_held;
    m_held = nullptr;
    update();
    if (held != nullptr && held == buttonAt(event->position().toPoint())) {
        activate(held);
    }
}

void SkinTitleStrip::mouseDoubleClickEvent(QMouseEvent* event) {
    // No maximise: a press like any other, so a quick second press on a button still counts.
    mousePressEvent(event);
}

void SkinTitleStrip::leaveEvent(QEvent* event) {
    m_hovered = nullptr;
    update();
    QWidget::leaveEvent(event);
}

void SkinTitleStrip::activate(QtSkinElement* button) {
    QWidget* topLevel = m_window->window();
    if (button == m_close) {
        topLevel->close();
    } else if (button == m_minimise) {
        topLevel->showMinimized();
    }
}
