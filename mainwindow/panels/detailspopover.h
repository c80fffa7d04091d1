#pragma once

#include <QFrame>

class QLabel;
class QVBoxLayout;

// A pop-up card beside what was clicked; closes on a click outside it and
// deletes itself when closed.
class DetailsPopover : public QFrame
{
    Q_OBJECT
public:
    // Shows the card right of `anchor` (global coordinates) with an 8 px gap,
    // else left of it, else centred below or above it, kept on its screen.
    void showNextTo(const QRect &anchor);

    // Shows the card centred on `area` (global coordinates).
    void showCentredOn(const QRect &area);

    // Where a card of `size` goes beside `anchor` within `screen`.
    static QPoint placeNextTo(const QRect &anchor, const QSize &size, const QRect &screen);

protected:
    explicit DetailsPopover(QWidget *parent);

    // The card's lines, top to bottom.
    QLabel *addHeading(const QString &text);
    // Nothing for empty text.
    QLabel *addLine(const QString &text, bool muted = false);
    // Rich text whose links open in the browser, http and https ones only;
    // nothing for empty text.
    QLabel *addRichLine(const QString &html, bool muted = false);
    QVBoxLayout *content() const { return m_layout; }

private:
    QVBoxLayout *m_layout;
};
