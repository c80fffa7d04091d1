#include "weatherservice.h"

namespace Weather {

Service::Service(QObject *appState, QObject *parent)
    : QObject(parent)
{
}

} // namespace Weather
