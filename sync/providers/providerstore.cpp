#include "providerstore.h"

#include "appstate.h"
#include "conflictresolutionservice.h"

ProviderStore ProviderStore::of(AppState *appState)
{
    return {appState->database(), appState->events(), [appState](const Event &local, const Event &remote) {
                if (appState->conflicts())
                    appState->conflicts()->recordConflict(local, remote);
            }};
}
