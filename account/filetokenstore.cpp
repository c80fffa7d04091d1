#include "filetokenstore.h"

#include "accountlog.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSaveFile>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace TolmAccount {

namespace {

constexpr QFileDevice::Permissions kOwnerOnlyFile = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
constexpr QFileDevice::Permissions kOwnerOnlyDir = kOwnerOnlyFile | QFileDevice::ExeOwner;

// Service names are application identifiers, but a '/' or a lone ".." must
// never reach the file system as such.
QString fileNameFor(const QString &service)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(service)) + u".json"_s;
}

} // namespace

FileTokenStore::FileTokenStore(const QString &directory, const QString &service)
    : m_directory(directory)
    , m_filePath(QDir(directory).filePath(fileNameFor(service)))
{
}

FileTokenStore::ReadStatus FileTokenStore::read(QJsonObject *values) const
{
    QFile file(m_filePath);
    if (!file.exists())
        return ReadStatus::Missing;
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcAccount).noquote() << "[TokenStore] cannot read" << m_filePath << file.errorString();
        return ReadStatus::Unreadable;
    }
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &error);
    if (!doc.isObject()) {
        // The offset only: the text around it may be a secret.
        qCWarning(lcAccount).noquote() << "[TokenStore] damaged store" << m_filePath << "at offset" << error.offset;
        return ReadStatus::Unreadable;
    }
    *values = doc.object();
    return ReadStatus::Ok;
}

bool FileTokenStore::write(const QJsonObject &values)
{
    if (!QFileInfo::exists(m_directory)) {
        const QFileInfo info(m_directory);
        if (!QDir().mkpath(info.absolutePath()) || !QDir().mkdir(m_directory, kOwnerOnlyDir)) {
            qCWarning(lcAccount).noquote() << "[TokenStore] cannot create" << m_directory;
            return false;
        }
    }
    QSaveFile file(m_filePath);
    // The permissions go on the temporary file before any secret is written
    // to it; the rename in commit() keeps them.
    if (!file.open(QIODevice::WriteOnly) || !file.setPermissions(kOwnerOnlyFile)) {
        qCWarning(lcAccount).noquote() << "[TokenStore] cannot write" << m_filePath << file.errorString();
        file.cancelWriting();
        return false;
    }
    file.write(QJsonDocument(values).toJson(QJsonDocument::Compact));
    if (!file.commit()) {
        qCWarning(lcAccount).noquote() << "[TokenStore] cannot write" << m_filePath << file.errorString();
        return false;
    }
    return true;
}

QStringList FileTokenStore::keys() const
{
    QJsonObject values;
    if (read(&values) != ReadStatus::Ok)
        return {};
    QStringList out;
    for (auto it = values.constBegin(); it != values.constEnd(); ++it) {
        if (it.value().isString())
            out.append(it.key());
    }
    return out;
}

std::optional<QString> FileTokenStore::load(const QString &key) const
{
    QJsonObject values;
    if (read(&values) != ReadStatus::Ok)
        return std::nullopt;
    const QJsonValue value = values.value(key);
    if (!value.isString())
        return std::nullopt;
    return value.toString();
}

bool FileTokenStore::save(const QString &key, const QString &value)
{
    QJsonObject values;
    // A damaged file cannot be repaired; starting afresh lets the user sign
    // in again instead of failing on every save.
    if (read(&values) == ReadStatus::Unreadable)
        qCWarning(lcAccount).noquote() << "[TokenStore] replacing unreadable store" << m_filePath;
    values.insert(key, value);
    return write(values);
}

bool FileTokenStore::remove(const QString &key)
{
    QJsonObject values;
    switch (read(&values)) {
    case ReadStatus::Missing: return true;
    case ReadStatus::Unreadable: return false;
    case ReadStatus::Ok: break;
    }
    if (!values.contains(key))
        return true;
    values.remove(key);
    return write(values);
}

bool FileTokenStore::clear()
{
    QFile file(m_filePath);
    return !file.exists() || file.remove();
}

} // namespace TolmAccount
