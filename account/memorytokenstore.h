#pragma once

#include "tokenstore.h"

#include <QHash>

namespace TolmAccount {

// A store that lives as long as the object, for tests and for callers that
// must not touch the user's real secrets.
class MemoryTokenStore : public TokenStore
{
public:
    std::optional<QString> load(const QString &key) const override;
    bool save(const QString &key, const QString &value) override;
    bool remove(const QString &key) override;
    bool clear() override;

private:
    QHash<QString, QString> m_values;
};

} // namespace TolmAccount
