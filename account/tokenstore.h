#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QObject;

namespace TolmAccount {

// The secure store for passwords and OAuth tokens: one value per key within
// the store's service (the application identifier). Implementations never log
// values; key names and sizes at most.
//
// A store may need the event loop to find out where its values are (the
// desktop keyring answers asynchronously). Until it is ready, load() answers
// from what it knows so far; callers that must not act on a partial answer
// wait with whenReady() instead of spinning an event loop of their own.
class TokenStore
{
public:
    virtual ~TokenStore() = default;

    // The stored value, or nothing when the key holds none or the store
    // cannot be read.
    virtual std::optional<QString> load(const QString &key) const = 0;
    // Stores `value` under `key`, replacing an earlier one; load() returns it
    // from now on. True once the store has taken it: written, or (the
    // keyring) held and handed on, kept in the file should the program end
    // before the keyring confirms.
    virtual bool save(const QString &key, const QString &value) = 0;
    // Forgets `key`. True when the key holds nothing afterwards.
    virtual bool remove(const QString &key) = 0;
    // Forgets every key of the service. True when nothing is left.
    virtual bool clear() = 0;

    // True once load() answers for every stored value.
    virtual bool isReady() const { return true; }
    // Runs `ready` once the store is ready: at once when it is, else from the
    // event loop, and not at all when `context` is destroyed first.
    virtual void whenReady(QObject *context, std::function<void()> ready)
    {
        Q_UNUSED(context);
        ready();
    }
    // The owner-only file that keeps the values because no desktop keyring
    // answered; empty while they are kept anywhere else or not yet known.
    virtual QString fallbackFilePath() const { return {}; }
};

// The platform's secure store for `service`, or null when the platform has
// none. The caller owns the store; stores of the same service share their
// contents.
std::unique_ptr<TokenStore> createTokenStore(const QString &service);

} // namespace TolmAccount
