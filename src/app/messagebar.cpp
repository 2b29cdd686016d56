#include "messagebar.h"

#include <QEvent>
#include <QPainter>
#include <QSizeGrip>
#include <QStyleOption>
#include <QTextLayout>

namespace {

// The margins the toolkit's own status bar keeps around its message.
constexpr int LeftMargin = 6;
constexpr int RightMargin = 12;
constexpr int VerticalMargin = 3;
// A message longer than this many lines is cut: the log and the traffic
// page keep it whole.
constexpr int MaxLines = 10;

} // namespace

MessageBar::MessageBar(QWidget *parent)
    : QStatusBar(parent)
{
    connect(this, &QStatusBar::messageChanged, this, [this](const QString &message) {
        setToolTip(message);
        updateGeometry();
        update();
    });
}

QRect MessageBar::messageRect() const
{
    // The bar spans its window, also before its first layout.
    int right = (parentWidget() ? parentWidget()->width() : width()) - RightMargin;
    const QSizeGrip *grip = findChild<QSizeGrip *>(QString(), Qt::FindDirectChildrenOnly);
    if (grip && grip->isVisible())
        right = qMin(right, grip->x());
    return QRect(LeftMargin, 0, qMax(0, right - LeftMargin), height());
}

void MessageBar::say(const Words &words)
{
    saidWords = words;
    said = words();
    showMessage(said, 0);
}

// Only while the message said last still stands.
void MessageBar::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange && saidWords && currentMessage() == said)
        say(saidWords);
    QStatusBar::changeEvent(event);
}

int MessageBar::oneLineHeight() const
{
    // Before its first layout the bar's own hint is not a line's yet.
    return qMax(QStatusBar::sizeHint().height(), fontMetrics().lineSpacing() + 2 * VerticalMargin);
}

// The message broken into lines that fit `width`, at most MaxLines of them.
QString MessageBar::shownText(int width) const
{
    const QString message = currentMessage();
    if (message.isEmpty() || width <= 0)
        return message;
    QTextLayout layout(message, font());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        if (lines.size() == MaxLines - 1) {
            lines << fontMetrics().elidedText(message.mid(line.textStart()), Qt::ElideRight, width);
            break;
        }
        lines << message.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    return lines.join(QLatin1Char('\n'));
}

int MessageBar::textHeight(int width) const
{
    const QString text = shownText(width);
    return text.isEmpty() ? 0 : int(text.count(QLatin1Char('\n')) + 1) * fontMetrics().lineSpacing();
}

int MessageBar::extraHeight() const
{
    const int wanted = textHeight(messageRect().width()) + 2 * VerticalMargin;
    return qMax(0, wanted - oneLineHeight());
}

QSize MessageBar::sizeHint() const
{
    QSize hint = QStatusBar::sizeHint();
    hint.setHeight(oneLineHeight() + extraHeight());
    return hint;
}

QSize MessageBar::minimumSizeHint() const
{
    QSize hint = QStatusBar::minimumSizeHint();
    hint.setHeight(qMax(hint.height(), sizeHint().height()));
    return hint;
}

void MessageBar::paintEvent(QPaintEvent *event)
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
    const QRect room = messageRect();
    painter.drawText(room, Qt::AlignLeading | Qt::AlignVCenter, shownText(room.width()));
}
