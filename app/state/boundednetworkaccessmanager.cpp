#include "boundednetworkaccessmanager.h"

#include "replysizeguard.h"

BoundedNetworkAccessManager::BoundedNetworkAccessManager(qint64 limitBytes, QObject *parent)
    : QNetworkAccessManager(parent)
    , m_limit(limitBytes)
{
}

QNetworkReply *BoundedNetworkAccessManager::createRequest(Operation op, const QNetworkRequest &request,
                                                          QIODevice *outgoingData)
{
    QNetworkReply *reply = QNetworkAccessManager::createRequest(op, request, outgoingData);
    ReplySizeGuard::watch(reply, m_limit);
    return reply;
}
