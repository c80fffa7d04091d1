#include "keyringtokenstore.h"

#include "accountlog.h"

#include <QDBusConnection>
#include <QJsonArray>
#include <QJsonDocument>

#include <qt6keychain/keychain.h>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace TolmAccount {

namespace {

QStringList sortedKeys(const QHash<QString, QString> &values)
{
    QStringList keys = values.keys();
    std::sort(keys.begin(), keys.end());
    return keys;
}

} // namespace

KeyringTokenStore::KeyringTokenStore(const QString &service, const QString &fallbackDirectory, QObject *parent)
    : QObject(parent)
    , m_service(service)
    , m_file(fallbackDirectory, service)
{
    // Whatever the file holds is known at once; the keyring adds to it later.
    const QStringList fileKeys = m_file.keys();
    for (const QString &key : fileKeys)
        m_values.insert(key, m_file.load(key).value_or(QString()));

    m_answerTimer.setSingleShot(true);
    m_answerTimer.setInterval(kAnswerTimeoutMs);
    connect(&m_answerTimer, &QTimer::timeout, this, [this] { fallBack(u"the keyring did not answer"_s); });

    // Without a session bus no keyring can answer; saying so now keeps a
    // machine without a desktop (CI, a server) as quick as the file alone.
    if (!QDBusConnection::sessionBus().isConnected()) {
        fallBack(u"no session bus"_s);
        return;
    }
    readIndex();
}

KeyringTokenStore::~KeyringTokenStore()
{
    if (m_place == Place::File)
        return;
    // The keyring may never confirm these; the file keeps them until the
    // next start moves them.
    int kept = 0;
    for (const Change &change : std::as_const(m_changes)) {
        if (change.kind == Change::Write && m_file.save(change.key, change.value))
            ++kept;
    }
    if (kept > 0)
        qCInfo(lcAccount).noquote() << "kept" << kept << "unconfirmed secret(s) in" << m_file.filePath()
                                    << "until the keyring takes them";
}

QString KeyringTokenStore::indexKey()
{
    return u"stored-keys"_s;
}

QString KeyringTokenStore::probeKey()
{
    return u"keyring-check"_s;
}

bool KeyringTokenStore::isReserved(const QString &key)
{
    return key == indexKey() || key == probeKey();
}

std::optional<QString> KeyringTokenStore::load(const QString &key) const
{
    const auto it = m_values.constFind(key);
    if (it == m_values.constEnd())
        return std::nullopt;
    return *it;
}

bool KeyringTokenStore::save(const QString &key, const QString &value)
{
    if (isReserved(key))
        return false;
    if (m_place == Place::File) {
        if (!m_file.save(key, value))
            return false;
        m_values.insert(key, value);
        return true;
    }
    m_values.insert(key, value);
    planIndex();
    enqueue({Change::Write, key, value});
    return true;
}

bool KeyringTokenStore::remove(const QString &key)
{
    if (isReserved(key))
        return false;
    m_values.remove(key);
    const bool fileClean = m_file.remove(key);
    if (m_place == Place::File)
        return fileClean;
    enqueue({Change::Delete, key, {}});
    planIndex();
    return fileClean;
}

bool KeyringTokenStore::clear()
{
    // Entries the keyring lists but has not given yet are deleted as they come.
    if (m_place == Place::Deciding)
        m_clearedWhileDeciding = true;
    QStringList keys = m_values.keys() + m_indexPlanned;
    keys.removeDuplicates();
    bool ok = true;
    for (const QString &key : std::as_const(keys))
        ok = remove(key) && ok;
    return m_file.clear() && ok;
}

void KeyringTokenStore::whenReady(QObject *context, std::function<void()> ready)
{
    if (isReady()) {
        ready();
        return;
    }
    connect(
        this, &KeyringTokenStore::becameReady, context, [ready = std::move(ready)] { ready(); },
        Qt::SingleShotConnection);
}

QString KeyringTokenStore::fallbackFilePath() const
{
    return m_place == Place::File ? m_file.filePath() : QString();
}

// --- Deciding: the index, then each listed value ------------------------------

