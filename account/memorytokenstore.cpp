#include "memorytokenstore.h"

namespace TolmAccount {

std::optional<QString> MemoryTokenStore::load(const QString &key) const
{
    const auto it = m_values.constFind(key);
    if (it == m_values.constEnd())
        return std::nullopt;
    return *it;
}

bool MemoryTokenStore::save(const QString &key, const QString &value)
{
    m_values.insert(key, value);
    return true;
}

bool MemoryTokenStore::remove(const QString &key)
{
    m_values.remove(key);
    return true;
}

bool MemoryTokenStore::clear()
{
    m_values.clear();
    return true;
}

} // namespace TolmAccount
