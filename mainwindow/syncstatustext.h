#pragma once

#include <QCoreApplication>
#include <QString>

struct SyncResult;

// The status bar's words for what the sync runs report: the sentence a
// failure is told as, by its kind, the step it met it at and the provider
// whose API it was, and the lines
// of a sync that went through.
class SyncStatusText
{
    Q_DECLARE_TR_FUNCTIONS(SyncStatusText)
public:
    static QString failure(const SyncResult &result);
    // `problem`: what the calendar recorded of objects it left out.
    static QString synced(int eventCount, const QString &problem);
    static QString discovered(int added);
    static QString passwordsKeptInFile(const QString &path);

private:
    static QString storeFailure(const SyncResult &result);
    static QString providerFailure(const SyncResult &result);
    static QString providerAdvice(const SyncResult &result, const QString &name);
};
