#include "shell/DockBand.h"

DockBand::DockBand(QWidget* parent) : QWidget(parent) {}

void DockBand::dock(QWidget* window) {
    m_docked = window;
    if (window == nullptr) {
        return;
    }
    window->setGeometry(rect());
    window->show();
}

void DockBand::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (m_docked) {
        m_docked->setGeometry(rect());
    }
}
