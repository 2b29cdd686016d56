#ifndef ELIDINGSTATUSBAR_H
#define ELIDINGSTATUSBAR_H

#include <QStatusBar>

// A status bar for a window of fixed width: a message too long for it ends
// in a visible "…" instead of being cut off, and the whole text is always
// there as the bar's tool tip.
class ElidingStatusBar : public QStatusBar {
    Q_OBJECT

public:
    explicit ElidingStatusBar(QWidget *parent = nullptr);

    // The current message as it is painted.
    QString shownText() const;
    // The room the message is painted in.
    QRect messageRect() const;

protected:
    void paintEvent(QPaintEvent *event) override;
};

#endif // ELIDINGSTATUSBAR_H
