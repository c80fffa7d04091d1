#pragma once

#include "filetokenstore.h"
#include "tokenstore.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QTimer>

namespace QKeychain {
class Job;
}

namespace TolmAccount {

// The values of one service in the desktop keyring (Secret Service or
// KWallet through QtKeychain), one keyring entry per key, with the owner-only
// file of FileTokenStore as the fallback where no keyring answers.
//
// The keyring answers only through the event loop, so the store keeps every
// value in memory and never waits for it:
//   - at construction it reads the file at once and asks the keyring for its
//     index entry (the list of keys it holds, no values) and then for each
//     listed value; it is ready when that is done or the keyring failed.
//     Without an index a test write decides, since a locked collection
//     that nobody unlocks reads as empty;
//   - load() answers from memory; save() and remove() change memory at once
//     and hand the keyring one change after the other, in order;
//   - a value found in the file is moved into the keyring once it answers;
//     the file entry goes only after the keyring confirmed the write, so a
//     move that stops halfway is taken up again at the next start;
//   - when the keyring fails or does not answer within kAnswerTimeoutMs, the
//     store keeps to the file for the rest of its life (saying so once in the
//     log), and the changes the keyring had not confirmed go to the file.
// Writes still unconfirmed at destruction go to the file as well, to be
// moved at the next start; a removal the keyring had not confirmed by then
// is not kept, and the entry comes back at the next start. Other processes'
// later writes to the keyring are not seen: one process owns its service's
// secrets.
class KeyringTokenStore : public QObject, public TokenStore
{
    Q_OBJECT
public:
    enum class Place { Deciding, Keyring, File };
    Q_ENUM(Place)

    // Long enough for a user to type the keyring's password into its prompt.
    static constexpr int kAnswerTimeoutMs = 60000;

    // `service` names the keyring entries and the file; the file lives in
    // `fallbackDirectory`.
    KeyringTokenStore(const QString &service, const QString &fallbackDirectory, QObject *parent = nullptr);
    ~KeyringTokenStore() override;

    // The keyring entry that lists the keys of the service.
    static QString indexKey();
    // The entry written once, and removed again, to tell an empty keyring
    // from a locked one.
    static QString probeKey();
    // The store's own keys, which callers cannot use.
    static bool isReserved(const QString &key);

    // How long one keyring request may go unanswered (an unlock prompt
    // included) before the store keeps to the file; from now on, the
    // request under way included.
    void setAnswerTimeout(int msecs) { m_answerTimer.setInterval(msecs); }

    Place place() const { return m_place; }
    // Ready, and every change handed in is confirmed by the keyring or
    // written to the file.
    bool isSettled() const { return m_place != Place::Deciding && !m_job && m_changes.isEmpty(); }

    std::optional<QString> load(const QString &key) const override;
    bool save(const QString &key, const QString &value) override;
    bool remove(const QString &key) override;
    bool clear() override;
    bool isReady() const override { return m_place != Place::Deciding; }
    void whenReady(QObject *context, std::function<void()> ready) override;
    QString fallbackFilePath() const override;

Q_SIGNALS:
    void becameReady();

private:
    struct Change
    {
        enum Kind { Write, Delete, Index } kind;
        QString key;
        QString value; // Write: the secret; Index: the key list
    };

    void readIndex();
    void onIndexRead(QKeychain::Job *job);
    void onProbeWritten(QKeychain::Job *job);
    void readNextListed();
    void onValueRead(QKeychain::Job *job);
    void useKeyring();
    void fallBack(const QString &reason);
    void enqueue(const Change &change);
    static Change indexChange(const QStringList &keys);
    void planIndex();
    void runNextChange();
    void onChangeDone(QKeychain::Job *job);
    void start(QKeychain::Job *job, void (KeyringTokenStore::*done)(QKeychain::Job *));
    bool hasChangeFor(const QString &key) const;

    QString m_service;
    FileTokenStore m_file;
    Place m_place = Place::Deciding;
    QHash<QString, QString> m_values;
    // Listed in the keyring's index and not yet read, while deciding.
    QStringList m_toRead;
    // The key list of the last index change handed in (or read).
    QStringList m_indexPlanned;
    // Unconfirmed changes in order; the first is with the keyring while m_job is set.
    QList<Change> m_changes;
    QKeychain::Job *m_job = nullptr;
    QTimer m_answerTimer;
    int m_moved = 0; // file values still to be confirmed by the keyring
    bool m_clearedWhileDeciding = false;
    bool m_probed = false;
};

} // namespace TolmAccount
