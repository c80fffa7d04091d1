#include "invitationsservice.h"

namespace Invitations {

Service::Service(QObject *appState, QObject *parent)
    : QObject(parent)
{
}

} // namespace Invitations
