#include "list/frmMP4List.h"

#include <QHeaderView>
#include <QPalette>
#include <algorithm>
#include <stdexcept>

#include "platform/SkinHost.h"
#include "shell/Application.h"

frmMP4List::frmMP4List(Windows& windows, QWidget* parent)
    : QWidget(parent), Form(windows), m_lstMP4(this) {
    setObjectName(QStringLiteral("frmMP4List"));
    m_lstMP4.setObjectName(QStringLiteral("LstMP4"));
    // A list view in report style: one row per recording, no tree.
    m_lstMP4.setColumnCount(kColumnCount);
    m_lstMP4.setHeaderLabels(QStringList(kColumnCount, QString()));
    m_lstMP4.header()->hide();
    m_lstMP4.setRootIsDecorated(false);
    m_lstMP4.setUniformRowHeights(true);
    m_lstMP4.setSelectionMode(QAbstractItemView::SingleSelection);
    m_lstMP4.setFrameShape(QFrame::NoFrame);
    m_lstMP4.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The theme's navy under the rows, white text.
    QPalette palette = m_lstMP4.palette();
    palette.setColor(QPalette::Base, QColor(26, 27, 54));
    palette.setColor(QPalette::AlternateBase, QColor(26, 27, 54));
    palette.setColor(QPalette::Text, Qt::white);
    m_lstMP4.setPalette(palette);
    // Only the check icon and the display text are seen; the other columns hold data.
    for (int column = 0; column < kColumnCount; ++column) {
        m_lstMP4.setColumnHidden(column, column != 1 && column != 2);
    }
}

frmMP4List::~frmMP4List() = default;

bool frmMP4List::Form_Load() {
    m_mainSkin = makeSkin();
    const QString skinFile =
        programPath(QStringLiteral("skin/media/ls%1.MP4").arg(app().languageNumber()));
    QString error;
    if (!loadAndApply(m_mainSkin.get(), skinFile, this, &error)) {
        throw std::runtime_error(error.toStdString());
    }
    layoutList();
    m_serial = 0;
    return true;
}

void frmMP4List::cmdOpenFile() {}

void frmMP4List::DeleteList() {}

void frmMP4List::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutList();
}

void frmMP4List::layoutList() {
    const QRect area = m_mainSkin ? m_mainSkin->area(QStringLiteral("list")) : QRect();
    m_lstMP4.setGeometry(area.isEmpty() ? rect() : area);
    m_lstMP4.setColumnWidth(1, 20);
    m_lstMP4.setColumnWidth(2, std::max(0, m_lstMP4.width() - 20));
}
