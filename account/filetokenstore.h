#pragma once

#include "tokenstore.h"

#include <QJsonObject>
#include <QStringList>

namespace TolmAccount {

// Keeps the values of one service as a JSON object in a single file that only
// the user can read (mode 0600, directory 0700). Every write replaces the file
// atomically, so a crash leaves either the old or the new contents. Nothing is
// cached: stores of the same service in one process or several see each
// other's writes.
class FileTokenStore : public TokenStore
{
public:
    FileTokenStore(const QString &directory, const QString &service);

    QString filePath() const { return m_filePath; }
    // Every key that holds a value; empty when the file is missing or unreadable.
    QStringList keys() const;

    std::optional<QString> load(const QString &key) const override;
    bool save(const QString &key, const QString &value) override;
    bool remove(const QString &key) override;
    bool clear() override;

private:
    enum class ReadStatus { Ok, Missing, Unreadable };
    ReadStatus read(QJsonObject *values) const;
    bool write(const QJsonObject &values);

    QString m_directory;
    QString m_filePath;
};

} // namespace TolmAccount
