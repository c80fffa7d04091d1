#include "fakegraph.h"

using namespace Qt::StringLiterals;

FakeGraph::FakeGraph()
    : FakeProviderServer(u"fakegraph.py"_s, {u"--client-id="_s + QLatin1StringView(kClientId)}, u"Graph"_s)
{
}

QUrl FakeGraph::graphUrl() const
{
    return QUrl(u"http://127.0.0.1:%1/v1.0"_s.arg(port()));
}

void FakeGraph::removeEvents(const QString &calendarId, const QStringList &ids)
{
    control(u"remove"_s, {{"calendar"_L1, calendarId}, {"ids"_L1, QJsonArray::fromStringList(ids)}});
}

QList<QJsonObject> FakeGraph::events(const QString &calendarId)
{
    return objects(control(u"dump"_s, {{"calendar"_L1, calendarId}})["items"_L1]);
}

QString FakeGraph::grantAccessToken()
{
    return control(u"tokens"_s).value("access_token"_L1).toString();
}
