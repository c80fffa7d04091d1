#include "filetokenstore.h"

#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace TolmAccount {

// Linux has no credential store we can rely on without a desktop session, so
// secrets live in an owner-only file under the user's data location
// ($XDG_DATA_HOME), apart from the calendar data directory that a user may
// point anywhere.
std::unique_ptr<TokenStore> createTokenStore(const QString &service)
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (service.isEmpty() || base.isEmpty())
        return nullptr;
    return std::make_unique<FileTokenStore>(base + u"/Quillmarten/secrets"_s, service);
}

} // namespace TolmAccount
