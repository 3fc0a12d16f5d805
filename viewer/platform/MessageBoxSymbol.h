#pragma once

#include <QWidget>

#include "platform/MessageBoxService.h"

// The sign beside a message: a red cross for an error, a teal question mark, an amber warning
// triangle, a blue "i". Drawn here in the theme's colours, in place of the light desktop
// theme's icons that look out of place on the navy boxes.
class MessageBoxSymbol : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kSize = 44;

    MessageBoxSymbol(MessageBoxService::Icon icon, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void paintCritical(QPainter& painter, const QRectF& area) const;
    void paintQuestion(QPainter& painter, const QRectF& area) const;
    void paintExclamation(QPainter& painter, const QRectF& area) const;
    void paintInformation(QPainter& painter, const QRectF& area) const;

    MessageBoxService::Icon m_icon;
};
