#pragma once

#include <QNetworkAccessManager>

// A network access manager whose every reply is bounded by one
// ReplySizeGuard, for clients that send their requests from many places.
class BoundedNetworkAccessManager : public QNetworkAccessManager
{
    Q_OBJECT
public:
    explicit BoundedNetworkAccessManager(qint64 limitBytes, QObject *parent = nullptr);

protected:
    QNetworkReply *createRequest(Operation op, const QNetworkRequest &request, QIODevice *outgoingData) override;

private:
    qint64 m_limit;
};
