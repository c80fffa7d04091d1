#include "configsyncservice.h"

#include "apiclient.h"
#include "cloudlog.h"

#include <QJsonArray>

using namespace Qt::StringLiterals;

namespace Quillmarten {

ConfigSyncService::ConfigSyncService(QObject *appState, TolmAccount::ApiClient *api, QObject *parent)
    : QObject(parent)
    , m_api(api)
{
    m_autoTimer.setInterval(kAutoSyncIntervalMs);
    m_mutationTimer.setInterval(kMutationDelayMs);
    m_mutationTimer.setSingleShot(true);
    connect(&m_autoTimer, &QTimer::timeout, this, &ConfigSyncService::syncNow);
    connect(&m_mutationTimer, &QTimer::timeout, this, &ConfigSyncService::syncNow);
}

void ConfigSyncService::startAutoSync()
{
    if (!m_autoTimer.isActive())
        m_autoTimer.start();
}

void ConfigSyncService::stopAutoSync()
{
    m_autoTimer.stop();
    m_mutationTimer.stop();
}

void ConfigSyncService::syncOnMutation()
{
    if (m_autoTimer.isActive())
        m_mutationTimer.start();
}

void ConfigSyncService::syncNow()
{
    if (m_running || !m_api) {
        qCDebug(lcConfigSync) << "[ConfigSync] skipped:" << (m_running ? "running" : "no API client");
        return;
    }
    m_running = true;
    const QJsonObject body{{u"changes"_s, QJsonArray()}};
    m_api->post(u"/sync/push"_s, body, this, [this](const TolmAccount::ApiResponse &response) {
        if (!response.ok()) {
            qCWarning(lcConfigSync) << "[ConfigSync] push failed:" << response.error;
            finish(false);
            return;
        }
        qCInfo(lcConfigSync) << "[ConfigSync] push done, HTTP" << response.status;
        pull();
    });
}

void ConfigSyncService::pull()
{
    if (!m_api) {
        finish(false);
        return;
    }
    m_api->post(u"/sync/pull"_s, QJsonObject(), this, [this](const TolmAccount::ApiResponse &response) {
        if (!response.ok()) {
            qCWarning(lcConfigSync) << "[ConfigSync] pull failed:" << response.error;
            finish(false);
            return;
        }
        qCInfo(lcConfigSync) << "[ConfigSync] pull done, HTTP" << response.status
                             << "- pulled changes are not applied by this build";
        finish(true);
    });
}

void ConfigSyncService::finish(bool succeeded)
{
    m_running = false;
    Q_EMIT syncFinished(succeeded);
}

} // namespace Quillmarten
