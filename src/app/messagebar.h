#ifndef MESSAGEBAR_H
#define MESSAGEBAR_H

#include <QStatusBar>

#include <functional>

// A status bar for a window of fixed width that shows its message whole: a
// message too long for one line wraps onto as many as it needs (up to a
// bound, past which it ends in a visible "…"), and the bar asks for their
// height. The whole text is the bar's tool tip too. A message given as its
// words is said again in whatever language the window turns to.
class MessageBar : public QStatusBar {
    Q_OBJECT

public:
    // A message, worded anew in the language of the moment.
    using Words = std::function<QString()>;

    explicit MessageBar(QWidget *parent = nullptr);

    void say(const Words &words);

    // The height the current message needs beyond one line's bar, at the
    // bar's present width.
    int extraHeight() const;
    // The room the message is painted in.
    QRect messageRect() const;
    // The current message as it is painted, a line per line.
    QString shownText() const { return shownText(messageRect().width()); }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    QString shownText(int width) const;
    int textHeight(int width) const;
    int oneLineHeight() const;

    Words saidWords;   // the message said last, as words
    QString said;      // and as it read then
};

#endif // MESSAGEBAR_H
