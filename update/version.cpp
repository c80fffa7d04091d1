#include "version.h"

#include <QList>

namespace TolmUpdate {

namespace {

std::optional<QList<quint64>> components(const QString &version)
{
    if (version.isEmpty())
        return std::nullopt;
    QList<quint64> result;
    const auto parts = QStringView(version).split(u'.');
    for (const QStringView part : parts) {
        // toULongLong alone would accept "+1" and surrounding blanks.
        if (part.isEmpty() || part.size() > 18)
            return std::nullopt;
        for (const QChar c : part) {
            if (c < u'0' || c > u'9')
                return std::nullopt;
        }
        result.append(part.toULongLong());
    }
    return result;
}

} // namespace

bool isValidVersion(const QString &version)
{
    return components(version).has_value();
}

std::optional<int> compareVersions(const QString &a, const QString &b)
{
    const auto left = components(a);
    const auto right = components(b);
    if (!left || !right)
        return std::nullopt;
    const qsizetype n = qMax(left->size(), right->size());
    for (qsizetype i = 0; i < n; ++i) {
        const quint64 l = left->value(i, 0);
        const quint64 r = right->value(i, 0);
        if (l != r)
            return l < r ? -1 : 1;
    }
    return 0;
}

} // namespace TolmUpdate
