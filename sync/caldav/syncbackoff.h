#pragma once

#include <QDateTime>
#include <QHash>
#include <QString>

// The pause before a calendar whose sync runs keep failing is tried again
// on its own: 1, 2, 4 … minutes after its last failure, at most 30. A run
// that completes clears it. Keys are calendar ids; any sync client's
// coordinator keeps one.
class SyncBackoff
{
public:
    static constexpr int kFirstPauseMinutes = 1;
    static constexpr int kLongestPauseMinutes = 30;

    // The pause after `failures` failures in a row (none: 0).
    static qint64 pauseSecs(int failures);

    // `atLeastSecs`: the pause the server asked for (Retry-After), when
    // longer than the usual one.
    void failed(const QString &key, const QDateTime &now, qint64 atLeastSecs = 0);
    void succeeded(const QString &key);
    int failures(const QString &key) const;
    // Failed last time and its pause has not yet passed.
    bool isPaused(const QString &key, const QDateTime &now) const;
    // Failed last time and its pause has passed: to be tried again.
    bool isDue(const QString &key, const QDateTime &now) const;
    QList<QString> keys() const { return m_states.keys(); }

private:
    struct State
    {
        int failures = 0;
        QDateTime retryAt;
    };
    QHash<QString, State> m_states;
};
