#pragma once

#include <QString>

#include <memory>
#include <optional>

namespace TolmAccount {

// The secure store for passwords and OAuth tokens: one value per key within
// the store's service (the application identifier). Implementations never log
// values; key names and sizes at most.
class TokenStore
{
public:
    virtual ~TokenStore() = default;

    // The stored value, or nothing when the key holds none or the store
    // cannot be read.
    virtual std::optional<QString> load(const QString &key) const = 0;
    // Stores `value` under `key`, replacing an earlier one. True once the
    // value is durably stored.
    virtual bool save(const QString &key, const QString &value) = 0;
    // Forgets `key`. True when the key holds nothing afterwards.
    virtual bool remove(const QString &key) = 0;
    // Forgets every key of the service. True when nothing is left.
    virtual bool clear() = 0;
};

// The platform's secure store for `service`, or null when the platform has
// none. The caller owns the store; stores of the same service share their
// contents.
std::unique_ptr<TokenStore> createTokenStore(const QString &service);

} // namespace TolmAccount
