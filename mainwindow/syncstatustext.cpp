#include "syncstatustext.h"

#include "syncresult.h"

#include <QDir>

namespace {

using Kind = SyncResult::Kind;
using Step = SyncResult::Step;

bool isNetwork(const SyncResult &result)
{
    return result.kind == Kind::Network || result.kind == Kind::UntrustedCertificate;
}

} // namespace

QString SyncStatusText::failure(const SyncResult &result)
{
    if (result.provider != SyncResult::Provider::None)
        return providerFailure(result);
    const QString status = QString::number(result.status);
    const QString network = result.networkErrorText;
    switch (result.kind) {
    case Kind::Answer:
    case Kind::Network:
    case Kind::UntrustedCertificate:
    case Kind::SignInNeeded:
    case Kind::RateLimited: break;
    case Kind::EmptyAnswer: return tr("Subscription returned an empty body");
    case Kind::Unreadable: return tr("Subscription did not return calendar data");
    case Kind::LocalStore:
        return storeFailure(result);
    case Kind::TimedOut: return tr("Subscription did not answer within %1 seconds").arg(result.limit);
    case Kind::TooLarge:
        return result.step == Step::Feed
            ? tr("Subscription is larger than %1 MB").arg(result.limit / (1024 * 1024))
            : tr("The server's answer was larger than %1 MB and was cut off.").arg(result.limit / (1024 * 1024));
    case Kind::BadAddress:
        return result.step == Step::Feed ? tr("Invalid subscription URL: %1").arg(result.subject)
                                         : tr("Enter a CalDAV URL starting with http:// or https://");
    case Kind::Cancelled: return tr("The discovery was cancelled.");
    case Kind::NothingFound: return tr("No calendars found at the discovered home set.");
    case Kind::AccountMissing:
    case Kind::NotConfigured:
    case Kind::SyncTokenRefused:
    case Kind::EndlessListing: break;
    case Kind::DocumentType:
        return tr("The server's answer declared a document type, which CalDAV never uses; it was refused and "
                  "nothing was changed.");
    case Kind::IncompleteListing:
        if (result.step == Step::Feed)
            return tr("The subscription arrived cut short; its events were kept as they were.");
        return result.step == Step::TaskListing
            ? tr("The server listed only part of the calendar's tasks; none were removed here.")
            : tr("The server listed only part of the calendar; no events were removed here.");
    }
    // What the server answered, or that it did not, at the step it was asked.
    switch (result.step) {
    case Step::Markers:
        return isNetwork(result) ? tr("Network error: %1").arg(network)
                                 : tr("Server returned HTTP %1 during ctag check").arg(status);
    case Step::TaskListing:
        if (isNetwork(result))
            return tr("Network error during task pull: %1").arg(network);
        break;
    case Step::EventPush:
        return isNetwork(result) ? tr("Push error: %1").arg(network)
                                 : tr("Server returned HTTP %1 pushing \"%2\"").arg(status, result.subject);
    case Step::TaskPush:
        return isNetwork(result) ? tr("Task push error: %1").arg(network)
                                 : tr("Server returned HTTP %1 pushing task \"%2\"").arg(status, result.subject);
    case Step::Principal:
        if (isNetwork(result))
            return tr("Could not reach the server: %1").arg(network);
        if (result.kind == Kind::SignInNeeded)
            return tr("The server rejected the username or password.");
        return tr("Server returned HTTP %1 during principal discovery.").arg(status);
    case Step::HomeSet:
        return isNetwork(result) ? tr("Lost connection during calendar-home-set discovery: %1").arg(network)
                                 : tr("Server returned HTTP %1 during home-set discovery.").arg(status);
    case Step::CalendarList:
        return isNetwork(result) ? tr("Lost connection during calendar enumeration: %1").arg(network)
                                 : tr("Server returned HTTP %1 during calendar enumeration.").arg(status);
    case Step::Feed:
        return isNetwork(result) ? tr("Subscription fetch failed (%1): %2").arg(status, network)
                                 : tr("Subscription fetch failed: HTTP %1").arg(status);
    case Step::None:
    case Step::EventListing:
    case Step::Fetch:
    // The providers' own steps are worded by providerFailure().
    case Step::TokenRefresh:
    case Step::EventInsert:
    case Step::EventUpdate:
    case Step::EventDelete: break;
    }
    return isNetwork(result) ? tr("Network error: %1").arg(network) : tr("Server returned HTTP %1").arg(status);
}

// What the user can do about it: free space, fix the file's permissions.
// The words never need a write of their own (the disk may be full).
QString SyncStatusText::storeFailure(const SyncResult &result)
{
    const bool feed = result.step == Step::Feed;
    switch (result.storeFailure) {
    case StoreFailure::DiskFull:
        return feed ? tr("The subscription's events could not be stored: the disk is full.")
                    : tr("Sync stopped: the disk is full. Free some space; the next sync brings in the rest.");
    case StoreFailure::ReadOnly:
        if (!feed)
            return tr("Sync stopped: the calendar database is read-only.");
        break;
    case StoreFailure::Io:
        if (!feed)
            return tr("Sync stopped: the disk or the calendar database failed.");
        break;
    // The database is open: it turned a write down, or another program held it.
    case StoreFailure::Refused:
    case StoreFailure::Locked:
    case StoreFailure::Other:
        if (!feed)
            return tr("Sync stopped: the calendar database did not take a change. The next sync tries again.");
        break;
    case StoreFailure::None: break;
    }
    return feed ? tr("The subscription's events could not be stored") : tr("The local database is not open.");
}