void KeyringTokenStore::start(QKeychain::Job *job, void (KeyringTokenStore::*done)(QKeychain::Job *))
{
    // Jobs are never parented to the store: the keyring's answer may come
    // after the store is gone, and a job must still be there to take it.
    job->setAutoDelete(true);
    job->setInsecureFallback(false);
    m_job = job;
    connect(job, &QKeychain::Job::finished, this, [this, done](QKeychain::Job *finished) {
        if (finished != m_job)
            return; // answered after the store fell back
        m_job = nullptr;
        m_answerTimer.stop();
        (this->*done)(finished);
    });
    m_answerTimer.start();
    job->start();
}

void KeyringTokenStore::readIndex()
{
    auto *job = new QKeychain::ReadPasswordJob(m_service);
    job->setKey(indexKey());
    start(job, &KeyringTokenStore::onIndexRead);
}

void KeyringTokenStore::onIndexRead(QKeychain::Job *job)
{
    if (job->error() == QKeychain::EntryNotFound && !m_probed) {
        // A locked collection nobody unlocks answers "not found" as well;
        // a write tells the two apart. It must not be the index itself: were
        // the collection unlocked for this write, the index it holds would
        // be lost.
        auto *probe = new QKeychain::WritePasswordJob(m_service);
        probe->setKey(probeKey());
        probe->setTextData(QString());
        start(probe, &KeyringTokenStore::onProbeWritten);
        return;
    }
    if (job->error() != QKeychain::NoError && job->error() != QKeychain::EntryNotFound) {
        fallBack(job->errorString());
        return;
    }
    if (job->error() == QKeychain::NoError) {
        const QJsonArray listed =
            QJsonDocument::fromJson(static_cast<QKeychain::ReadPasswordJob *>(job)->textData().toUtf8()).array();
        for (const QJsonValue &key : listed) {
            if (key.isString() && !isReserved(key.toString()))
                m_toRead.append(key.toString());
        }
    }
    m_indexPlanned = m_toRead;
    std::sort(m_indexPlanned.begin(), m_indexPlanned.end());
    qCDebug(lcAccount) << "keyring index of" << m_service << "lists" << m_toRead.size() << "key(s)";
    readNextListed();
}

void KeyringTokenStore::onProbeWritten(QKeychain::Job *job)
{
    if (job->error() != QKeychain::NoError) {
        fallBack(job->errorString());
        return;
    }
    // The collection takes writes, so it is open now: read the index again,
    // and take the probe away once the store is under way.
    m_probed = true;
    m_changes.append({Change::Delete, probeKey(), {}});
    readIndex();
}

void KeyringTokenStore::readNextListed()
{
    if (m_toRead.isEmpty()) {
        useKeyring();
        return;
    }
    auto *job = new QKeychain::ReadPasswordJob(m_service);
    job->setKey(m_toRead.first());
    start(job, &KeyringTokenStore::onValueRead);
}

void KeyringTokenStore::onValueRead(QKeychain::Job *job)
{
    const QString key = m_toRead.takeFirst();
    if (job->error() == QKeychain::NoError) {
        // The file's value and a change made meanwhile are both newer.
        const bool superseded = m_values.contains(key) || hasChangeFor(key);
        if (!superseded && m_clearedWhileDeciding)
            m_changes.append({Change::Delete, key, {}});
        else if (!superseded)
            m_values.insert(key, static_cast<QKeychain::ReadPasswordJob *>(job)->textData());
    } else if (job->error() != QKeychain::EntryNotFound) {
        fallBack(job->errorString());
        return;
    }
    readNextListed();
}

