#pragma once

#include <QObject>

namespace Invitations {

// Pending event invitations of the maker's service. This build holds none;
// the application creates the one instance at start-up.
class Service : public QObject
{
    Q_OBJECT
public:
    // The application state is passed as a plain QObject, as to every
    // service below the application layer; it is not needed yet.
    explicit Service(QObject *appState, QObject *parent = nullptr);
};

} // namespace Invitations
