#pragma once

#include <QTextDocument>
#include <QWidget>

// The message of a box: as wide as its longest line up to a width that still reads well,
// wrapped beyond it. Line breaks in the message are kept; a word longer than a line, such as
// a file's path in an error, is broken where it must rather than cut off.
class MessageBoxText : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kWidest = 440;

    MessageBoxText(const QString& text, QWidget* parent);

    QString text() const { return m_document.toPlainText(); }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QTextDocument m_document;
};