void KeyringTokenStore::useKeyring()
{
    m_place = Place::Keyring;
    // The index lists every key before its entry is written, so a run that
    // stops between the two leaves a listed key without entry (read as
    // nothing), never an entry nobody finds. The file's values go next:
    // changes handed in while deciding are newer.
    QList<Change> head;
    const QStringList keys = sortedKeys(m_values);
    if (keys != m_indexPlanned) {
        m_indexPlanned = keys;
        head.append(indexChange(keys));
    }
    const QStringList fileKeys = m_file.keys();
    for (const QString &key : fileKeys) {
        if (const std::optional<QString> value = m_file.load(key))
            head.append({Change::Write, key, *value});
    }
    m_moved = int(fileKeys.size());
    m_changes = head + m_changes;
    if (m_moved > 0)
        qCInfo(lcAccount).noquote() << "secrets of" << m_service << "are kept in the desktop keyring;" << m_moved
                                    << "to move there from" << m_file.filePath();
    else
        qCInfo(lcAccount).noquote() << "secrets of" << m_service << "are kept in the desktop keyring";
    Q_EMIT becameReady();
    runNextChange();
}

void KeyringTokenStore::fallBack(const QString &reason)
{
    if (m_place == Place::File)
        return;
    const bool wasDeciding = m_place == Place::Deciding;
    m_place = Place::File;
    m_job = nullptr;
    m_answerTimer.stop();
    m_toRead.clear();
    // What the keyring has not confirmed goes to the file, in order; the
    // values read from the keyring stay in memory for this run.
    for (const Change &change : std::as_const(m_changes)) {
        if (change.kind == Change::Write)
            m_file.save(change.key, change.value);
        else if (change.kind == Change::Delete)
            m_file.remove(change.key);
    }
    m_changes.clear();
    qCWarning(lcAccount).noquote() << u"desktop keyring unavailable (%1);"_s.arg(reason) << "secrets of" << m_service
                                   << "are kept in" << m_file.filePath();
    if (wasDeciding)
        Q_EMIT becameReady();
}

// --- Changes, one after the other ---------------------------------------------

KeyringTokenStore::Change KeyringTokenStore::indexChange(const QStringList &keys)
{
    return {Change::Index, indexKey(),
            QString::fromUtf8(QJsonDocument(QJsonArray::fromStringList(keys)).toJson(QJsonDocument::Compact))};
}

void KeyringTokenStore::planIndex()
{
    // While deciding, the keyring's own list is not known yet; useKeyring()
    // writes the whole list first.
    if (m_place != Place::Keyring)
        return;
    const QStringList keys = sortedKeys(m_values);
    if (keys == m_indexPlanned)
        return;
    m_indexPlanned = keys;
    enqueue(indexChange(keys));
}

void KeyringTokenStore::enqueue(const Change &change)
{
    m_changes.append(change);
    runNextChange();
}

bool KeyringTokenStore::hasChangeFor(const QString &key) const
{
    return std::any_of(m_changes.cbegin(), m_changes.cend(),
                       [&key](const Change &change) { return change.kind != Change::Index && change.key == key; });
}

void KeyringTokenStore::runNextChange()
{
    if (m_place != Place::Keyring || m_job || m_changes.isEmpty())
        return;
    const Change &change = m_changes.first();
    if (change.kind == Change::Delete) {
        auto *job = new QKeychain::DeletePasswordJob(m_service);
        job->setKey(change.key);
        start(job, &KeyringTokenStore::onChangeDone);
        return;
    }
    auto *job = new QKeychain::WritePasswordJob(m_service);
    job->setKey(change.key);
    job->setTextData(change.value);
    start(job, &KeyringTokenStore::onChangeDone);
}

void KeyringTokenStore::onChangeDone(QKeychain::Job *job)
{
    const Change change = m_changes.first();
    const bool gone = change.kind == Change::Delete && job->error() == QKeychain::EntryNotFound;
    if (job->error() != QKeychain::NoError && !gone) {
        fallBack(job->errorString());
        return;
    }
    m_changes.removeFirst();
    qCDebug(lcAccount) << "keyring confirmed" << (change.kind == Change::Delete ? "removal of" : "write of")
                       << change.key;
    if (change.kind == Change::Write) {
        // Only now may the file forget it: the keyring holds this value or a newer one.
        m_file.remove(change.key);
        if (m_moved > 0 && --m_moved == 0)
            qCInfo(lcAccount).noquote() << "moved the secrets of" << m_service << "from" << m_file.filePath()
                                        << "into the desktop keyring";
    }
    runNextChange();
}

} // namespace TolmAccount
