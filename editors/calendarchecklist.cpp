#include "calendarchecklist.h"

#include "accountrepository.h"
#include "appstate.h"
#include "calendarrepository.h"
#include "theme.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>

#include <algorithm>

namespace {

QStringList parseIds(const QString &json)
{
    QStringList ids;
    const QJsonDocument doc = QJsonDocument::fromJson(json.toUtf8());
    const QJsonArray array = doc.array();
    for (const QJsonValue &value : array) {
        if (value.isString())
            ids.append(value.toString());
    }
    return ids;
}

} // namespace

CalendarChecklist::CalendarChecklist(AppState *state, Calendars which, QWidget *parent)
    : QListWidget(parent)
{
    setObjectName(QStringLiteral("calendarChecklist"));
    setStyleSheet(Theme::checkListStyleSheet());

    QHash<QString, QString> accountNames;
    const QList<Account> accounts = state->accounts()->getAll();
    for (const Account &account : accounts)
        accountNames.insert(account.id, account.name);

    struct Row
    {
        QString account;
        Calendar calendar;
    };
    QList<Row> rows;
    const QList<Calendar> calendars = state->calendars()->getAll();
    for (const Calendar &calendar : calendars) {
        m_existingIds.insert(calendar.id);
        if (which == Calendars::VisibleOnly && !calendar.is_visible)
            continue;
        rows.append({accountNames.value(calendar.account_id), calendar});
    }
    std::stable_sort(rows.begin(), rows.end(), [](const Row &a, const Row &b) {
        const int byAccount = a.account.compare(b.account, Qt::CaseInsensitive);
        if (byAccount != 0)
            return byAccount < 0;
        return a.calendar.name.compare(b.calendar.name, Qt::CaseInsensitive) < 0;
    });
    for (const Row &row : std::as_const(rows)) {
        const QString text = row.account.isEmpty() ? row.calendar.name
                                                   : QStringLiteral("%1 / %2").arg(row.account, row.calendar.name);
        auto *item = new QListWidgetItem(Theme::colorDotIcon(row.calendar.color), text, this);
        item->setData(Qt::UserRole, row.calendar.id);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
}

void CalendarChecklist::setCheckedIds(const QString &calendarIdsJson)
{
    const QStringList ids = parseIds(calendarIdsJson);
    QSet<QString> listed;
    for (int i = 0; i < count(); ++i) {
        QListWidgetItem *row = item(i);
        const QString id = row->data(Qt::UserRole).toString();
        listed.insert(id);
        row->setCheckState(ids.contains(id) ? Qt::Checked : Qt::Unchecked);
    }
    m_unlistedIds.clear();
    m_droppedGone = false;
    for (const QString &id : ids) {
        if (!m_existingIds.contains(id))
            m_droppedGone = true;
        else if (!listed.contains(id) && !m_unlistedIds.contains(id))
            m_unlistedIds.append(id);
    }
    m_everyGone = !ids.isEmpty()
        && std::none_of(ids.cbegin(), ids.cend(), [this](const QString &id) { return m_existingIds.contains(id); });
}

QStringList CalendarChecklist::checkedIds() const
{
    QStringList ids;
    for (int i = 0; i < count(); ++i) {
        if (item(i)->checkState() == Qt::Checked)
            ids.append(item(i)->data(Qt::UserRole).toString());
    }
    return ids + m_unlistedIds;
}

QString CalendarChecklist::checkedIdsJson() const
{
    return QString::fromUtf8(QJsonDocument(QJsonArray::fromStringList(checkedIds())).toJson(QJsonDocument::Compact));
}

QLabel *CalendarChecklist::goneNotice(const QString &text, QWidget *parent)
{
    auto *notice = new QLabel(text, parent);
    notice->setObjectName(QStringLiteral("goneCalendarsNotice"));
    notice->setWordWrap(true);
    notice->hide();
    return notice;
}
