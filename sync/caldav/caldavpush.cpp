#include "caldavpush.h"

#include "caldavitemstore.h"
#include "caldavlog.h"
#include "caldavxml.h"

#include <QTimer>

CalDavPush::CalDavPush(CalDavClient *client, const QUrl &collection, const QString &calendarName,
                       CalDavItemStore *store, QObject *parent)
    : QObject(parent), m_client(client), m_collection(collection), m_calendarName(calendarName), m_store(store)
{
}

void CalDavPush::start(Done done, Fail fail)
{
    m_done = std::move(done);
    m_fail = std::move(fail);
    next();
}

void CalDavPush::next()
{
    QTimer::singleShot(0, this, [this] { pushNext(); });
}

void CalDavPush::pushNext()
{
    if (!m_started) {
        m_started = true;
        m_queue = pendingKeys();
    }
    if (m_queue.isEmpty()) {
        finish();
        return;
    }
    push(m_queue.takeFirst(), false);
}

void CalDavPush::finish()
{
    if (m_done)
        std::exchange(m_done, {})();
}

void CalDavPush::fail(const QString &reason)
{
    if (m_fail)
        std::exchange(m_fail, {})(reason);
}

void CalDavPush::refresh(const QString &href, const QString &reasonOnFailure, const std::function<void()> &then)
{
    m_client->report(m_collection, CalDavXml::multigetBody({href}), 1,
                     [this, href, reasonOnFailure, then](const CalDavClient::Response &response) {
        if (!response.isSuccess()) {
            qCWarning(lcCalDav) << "[CalDav] could not fetch the server copy of" << href << "status="
                                << response.status << response.error;
            fail(reasonOnFailure);
            return;
        }
        QList<CalDavParse::Resource> resources = CalDavParse::parseResources(response.body, m_collection);
        resources.removeIf([&href](const CalDavParse::Resource &r) {
            return r.href != href || r.calendarData.isEmpty();
        });
        m_store->inTransaction([&] {
            if (resources.isEmpty())
                m_store->dropResource(href);
            else
                m_store->apply(resources);
        });
        then();
    });
}
