#include "platform/MessageBoxText.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextOption>
#include <algorithm>
#include <cmath>

#include "platform/MessageBoxTheme.h"

namespace {

constexpr int kTextPixels = 14;
constexpr int kLineHeightPercent = 135;

}  // namespace

MessageBoxText::MessageBoxText(const QString& text, QWidget* parent) : QWidget(parent) {
    m_document.setDocumentMargin(0);
    m_document.setDefaultFont(MessageBoxTheme::font(kTextPixels));
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_document.setDefaultTextOption(option);
    m_document.setPlainText(text);
    // Airier lines than the font's own: messages run to a few lines of Chinese.
    QTextCursor all(&m_document);
    all.select(QTextCursor::Document);
    QTextBlockFormat spacing;
    spacing.setLineHeight(kLineHeightPercent, QTextBlockFormat::ProportionalHeight);
    all.mergeBlockFormat(spacing);

    m_document.setTextWidth(-1);
    const qreal natural = m_document.idealWidth();
    m_document.setTextWidth(std::min<qreal>(std::ceil(natural), kWidest));
    // Wide enough for whatever a line still holds, so no text is ever cut off.
    const qreal width = std::max(m_document.textWidth(), m_document.idealWidth());
    setFixedSize(static_cast<int>(std::ceil(width)),
                 static_cast<int>(std::ceil(m_document.size().height())));
}

void MessageBoxText::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, QColor(MessageBoxTheme::kText));
    m_document.documentLayout()->draw(&painter, context);
}
