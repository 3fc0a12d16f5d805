#pragma once

#include <QAbstractButton>

#include "platform/MessageBoxService.h"

// One answer of a message box, drawn like the skins' buttons. The button Enter would take, the
// one with the focus, wears the teal look of the skins' main buttons, the others the quiet pill
// look; a teal ring marks the focus while the box is the active window.
class MessageBoxButton : public QAbstractButton {
    Q_OBJECT

  public:
    MessageBoxButton(MessageBoxService::Answer answer, const QString& label, QWidget* parent);

    MessageBoxService::Answer answer() const { return m_answer; }

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    MessageBoxService::Answer m_answer;
};
