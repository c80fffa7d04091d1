#pragma once

#include <QDateTime>
#include <QMetaType>
#include <QString>

#include <optional>

// One source connection, a row of `accounts` (its sort_order column belongs to
// the repository alone). `type` is "caldav", "icloud", "zoho", "google",
// "microsoft", "quillmarten" or "webcal".
struct Account
{
    QString id;
    QString name;
    QString type;
    QString server_url;
    QString username;
    QString calendar_home_set;
    QString principal_url;
    int sync_interval_minutes = 15;
    std::optional<QDateTime> last_sync_time;
    QString last_sync_error;
    bool enabled = true;
    QString color = QStringLiteral("#4285F4");
    bool exclude_from_sync = false;
    QString trusted_cert_sha256;
    QString pending_cert_sha256;
    QDateTime created_at;
    QDateTime updated_at;

    friend bool operator==(const Account &a, const Account &b);
    friend bool operator!=(const Account &a, const Account &b) { return !(a == b); }
};

Q_DECLARE_METATYPE(Account)
