#include "localuser.h"

#include <sys/socket.h>
#include <unistd.h>

namespace LocalUser {

quint32 id()
{
    return quint32(::geteuid());
}

std::optional<quint32> peerId(qintptr socketDescriptor)
{
    ucred credentials{};
    socklen_t size = sizeof(credentials);
    if (socketDescriptor < 0 || ::getsockopt(int(socketDescriptor), SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0
        || size != sizeof(credentials))
        return std::nullopt;
    return quint32(credentials.uid);
}

} // namespace LocalUser
