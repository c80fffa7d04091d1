#pragma once

#include "event.h"

#include <functional>

class AppState;
class Database;
class EventRepository;

// Where a provider's rows are read and written: the application's own
// connection, or a worker thread's connection to the same file. Both sides
// changing one property of a row is told to `conflict` (local, remote).
struct ProviderStore
{
    Database *database = nullptr;
    EventRepository *events = nullptr;
    std::function<void(const Event &local, const Event &remote)> conflict;

    // The application's connection; conflicts go to its list.
    static ProviderStore of(AppState *appState);
};
