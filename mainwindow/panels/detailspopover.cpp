#include "detailspopover.h"

#include "meetingdescription.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace {

constexpr int kGap = 8;

} // namespace

DetailsPopover::DetailsPopover(QWidget *parent)
    : QFrame(parent, Qt::Popup)
    , m_layout(new QVBoxLayout(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setFrameShape(QFrame::StyledPanel);
    setMinimumWidth(280);
    setMaximumWidth(360);
    m_layout->setContentsMargins(16, 14, 16, 12);
    m_layout->setSpacing(6);
}

QLabel *DetailsPopover::addHeading(const QString &text)
{
    auto *label = new QLabel(text, this);
    QFont font = label->font();
    font.setWeight(QFont::Bold);
    font.setPointSize(14);
    label->setFont(font);
    label->setWordWrap(true);
    // A title from a server may look like HTML; it is shown as written.
    label->setTextFormat(Qt::PlainText);
    m_layout->addWidget(label);
    return label;
}

QLabel *DetailsPopover::addLine(const QString &text, bool muted)
{
    if (text.trimmed().isEmpty())
        return nullptr;
    auto *label = new QLabel(text, this);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    label->setProperty("muted", muted);
    m_layout->addWidget(label);
    return label;
}

QLabel *DetailsPopover::addRichLine(const QString &html, bool muted)
{
    QLabel *label = addLine(html, muted);
    if (!label)
        return nullptr;
    label->setTextFormat(Qt::RichText);
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    // Server-written HTML may link anywhere: only web addresses are opened.
    connect(label, &QLabel::linkActivated, this, [](const QString &link) {
        if (isWebUrl(link))
            QDesktopServices::openUrl(QUrl(link));
    });
    return label;
}

QPoint DetailsPopover::placeNextTo(const QRect &anchor, const QSize &size, const QRect &screen)
{
    const int top = qBound(screen.top(), anchor.y() + (anchor.height() - size.height()) / 2,
                           qMax(screen.top(), screen.bottom() + 1 - size.height()));
    if (anchor.right() + 1 + kGap + size.width() <= screen.right() + 1)
        return {anchor.right() + 1 + kGap, top};
    if (anchor.left() - kGap - size.width() >= screen.left())
        return {anchor.left() - kGap - size.width(), top};
    const int left = qBound(screen.left(), anchor.x() + (anchor.width() - size.width()) / 2,
                            qMax(screen.left(), screen.right() + 1 - size.width()));
    if (anchor.bottom() + 1 + kGap + size.height() <= screen.bottom() + 1)
        return {left, anchor.bottom() + 1 + kGap};
    return {left, qMax(screen.top(), anchor.top() - kGap - size.height())};
}

void DetailsPopover::showNextTo(const QRect &anchor)
{
    adjustSize();
    QScreen *screen = QGuiApplication::screenAt(anchor.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect(anchor.center(), size());
    move(placeNextTo(anchor, size(), available));
    show();
}

void DetailsPopover::showCentredOn(const QRect &area)
{
    adjustSize();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    show();
}