// Google's and Microsoft's failures say what failed and what to do about
// it; what the provider answered (JSON meant for developers) goes to the log
// only (ProviderHttp::take).
QString SyncStatusText::providerFailure(const SyncResult &result)
{
    const bool google = result.provider == SyncResult::Provider::Google;
    const QString name = google ? QStringLiteral("Google") : QStringLiteral("Microsoft");
    const QString status = QString::number(result.status);
    if (result.step == Step::TokenRefresh) {
        QString reason;
        if (result.kind == Kind::NotConfigured)
            reason = google ? tr("Google OAuth credentials are not configured.")
                            : tr("Microsoft OAuth credentials are not configured.");
        else if (result.kind == Kind::Unreadable)
            reason = google ? tr("Google's response had no access_token.")
                            : tr("Microsoft's response had no access_token.");
        else if (isNetwork(result))
            reason = tr("%1 could not be reached (%2).").arg(name, result.networkErrorText);
        else
            reason = tr("Token refresh failed (HTTP %1).").arg(status) + u' ' + providerAdvice(result, name);
        return (google ? tr("Google token refresh failed: %1") : tr("Microsoft token refresh failed: %1")).arg(reason);
    }
    const bool write = result.step == Step::EventInsert || result.step == Step::EventUpdate
        || result.step == Step::EventDelete;
    switch (result.kind) {
    case Kind::AccountMissing: return tr("Parent account missing");
    case Kind::LocalStore:
        // No count: the rows could not even be read.
        if (result.limit == 0)
            return storeFailure(result);
        return tr("%n event(s) failed to save locally; will retry next sync.", nullptr, int(result.limit));
    case Kind::SyncTokenRefused:
        return google ? tr("Google refused the full event listing (HTTP 410).")
                      : tr("Microsoft refused the listing's delta token again.");
    case Kind::EndlessListing:
        if (!google)
            return tr("Microsoft's listing did not end; it was stopped.");
        return result.step == Step::CalendarList
            ? tr("Google's calendar list did not end after %n page(s).", nullptr, int(result.limit))
            : tr("Google's event listing did not end after %n page(s).", nullptr, int(result.limit));
    case Kind::BadAddress: return tr("Microsoft sent a link outside its API; the listing was stopped.");
    case Kind::TooLarge:
        return (google ? tr("Google's answer was larger than %1 MB and was cut off.")
                       : tr("Microsoft's answer was larger than %1 MB and was cut off."))
            .arg(result.limit / (1024 * 1024));
    case Kind::SignInNeeded:
        if (result.step == Step::None)
            return google ? tr("No saved Google credentials. Sign in again.")
                          : tr("No saved Microsoft credentials. Sign in again.");
        if (write)
            return google ? tr("No Google access token.") : tr("No Microsoft access token.");
        return google ? tr("No Google access token available.") : tr("No Microsoft access token available.");
    default: break;
    }
    QString what;
    if (isNetwork(result)) {
        what = tr("%1 could not be reached (%2).").arg(name, result.networkErrorText);
    } else if (result.kind == Kind::Unreadable) {
        what = tr("%1 sent an answer that could not be read (HTTP %2).").arg(name, status);
    } else if (result.kind == Kind::RateLimited) {
        what = tr("%1's usage limit was reached (HTTP %2).").arg(name, status);
    } else {
        switch (result.step) {
        case Step::CalendarList: what = tr("%1 refused to list the calendars (HTTP %2).").arg(name, status); break;
        case Step::EventInsert: what = tr("%1 refused a new event (HTTP %2).").arg(name, status); break;
        case Step::EventUpdate: what = tr("%1 refused a changed event (HTTP %2).").arg(name, status); break;
        case Step::EventDelete: what = tr("%1 refused to delete an event (HTTP %2).").arg(name, status); break;
        default: what = tr("%1 refused to list the calendar's events (HTTP %2).").arg(name, status); break;
        }
    }
    return what + u' ' + providerAdvice(result, name);
}

QString SyncStatusText::providerAdvice(const SyncResult &result, const QString &name)
{
    if (result.kind != Kind::Answer)
        return tr("The next sync tries again.");
    // A refresh token the provider no longer takes is answered 400 (invalid_grant).
    if (result.status == 401 || (result.step == Step::TokenRefresh && result.status == 400))
        return tr("Sign in to %1 again.").arg(name);
    if (result.status == 403)
        return tr("Check that the account may still use this calendar.");
    if (result.status == 404 || result.status == 410)
        return tr("It may have been deleted there; the next sync looks again.");
    return tr("The next sync tries again.");
}

QString SyncStatusText::synced(int eventCount, const QString &problem)
{
    const QString total = QString::number(eventCount);
    return problem.isEmpty() ? tr("Synced %1 events").arg(total) : tr("Synced %1 events; %2").arg(total, problem);
}

QString SyncStatusText::discovered(int added)
{
    return tr("Discovered %n new calendar(s).", nullptr, added);
}

QString SyncStatusText::passwordsKeptInFile(const QString &path)
{
    return tr("Desktop keyring unavailable; passwords are kept in %1").arg(QDir::toNativeSeparators(path));
}
