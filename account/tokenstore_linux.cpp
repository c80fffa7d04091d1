#include "keyringtokenstore.h"

#include <QCoreApplication>
#include <QDir>
#include <QPointer>
#include <QStandardPaths>
#include <QThread>

using namespace Qt::StringLiterals;

namespace TolmAccount {

namespace {

// One of the stores handed out for a service: they all lead to the same
// KeyringTokenStore, which keeps the values in memory and so must be shared
// for stores of one service to see each other's writes.
class SharedKeyringStore : public TokenStore
{
public:
    explicit SharedKeyringStore(KeyringTokenStore *store)
        : m_store(store)
    {
    }

    std::optional<QString> load(const QString &key) const override
    {
        return m_store ? m_store->load(key) : std::nullopt;
    }
    bool save(const QString &key, const QString &value) override { return m_store && m_store->save(key, value); }
    bool remove(const QString &key) override { return m_store && m_store->remove(key); }
    bool clear() override { return m_store && m_store->clear(); }
    bool isReady() const override { return !m_store || m_store->isReady(); }
    void whenReady(QObject *context, std::function<void()> ready) override
    {
        if (m_store)
            m_store->whenReady(context, std::move(ready));
        else
            ready();
    }
    QString fallbackFilePath() const override { return m_store ? m_store->fallbackFilePath() : QString(); }

private:
    QPointer<KeyringTokenStore> m_store;
};

} // namespace

// Secrets go to the desktop keyring; where none answers, to an owner-only
// file under the user's data location ($XDG_DATA_HOME), apart from the
// calendar data directory that a user may point anywhere. The store of a
// service lives as long as the application object, so that changes the
// keyring has not yet confirmed outlive the caller that made them.
std::unique_ptr<TokenStore> createTokenStore(const QString &service)
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (service.isEmpty() || base.isEmpty())
        return nullptr;
    const QString directory = base + u"/Quillmarten/secrets"_s;
    // The keyring answers through the application's event loop; elsewhere
    // (no application object, another thread) the file serves alone.
    QCoreApplication *app = QCoreApplication::instance();
    if (!app || QThread::currentThread() != app->thread())
        return std::make_unique<FileTokenStore>(directory, service);

    // A test or a second data location gives another folder: another store.
    const QString name = u"tokenstore:"_s + QDir(directory).filePath(service);
    auto *store = app->findChild<KeyringTokenStore *>(name, Qt::FindDirectChildrenOnly);
    if (!store) {
        store = new KeyringTokenStore(service, directory, app);
        store->setObjectName(name);
    }
    return std::make_unique<SharedKeyringStore>(store);
}

} // namespace TolmAccount
