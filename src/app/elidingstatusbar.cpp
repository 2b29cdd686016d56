#include "elidingstatusbar.h"

#include <QPainter>
#include <QSizeGrip>
#include <QStyleOption>

namespace {

// The margins the toolkit's own status bar keeps around its message.
constexpr int LeftMargin = 6;
constexpr int RightMargin = 12;

} // namespace

ElidingStatusBar::ElidingStatusBar(QWidget *parent)
    : QStatusBar(parent)
{
    connect(this, &QStatusBar::messageChanged, this, [this](const QString &message) { setToolTip(message); });
}

QRect ElidingStatusBar::messageRect() const
{
    int right = width() - RightMargin;
    const QSizeGrip *grip = findChild<QSizeGrip *>(QString(), Qt::FindDirectChildrenOnly);
    if (grip && grip->isVisible())
        right = qMin(right, grip->x());
    return QRect(LeftMargin, 0, qMax(0, right - LeftMargin), height());
}

QString ElidingStatusBar::shownText() const
{
    return fontMetrics().elidedText(currentMessage(), Qt::ElideRight, messageRect().width());
}

void ElidingStatusBar::paintEvent(QPaintEvent *event)
{
    // Without a message the bar shows its widgets, as any status bar does.
    if (currentMessage().isEmpty()) {
        QStatusBar::paintEvent(event);
        return;
    }
    QPainter painter(this);
    QStyleOption option;
    option.initFrom(this);
    style()->drawPrimitive(QStyle::PE_PanelStatusBar, &option, &painter, this);
    painter.setPen(palette().windowText().color());
    painter.drawText(messageRect(), Qt::AlignLeading | Qt::AlignVCenter | Qt::TextSingleLine, shownText());
}
