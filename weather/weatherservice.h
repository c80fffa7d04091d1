#pragma once

#include <QObject>

namespace Weather {

// Daily forecasts for the views. This build fetches none; the application
// creates the one instance at start-up.
class Service : public QObject
{
    Q_OBJECT
public:
    // The application state is passed as a plain QObject (this library sits
    // below the application layer); it is not needed yet.
    explicit Service(QObject *appState, QObject *parent = nullptr);
};

} // namespace Weather
