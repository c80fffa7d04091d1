<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>AgendaTaskList</name>
    <message>
        <source>All day</source>
        <translation>Toute la journée</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>Sans titre</translation>
    </message>
    <message>
        <source>Completed &quot;%1&quot;</source>
        <translation>Achèvement de «&#xa0;%1&#xa0;»</translation>
    </message>
    <message>
        <source>Reopened &quot;%1&quot;</source>
        <translation>Réouverture de «&#xa0;%1&#xa0;»</translation>
    </message>
</context>
<context>
    <name>CalendarFormDialog</name>
    <message>
        <source>Add Calendar</source>
        <translation>Ajouter un calendrier</translation>
    </message>
    <message>
        <source>Add Calendar to %1</source>
        <translation>Ajouter un calendrier à %1</translation>
    </message>
    <message>
        <source>Edit Calendar</source>
        <translation>Modifier le calendrier</translation>
    </message>
    <message>
        <source>Create a new calendar on the CalDAV server. The server must allow MKCALENDAR for your user; if it refuses, the calendar will not be created.</source>
        <translation>Créer un nouveau calendrier sur le serveur CalDAV. Le serveur doit autoriser MKCALENDAR pour votre utilisateur ; s&apos;il refuse, le calendrier ne sera pas créé.</translation>
    </message>
    <message>
        <source>e.g. Personal, Work, Family</source>
        <translation>p. ex. Personnel, Travail, Famille</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>&amp;Nom :</translation>
    </message>
    <message>
        <source>&amp;Color:</source>
        <translation>&amp;Couleur :</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Enregistrer</translation>
    </message>
    <message>
        <source>Create</source>
        <translation>Créer</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Pick a calendar color</source>
        <translation>Choisir une couleur de calendrier</translation>
    </message>
    <message>
        <source>Name required</source>
        <translation>Nom requis</translation>
    </message>
    <message>
        <source>Please enter a name for the calendar.</source>
        <translation>Veuillez saisir un nom pour le calendrier.</translation>
    </message>
    <message>
        <source>Database Error</source>
        <translation>Erreur de base de données</translation>
    </message>
    <message>
        <source>Could not save the calendar.</source>
        <translation>Impossible d&apos;enregistrer le calendrier.</translation>
    </message>
    <message>
        <source>Could not create the local account row.</source>
        <translation>Impossible de créer le compte local.</translation>
    </message>
    <message>
        <source>Missing password</source>
        <translation>Mot de passe manquant</translation>
    </message>
    <message>
        <source>No saved password for this account. Edit the account first to re-enter your credentials.</source>
        <translation>Aucun mot de passe enregistré pour ce compte. Modifiez d&apos;abord le compte pour saisir à nouveau vos identifiants.</translation>
    </message>
    <message>
        <source>Creating calendar on server…</source>
        <translation>Création du calendrier sur le serveur…</translation>
    </message>
    <message>
        <source>Network error: %1</source>
        <translation>Erreur réseau : %1</translation>
    </message>
    <message>
        <source>Server refused (HTTP %1). Your account may not have permission to create calendars on this server.</source>
        <translation>Le serveur a refusé (HTTP %1). Votre compte n&apos;a peut-être pas le droit de créer des calendriers sur ce serveur.</translation>
    </message>
    <message>
        <source>Server returned success but the new calendar isn&apos;t reachable. This server may not support MKCALENDAR.</source>
        <translation>Le serveur a indiqué un succès, mais le nouveau calendrier est inaccessible. Ce serveur ne prend peut-être pas en charge MKCALENDAR.</translation>
    </message>
    <message>
        <source>Created on server, but couldn&apos;t save locally. Run sync to recover.</source>
        <translation>Créé sur le serveur, mais impossible de l&apos;enregistrer localement. Lancez une synchronisation pour le récupérer.</translation>
    </message>
    <message>
        <source>Account missing</source>
        <translation>Compte manquant</translation>
    </message>
    <message>
        <source>Could not find the parent account.</source>
        <translation>Impossible de trouver le compte parent.</translation>
    </message>
    <message>
        <source>Saving changes to server…</source>
        <translation>Enregistrement des modifications sur le serveur…</translation>
    </message>
    <message>
        <source>Server refused (HTTP %1). You may not have permission to rename or recolour this calendar.</source>
        <translation>Le serveur a refusé (HTTP %1). Vous n&apos;avez peut-être pas le droit de renommer ce calendrier ou d&apos;en changer la couleur.</translation>
    </message>
    <message>
        <source>Saved on server, but couldn&apos;t update locally.</source>
        <translation>Enregistré sur le serveur, mais impossible de mettre à jour localement.</translation>
    </message>
    <message>
        <source>Server refused (HTTP 409): the folder that should hold the new calendar does not exist on the server.</source>
        <translation>Le serveur a refusé (HTTP 409) : le dossier qui doit contenir le nouveau calendrier n&apos;existe pas sur le serveur.</translation>
    </message>
    <message>
        <source>Server refused (HTTP 507): the server has no storage left for a new calendar.</source>
        <translation>Le serveur a refusé (HTTP 507) : le serveur n&apos;a plus d&apos;espace pour un nouveau calendrier.</translation>
    </message>
    <message>
        <source>Server refused (HTTP %1).</source>
        <translation>Le serveur a refusé (HTTP %1).</translation>
    </message>
</context>
<context>
    <name>Microsoft::CalendarClient</name>
    <message>
        <source>Microsoft calendars cannot repeat on weekdays of different weeks of the month at once.</source>
        <translation>Les calendriers Microsoft ne peuvent pas répéter à la fois sur des jours de semaines différentes du mois.</translation>
    </message>
    <message>
        <source>Microsoft calendars cannot repeat on every such weekday of the month.</source>
        <translation>Les calendriers Microsoft ne peuvent pas répéter chaque jour de ce type dans le mois.</translation>
    </message>
    <message>
        <source>Microsoft calendars cannot hold this choice among the weekdays of the month.</source>
        <translation>Les calendriers Microsoft ne peuvent pas conserver ce choix parmi les jours de la semaine du mois.</translation>
    </message>
    <message>
        <source>Microsoft calendars can only repeat on the first to fourth or the last weekday of the month.</source>
        <translation>Les calendriers Microsoft ne peuvent répéter que du premier au quatrième jour de la semaine du mois, ou le dernier.</translation>
    </message>
    <message>
        <source>Microsoft calendars cannot repeat on several days of the month.</source>
        <translation>Les calendriers Microsoft ne peuvent pas répéter sur plusieurs jours du mois.</translation>
    </message>
    <message>
        <source>Microsoft calendars cannot repeat on a day counted from the end of the month.</source>
        <translation>Les calendriers Microsoft ne peuvent pas répéter un jour compté à partir de la fin du mois.</translation>
    </message>
    <message>
        <source>Microsoft calendars cannot limit a daily or weekly series to some days of the month or year.</source>
        <translation>Les calendriers Microsoft ne peuvent pas limiter une série quotidienne ou hebdomadaire à certains jours du mois ou de l’année.</translation>
    </message>
    <message>
        <source>Microsoft calendars cannot repeat every few days on some weekdays only.</source>
        <translation>Les calendriers Microsoft ne peuvent pas répéter tous les quelques jours sur certains jours de la semaine seulement.</translation>
    </message>
    <message>
        <source>Microsoft calendars cannot repeat weekly on a numbered weekday.</source>
        <translation>Les calendriers Microsoft ne peuvent pas répéter chaque semaine un jour de la semaine numéroté.</translation>
    </message>
    <message>
        <source>Microsoft calendars cannot repeat yearly in several months.</source>
        <translation>Les calendriers Microsoft ne peuvent pas répéter chaque année sur plusieurs mois.</translation>
    </message>
    <message>
        <source>Microsoft calendars cannot repeat yearly on a day without its month.</source>
        <translation>Les calendriers Microsoft ne peuvent pas répéter chaque année un jour sans son mois.</translation>
    </message>
    <message>
        <source>Microsoft calendars cannot limit a monthly series to some months.</source>
        <translation>Les calendriers Microsoft ne peuvent pas limiter une série mensuelle à certains mois.</translation>
    </message>
    <message>
        <source>Microsoft calendars cannot repeat on a weekday and a day of the month at once.</source>
        <translation>Les calendriers Microsoft ne peuvent pas répéter à la fois un jour de la semaine et un jour du mois.</translation>
    </message>
    <message>
        <source>Microsoft calendars cannot hold this choice among the days of the month.</source>
        <translation>Les calendriers Microsoft ne peuvent pas conserver ce choix parmi les jours du mois.</translation>
    </message>
    <message>
        <source>The repeat rule has parts that cannot be read: %1</source>
        <translation>La règle de répétition contient des parties illisibles : %1</translation>
    </message>
    <message>
        <source>Microsoft calendars cannot repeat by %1.</source>
        <translation>Les calendriers Microsoft ne peuvent pas répéter selon %1.</translation>
    </message>
    <message>
        <source>The weekdays of the repeat rule cannot be read.</source>
        <translation>Les jours de la semaine de la règle de répétition sont illisibles.</translation>
    </message>
    <message>
        <source>Microsoft calendars cannot repeat an event more often than daily.</source>
        <translation>Les calendriers Microsoft ne peuvent pas répéter un événement plus d’une fois par jour.</translation>
    </message>
    <message>
        <source>The repeat rule has no frequency that can be read.</source>
        <translation>La règle de répétition n’a pas de fréquence lisible.</translation>
    </message>
    <message>
        <source>The end of the repeat rule cannot be read.</source>
        <translation>La fin de la règle de répétition est illisible.</translation>
    </message>
</context>
<context>
    <name>Microsoft::EventStore</name>
    <message>
        <source>The event could not be stored here.</source>
        <translation>L’événement n’a pas pu être enregistré ici.</translation>
    </message>
</context>
<context>
    <name>Microsoft::SyncClient</name>
    <message>
        <source>The occurrence is not on the server.</source>
        <translation>L’occurrence n’est pas sur le serveur.</translation>
    </message>
</context>
<context>
    <name>SyncStatusText</name>
    <message>
        <source>Subscription returned an empty body</source>
        <translation>L’abonnement a renvoyé une réponse vide</translation>
    </message>
    <message>
        <source>Subscription did not return calendar data</source>
        <translation>L’abonnement n’a pas renvoyé de données de calendrier</translation>
    </message>
    <message>
        <source>The subscription&apos;s events could not be stored</source>
        <translation>Les événements de l’abonnement n’ont pas pu être enregistrés</translation>
    </message>
    <message>
        <source>The local database is not open.</source>
        <translation>La base de données locale n&apos;est pas ouverte.</translation>
    </message>
    <message>
        <source>Subscription did not answer within %1 seconds</source>
        <translation>L’abonnement n’a pas répondu en %1 secondes</translation>
    </message>
    <message>
        <source>Subscription is larger than %1 MB</source>
        <translation>L’abonnement dépasse %1 Mo</translation>
    </message>
    <message>
        <source>Invalid subscription URL: %1</source>
        <translation>URL d’abonnement non valide : %1</translation>
    </message>
    <message>
        <source>Enter a CalDAV URL starting with http:// or https://</source>
        <translation>Saisissez une URL CalDAV commençant par http:// ou https://</translation>
    </message>
    <message>
        <source>The discovery was cancelled.</source>
        <translation>La recherche des calendriers a été annulée.</translation>
    </message>
    <message>
        <source>No calendars found at the discovered home set.</source>
        <translation>Aucun calendrier trouvé dans le home-set détecté.</translation>
    </message>
    <message>
        <source>Network error: %1</source>
        <translation>Erreur réseau&#xa0;: %1</translation>
    </message>
    <message>
        <source>Server returned HTTP %1 during ctag check</source>
        <translation>Le serveur a renvoyé HTTP %1 lors de la vérification du ctag</translation>
    </message>
    <message>
        <source>Network error during task pull: %1</source>
        <translation>Erreur réseau lors de la récupération des tâches&#xa0;: %1</translation>
    </message>
    <message>
        <source>Push error: %1</source>
        <translation>Erreur d&apos;envoi&#xa0;: %1</translation>
    </message>
    <message>
        <source>Server returned HTTP %1 pushing &quot;%2&quot;</source>
        <translation>Le serveur a renvoyé HTTP %1 lors de l&apos;envoi de «&#xa0;%2&#xa0;»</translation>
    </message>
    <message>
        <source>Task push error: %1</source>
        <translation>Erreur d&apos;envoi de la tâche&#xa0;: %1</translation>
    </message>
    <message>
        <source>Server returned HTTP %1 pushing task &quot;%2&quot;</source>
        <translation>Le serveur a renvoyé HTTP %1 lors de l&apos;envoi de la tâche «&#xa0;%2&#xa0;»</translation>
    </message>
    <message>
        <source>Could not reach the server: %1</source>
        <translation>Impossible de joindre le serveur&#xa0;: %1</translation>
    </message>
    <message>
        <source>The server rejected the username or password.</source>
        <translation>Le serveur a refusé le nom d&apos;utilisateur ou le mot de passe.</translation>
    </message>
    <message>
        <source>Server returned HTTP %1 during principal discovery.</source>
        <translation>Le serveur a renvoyé HTTP %1 lors de la recherche du principal.</translation>
    </message>
    <message>
        <source>Lost connection during calendar-home-set discovery: %1</source>
        <translation>Connexion perdue lors de la recherche du calendar-home-set&#xa0;: %1</translation>
    </message>
    <message>
        <source>Server returned HTTP %1 during home-set discovery.</source>
        <translation>Le serveur a renvoyé HTTP %1 lors de la recherche du home-set.</translation>
    </message>
    <message>
        <source>Lost connection during calendar enumeration: %1</source>
        <translation>Connexion perdue lors de l&apos;énumération des calendriers&#xa0;: %1</translation>
    </message>
    <message>
        <source>Server returned HTTP %1 during calendar enumeration.</source>
        <translation>Le serveur a renvoyé HTTP %1 lors de l&apos;énumération des calendriers.</translation>
    </message>
    <message>
        <source>Subscription fetch failed (%1): %2</source>
        <translation>Échec de la récupération de l’abonnement (%1) : %2</translation>
    </message>
    <message>
        <source>Subscription fetch failed: HTTP %1</source>
        <translation>Échec de la récupération de l’abonnement : HTTP %1</translation>
    </message>
    <message>
        <source>Server returned HTTP %1</source>
        <translation>Le serveur a renvoyé HTTP %1</translation>
    </message>
    <message>
        <source>Synced %1 events</source>
        <translation>%1 événements synchronisés</translation>
    </message>
    <message>
        <source>Synced %1 events; %2</source>
        <translation>%1 événements synchronisés ; %2</translation>
    </message>
    <message numerus="yes">
        <source>Discovered %n new calendar(s).</source>
        <translation>
            <numerusform>%n nouveau calendrier découvert.</numerusform>
            <numerusform>%n nouveaux calendriers découverts.</numerusform>
        </translation>
    </message>
    <message>
        <source>Desktop keyring unavailable; passwords are kept in %1</source>
        <translation>Trousseau du bureau indisponible ; les mots de passe sont conservés dans %1</translation>
    </message>
    <message>
        <source>No Microsoft access token available.</source>
        <translation>Aucun jeton d’accès Microsoft disponible.</translation>
    </message>
    <message>
        <source>Microsoft sent a link outside its API; the listing was stopped.</source>
        <translation>Microsoft a envoyé un lien hors de son API ; la liste a été interrompue.</translation>
    </message>
    <message>
        <source>Microsoft's listing did not end; it was stopped.</source>
        <translation>La liste de Microsoft ne se terminait pas ; elle a été interrompue.</translation>
    </message>
    <message>
        <source>No Microsoft access token.</source>
        <translation>Aucun jeton d’accès Microsoft.</translation>
    </message>
    <message>
        <source>Parent account missing</source>
        <translation>Compte parent introuvable</translation>
    </message>
    <message>
        <source>No saved Microsoft credentials. Sign in again.</source>
        <translation>Aucun identifiant Microsoft enregistré. Reconnectez-vous.</translation>
    </message>
    <message>
        <source>Microsoft token refresh failed: %1</source>
        <translation>Échec du renouvellement du jeton Microsoft : %1</translation>
    </message>
    <message>
        <source>Microsoft refused the listing's delta token again.</source>
        <translation>Microsoft a de nouveau refusé le jeton delta de la liste.</translation>
    </message>
    <message numerus="yes">
        <source>%n event(s) failed to save locally; will retry next sync.</source>
        <translation>
            <numerusform>%n événement n’a pas pu être enregistré localement ; nouvel essai à la prochaine synchronisation.</numerusform>
            <numerusform>%n événements n’ont pas pu être enregistrés localement ; nouvel essai à la prochaine synchronisation.</numerusform>
        </translation>
    </message>
    <message>
        <source>No Google access token available.</source>
        <translation>Aucun jeton d'accès Google disponible.</translation>
    </message>
    <message numerus="yes">
        <source>Google's calendar list did not end after %n page(s).</source>
        <translation>
            <numerusform>La liste des agendas Google ne s'est pas terminée après %n page.</numerusform>
            <numerusform>La liste des agendas Google ne s'est pas terminée après %n pages.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Google's event listing did not end after %n page(s).</source>
        <translation>
            <numerusform>La liste des événements Google ne s'est pas terminée après %n page.</numerusform>
            <numerusform>La liste des événements Google ne s'est pas terminée après %n pages.</numerusform>
        </translation>
    </message>
    <message>
        <source>No Google access token.</source>
        <translation>Aucun jeton d'accès Google.</translation>
    </message>
    <message>
        <source>Google OAuth credentials are not configured.</source>
        <translation>Les identifiants OAuth Google ne sont pas configurés.</translation>
    </message>
    <message>
        <source>Google's response had no access_token.</source>
        <translation>La réponse de Google ne contenait pas d'access_token.</translation>
    </message>
    <message>
        <source>Microsoft OAuth credentials are not configured.</source>
        <translation>Les identifiants OAuth Microsoft ne sont pas configurés.</translation>
    </message>
    <message>
        <source>Microsoft's response had no access_token.</source>
        <translation>La réponse de Microsoft ne contenait pas d'access_token.</translation>
    </message>
    <message>
        <source>No saved Google credentials. Sign in again.</source>
        <translation>Aucun identifiant Google enregistré. Reconnectez-vous.</translation>
    </message>
    <message>
        <source>Google token refresh failed: %1</source>
        <translation>Le renouvellement du jeton Google a échoué : %1</translation>
    </message>
    <message>
        <source>Google refused the full event listing (HTTP 410).</source>
        <translation>Google a refusé la liste complète des événements (HTTP 410).</translation>
    </message>
    <message>
        <source>The server&apos;s answer was larger than %1 MB and was cut off.</source>
        <translation>La réponse du serveur dépassait %1 Mo et a été interrompue.</translation>
    </message>
    <message>
        <source>The server listed only part of the calendar&apos;s tasks; none were removed here.</source>
        <translation>Le serveur n’a listé qu’une partie des tâches du calendrier ; aucune n’a été supprimée ici.</translation>
    </message>
    <message>
        <source>The server listed only part of the calendar; no events were removed here.</source>
        <translation>Le serveur n’a listé qu’une partie du calendrier ; aucun événement n’a été supprimé ici.</translation>
    </message>
    <message>
        <source>Google&apos;s answer was larger than %1 MB and was cut off.</source>
        <translation>La réponse de Google dépassait %1 Mo et a été interrompue.</translation>
    </message>
    <message>
        <source>Microsoft&apos;s answer was larger than %1 MB and was cut off.</source>
        <translation>La réponse de Microsoft dépassait %1 Mo et a été interrompue.</translation>
    </message>
    <message>
        <source>The server&apos;s answer declared a document type, which CalDAV never uses; it was refused and nothing was changed.</source>
        <translation>La réponse du serveur déclarait un type de document, ce que CalDAV n&apos;utilise jamais&#xa0;; elle a été refusée et rien n&apos;a été modifié.</translation>
    </message>
    <message>
        <source>The subscription arrived cut short; its events were kept as they were.</source>
        <translation>L&apos;abonnement est arrivé incomplet&#xa0;; ses événements ont été conservés tels quels.</translation>
    </message>
    <message>
        <source>The subscription&apos;s events could not be stored: the disk is full.</source>
        <translation>Les événements de l&apos;abonnement n&apos;ont pas pu être enregistrés&#xa0;: le disque est plein.</translation>
    </message>
    <message>
        <source>Sync stopped: the disk is full. Free some space; the next sync brings in the rest.</source>
        <translation>Synchronisation interrompue&#xa0;: le disque est plein. Libérez de l&apos;espace&#xa0;; la prochaine synchronisation récupérera le reste.</translation>
    </message>
    <message>
        <source>Sync stopped: the calendar database is read-only.</source>
        <translation>Synchronisation interrompue&#xa0;: la base de données du calendrier est en lecture seule.</translation>
    </message>
    <message>
        <source>Sync stopped: the disk or the calendar database failed.</source>
        <translation>Synchronisation interrompue&#xa0;: le disque ou la base de données du calendrier a échoué.</translation>
    </message>
    <message>
        <source>Sync stopped: the calendar database did not take a change. The next sync tries again.</source>
        <translation>Synchronisation interrompue&#xa0;: la base de données du calendrier n’a pas accepté une modification. La prochaine synchronisation réessaiera.</translation>
    </message>
    <message>
        <source>%1 could not be reached (%2).</source>
        <translation>%1 est injoignable (%2).</translation>
    </message>
    <message>
        <source>Token refresh failed (HTTP %1).</source>
        <translation>Le renouvellement du jeton a échoué (HTTP %1).</translation>
    </message>
    <message>
        <source>%1 sent an answer that could not be read (HTTP %2).</source>
        <translation>%1 a envoyé une réponse illisible (HTTP %2).</translation>
    </message>
    <message>
        <source>%1&apos;s usage limit was reached (HTTP %2).</source>
        <translation>La limite d&apos;utilisation de %1 a été atteinte (HTTP %2).</translation>
    </message>
    <message>
        <source>%1 refused to list the calendars (HTTP %2).</source>
        <translation>%1 a refusé de lister les calendriers (HTTP %2).</translation>
    </message>
    <message>
        <source>%1 refused a new event (HTTP %2).</source>
        <translation>%1 a refusé un nouvel événement (HTTP %2).</translation>
    </message>
    <message>
        <source>%1 refused a changed event (HTTP %2).</source>
        <translation>%1 a refusé un événement modifié (HTTP %2).</translation>
    </message>
    <message>
        <source>%1 refused to delete an event (HTTP %2).</source>
        <translation>%1 a refusé de supprimer un événement (HTTP %2).</translation>
    </message>
    <message>
        <source>%1 refused to list the calendar&apos;s events (HTTP %2).</source>
        <translation>%1 a refusé de lister les événements du calendrier (HTTP %2).</translation>
    </message>
    <message>
        <source>The next sync tries again.</source>
        <translation>La prochaine synchronisation réessaiera.</translation>
    </message>
    <message>
        <source>Sign in to %1 again.</source>
        <translation>Reconnectez-vous à %1.</translation>
    </message>
    <message>
        <source>Check that the account may still use this calendar.</source>
        <translation>Vérifiez que le compte peut encore utiliser ce calendrier.</translation>
    </message>
    <message>
        <source>It may have been deleted there; the next sync looks again.</source>
        <translation>Il a peut-être été supprimé là-bas&#xa0;; la prochaine synchronisation vérifiera à nouveau.</translation>
    </message>
</context>
<context>
    <name>TaskFormDialog</name>
    <message>
        <source>Read-only calendar</source>
        <translation>Calendrier en lecture seule</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is read-only, so a subtask can&apos;t be added to its task: a subtask stays in its parent task&apos;s calendar.</source>
        <translation>« %1 » est en lecture seule : impossible d&apos;ajouter une sous-tâche à sa tâche, car une sous-tâche reste dans le calendrier de sa tâche parente.</translation>
    </message>
    <message>
        <source>Edit Task</source>
        <translation>Modifier la tâche</translation>
    </message>
    <message>
        <source>New Task</source>
        <translation>Nouvelle tâche</translation>
    </message>
    <message>
        <source>Edit task</source>
        <translation>Modifier la tâche</translation>
    </message>
    <message>
        <source>New task</source>
        <translation>Nouvelle tâche</translation>
    </message>
    <message>
        <source>Update the task and save to apply.</source>
        <translation>Modifiez la tâche et enregistrez pour appliquer.</translation>
    </message>
    <message>
        <source>Drop a quick to-do; due date and priority are optional.</source>
        <translation>Notez une tâche rapide ; l&apos;échéance et la priorité sont facultatives.</translation>
    </message>
    <message>
        <source>Buy birthday gift, prep Q1 report…</source>
        <translation>Acheter un cadeau d&apos;anniversaire, préparer le rapport T1…</translation>
    </message>
    <message>
        <source>&amp;Title</source>
        <translation>&amp;Titre</translation>
    </message>
    <message>
        <source>&amp;Calendar</source>
        <translation>&amp;Calendrier</translation>
    </message>
    <message>
        <source>Set start date</source>
        <translation>Définir une date de début</translation>
    </message>
    <message>
        <source>&amp;Starts</source>
        <translation>&amp;Début</translation>
    </message>
    <message>
        <source>Set due date</source>
        <translation>Définir une échéance</translation>
    </message>
    <message>
        <source>&amp;Due</source>
        <translation>É&amp;chéance</translation>
    </message>
    <message>
        <source>Does not repeat</source>
        <translation>Ne se répète pas</translation>
    </message>
    <message>
        <source>&amp;Repeat</source>
        <translation>&amp;Répéter</translation>
    </message>
    <message>
        <source>Due date</source>
        <translation>Échéance</translation>
    </message>
    <message>
        <source>Completion date</source>
        <translation>Date d&apos;achèvement</translation>
    </message>
    <message>
        <source>Due date: next due = current due + interval.
Completion date: next due = today + interval.</source>
        <translation>Échéance : prochaine échéance = échéance actuelle + intervalle.
Date d&apos;achèvement : prochaine échéance = aujourd&apos;hui + intervalle.</translation>
    </message>
    <message>
        <source>Repeats &amp;from</source>
        <translation>Répéter à &amp;partir de</translation>
    </message>
    <message>
        <source>— None</source>
        <translation>— Aucune</translation>
    </message>
    <message>
        <source>● High</source>
        <translation>● Haute</translation>
    </message>
    <message>
        <source>● Medium</source>
        <translation>● Moyenne</translation>
    </message>
    <message>
        <source>● Low</source>
        <translation>● Basse</translation>
    </message>
    <message>
        <source>&amp;Priority</source>
        <translation>&amp;Priorité</translation>
    </message>
    <message>
        <source>Completed</source>
        <translation>Terminée</translation>
    </message>
    <message>
        <source>e.g. Personal, Health, Errands</source>
        <translation>p. ex. Personnel, Santé, Courses</translation>
    </message>
    <message>
        <source>&amp;Categories</source>
        <translation>C&amp;atégories</translation>
    </message>
    <message>
        <source>Steps, links, context…</source>
        <translation>Étapes, liens, contexte…</translation>
    </message>
    <message>
        <source>&amp;Notes</source>
        <translation>&amp;Notes</translation>
    </message>
    <message>
        <source>Save changes</source>
        <translation>Enregistrer les modifications</translation>
    </message>
    <message>
        <source>Create task</source>
        <translation>Créer la tâche</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Subtasks stay in their parent task&apos;s calendar.</source>
        <translation>Les sous-tâches restent dans le calendrier de leur tâche parente.</translation>
    </message>
    <message>
        <source>Title required</source>
        <translation>Titre requis</translation>
    </message>
    <message>
        <source>Please enter a title for the task.</source>
        <translation>Veuillez saisir un titre pour la tâche.</translation>
    </message>
    <message>
        <source>No calendars</source>
        <translation>Aucun calendrier</translation>
    </message>
    <message>
        <source>Create a calendar first.</source>
        <translation>Créez d&apos;abord un calendrier.</translation>
    </message>
    <message>
        <source>Database Error</source>
        <translation>Erreur de base de données</translation>
    </message>
    <message>
        <source>Could not save the task.</source>
        <translation>Impossible d&apos;enregistrer la tâche.</translation>
    </message>
</context>
<context>
    <name>Application</name>
    <message>
        <location filename="../../app/application.cpp" line="+131"/>
        <source>Database Error</source>
        <translation>Erreur de base de données</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Failed to initialize the database.

Data directory: %1

Please check file permissions and try again.</source>
        <translation>Impossible d&apos;initialiser la base de données.

Dossier des données&#xa0;: %1

Vérifiez les autorisations des fichiers et réessayez.</translation>
    </message>
    <message>
        <source>The calendar database is locked by another program.

Data directory: %1

Close the program that has it open and start again.</source>
        <translation>La base de données du calendrier est verrouillée par un autre programme.

Dossier des données&#xa0;: %1

Fermez le programme qui l&apos;a ouverte et redémarrez.</translation>
    </message>
    <message>
        <source>The calendar database is damaged and cannot be opened. It has not been changed.

Data directory: %1

Restore a copy of calendar.db, or move it away to start with an empty calendar.</source>
        <translation>La base de données du calendrier est endommagée et ne peut pas être ouverte. Elle n&apos;a pas été modifiée.

Dossier des données&#xa0;: %1

Restaurez une copie de calendar.db, ou déplacez-la pour commencer avec un calendrier vide.</translation>
    </message>
    <message>
        <source>The calendar database was created by a newer version of this program and cannot be opened by this one. It has not been changed.

Data directory: %1

Please use the newer version.</source>
        <translation>La base de données du calendrier a été créée par une version plus récente de ce programme et ne peut pas être ouverte par celle-ci. Elle n’a pas été modifiée.

Dossier de données : %1

Veuillez utiliser la version plus récente.</translation>
    </message>
    <message>
        <source>Calendar Already Running</source>
        <translation>Le calendrier est déjà en cours d’exécution</translation>
    </message>
    <message>
        <source>The calendar data folder is in use by another running calendar program.

Data directory: %1

This one ends now.</source>
        <translation>Le dossier de données du calendrier est utilisé par un autre programme de calendrier en cours d’exécution.

Dossier de données : %1

Celui-ci se ferme maintenant.</translation>
    </message>
    <message>
        <source>Read-Only Calendar</source>
        <translation>Calendrier en lecture seule</translation>
    </message>
    <message>
        <source>The calendar database is read-only: changes cannot be saved.

Data directory: %1</source>
        <translation>La base de données du calendrier est en lecture seule : les modifications ne peuvent pas être enregistrées.

Dossier de données : %1</translation>
    </message>
</context>
<context>
    <name>CalDavClient</name>
    <message>
        <location filename="../../sync/caldav/caldavclient.cpp" line="+207"/>
        <source>Unsupported URL: %1</source>
        <translation>URL non prise en charge&#xa0;: %1</translation>
    </message>
    <message numerus="yes">
        <location line="+49"/>
        <source>The server did not answer for %n second(s).</source>
        <translation>
            <numerusform>Le serveur n&apos;a pas répondu pendant %n seconde.</numerusform>
            <numerusform>Le serveur n&apos;a pas répondu pendant %n secondes.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>The server did not finish its answer within %n second(s).</source>
        <translation>
            <numerusform>Le serveur n&apos;a pas terminé sa réponse en %n seconde.</numerusform>
            <numerusform>Le serveur n&apos;a pas terminé sa réponse en %n secondes.</numerusform>
        </translation>
    </message>
    <message>
        <source>The server&apos;s answer was larger than %1 MB and was cut off.</source>
        <translation>La réponse du serveur dépassait %1 Mo et a été interrompue.</translation>
    </message>
    <message>
        <source>The server&apos;s answer declared a document type, which CalDAV never uses; it was refused.</source>
        <translation>La réponse du serveur déclarait un type de document, ce que CalDAV n&apos;utilise jamais&#xa0;; elle a été refusée.</translation>
    </message>
    <message>
        <source>The server&apos;s answer ended before it was whole.</source>
        <translation>La réponse du serveur s&apos;est terminée avant d&apos;être complète.</translation>
    </message>
</context>
<context>
    <name>CalDavSyncClient</name>
    <message numerus="yes">
        <location line="+31"/>
        <source>%n item(s) could not be synced</source>
        <translation>
            <numerusform>%n élément n&apos;a pas pu être synchronisé</numerusform>
            <numerusform>%n éléments n&apos;ont pas pu être synchronisés</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>DialogParts</name>
    <message>
        <source>Edit…</source>
        <translation>Modifier…</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Supprimer</translation>
    </message>
</context>
<context>
    <name>EventAccess</name>
    <message>
        <source>Events of a subscribed calendar can&apos;t be changed.</source>
        <translation>Les événements d’un calendrier abonné ne peuvent pas être modifiés.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is read-only: its events cannot be changed here.</source>
        <translation>« %1 » est en lecture seule : ses événements ne peuvent pas être modifiés ici.</translation>
    </message>
</context>
<context>
    <name>EventDetailsPopover</name>
    <message>
        <location filename="../../mainwindow/eventdetailspopover.cpp" line="+48"/>
        <source>(No title)</source>
        <translation>(Sans titre)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Repeats</source>
        <translation>Se répète</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>Edit</source>
        <translation>Modifier</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Delete</source>
        <translation>Supprimer</translation>
    </message>
    <message>
        <location line="+32"/>
        <source>%1 · All day</source>
        <translation>%1 · Toute la journée</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 – %2 · All day</source>
        <translation>%1 – %2 · Toute la journée</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>%1 · %2 – %3</source>
        <translation>%1 · %2 – %3</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 %2 – %3 %4</source>
        <translation>%1 %2 – %3 %4</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>Delete event?</source>
        <translation>Supprimer l&apos;événement&#xa0;?</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Delete &quot;%1&quot;? You can undo with %2.</source>
        <translation>Supprimer «&#xa0;%1&#xa0;»&#xa0;? Vous pourrez annuler avec %2.</translation>
    </message>
    <message>
        <source>Database Error</source>
        <translation>Erreur de base de données</translation>
    </message>
    <message>
        <source>Could not delete &quot;%1&quot;.</source>
        <translation>Impossible de supprimer « %1 ».</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Deleted &quot;%1&quot;</source>
        <translation>Suppression de «&#xa0;%1&#xa0;»</translation>
    </message>
    <message>
        <source>Reminders: %1</source>
        <translation>Rappels&#xa0;: %1</translation>
    </message>
    <message>
        <source>Online meeting: %1</source>
        <translation>Réunion en ligne&#xa0;: %1</translation>
    </message>
    <message>
        <source>Join online meeting</source>
        <translation>Rejoindre la réunion en ligne</translation>
    </message>
</context>
<context>
    <name>EventFormDialog</name>
    <message>
        <location filename="../../editors/eventformdialog.cpp" line="+115"/>
        <source>Edit Event</source>
        <translation>Modifier l&apos;événement</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>New Event</source>
        <translation>Nouvel événement</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>At time of event</source>
        <translation>À l&apos;heure de l&apos;événement</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>5 minutes before</source>
        <translation>5 minutes avant</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>10 minutes before</source>
        <translation>10 minutes avant</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>15 minutes before</source>
        <translation>15 minutes avant</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>30 minutes before</source>
        <translation>30 minutes avant</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>1 hour before</source>
        <translation>1 heure avant</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>2 hours before</source>
        <translation>2 heures avant</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>1 day before</source>
        <translation>1 jour avant</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>2 days before</source>
        <translation>2 jours avant</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>1 week before</source>
        <translation>1 semaine avant</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 minutes before</source>
        <translation>%1 minutes avant</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 hours before</source>
        <translation>%1 heures avant</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 days before</source>
        <translation>%1 jours avant</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Going</source>
        <translation>Participe</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Declined</source>
        <translation>Refusé</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Maybe</source>
        <translation>Peut-être</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Delegated</source>
        <translation>Délégué</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>No response</source>
        <translation>Pas de réponse</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>Edit event</source>
        <translation>Modifier l&apos;événement</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>New event</source>
        <translation>Nouvel événement</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>From template…</source>
        <translation>À partir d&apos;un modèle…</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Update the details below and save to apply.</source>
        <translation>Modifiez les détails ci-dessous, puis enregistrez pour les appliquer.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Fill in the basics. Start time and calendar are required.</source>
        <translation>Renseignez l&apos;essentiel. L&apos;heure de début et le calendrier sont obligatoires.</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Lunch with Sam, Sprint planning…</source>
        <translation>Déjeuner avec Sam, Planification du sprint…</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Title</source>
        <translation>&amp;Titre</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>&amp;Calendar</source>
        <translation>&amp;Calendrier</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Use calendar color</source>
        <translation>Utiliser la couleur du calendrier</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Color</source>
        <translation>Couleur</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>&amp;Starts</source>
        <translation>&amp;Début</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>&amp;Ends</source>
        <translation>&amp;Fin</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>All day</source>
        <translation>Toute la journée</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>&amp;Repeats</source>
        <translation>&amp;Répétition</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>+ Add reminder</source>
        <translation>+ Ajouter un rappel</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Re&amp;minders</source>
        <translation>Ra&amp;ppels</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Address, room, or video link</source>
        <translation>Adresse, salle ou lien vidéo</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Location</source>
        <translation>&amp;Lieu</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Notes, agenda, links…</source>
        <translation>Notes, ordre du jour, liens…</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;Notes</source>
        <translation>&amp;Notes</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>+ Add attendee</source>
        <translation>+ Ajouter un participant</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Attendees</source>
        <translation>Participants</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Save changes</source>
        <translation>Enregistrer</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Create event</source>
        <translation>Créer l&apos;événement</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <location line="+123"/>
        <source>Inheriting calendar color (%1). Click to override.</source>
        <translation>Couleur du calendrier (%1). Cliquez pour la remplacer.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Custom color (%1). Click to change.</source>
        <translation>Couleur personnalisée (%1). Cliquez pour la modifier.</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Event color</source>
        <translation>Couleur de l&apos;événement</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Does not repeat</source>
        <translation>Ne se répète pas</translation>
    </message>
    <message>
        <location line="+85"/>
        <source>Name</source>
        <translation>Nom</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>name@example.com</source>
        <translation>nom@example.com</translation>
    </message>
    <message>
        <location line="+30"/>
        <source>No templates</source>
        <translation>Aucun modèle</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>You haven&apos;t created any event templates yet. Open Tools → Manage Templates to create one.</source>
        <translation>Vous n&apos;avez encore créé aucun modèle d&apos;événement. Ouvrez Outils → Gérer les modèles pour en créer un.</translation>
    </message>
    <message>
        <location line="+50"/>
        <source>Title required</source>
        <translation>Titre obligatoire</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Please enter a title for the event.</source>
        <translation>Veuillez saisir un titre pour l&apos;événement.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>No calendars</source>
        <translation>Aucun calendrier</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Create a calendar first.</source>
        <translation>Créez d&apos;abord un calendrier.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>End before start</source>
        <translation>Fin avant le début</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>The end time is earlier than the start time.</source>
        <translation>L&apos;heure de fin est antérieure à l&apos;heure de début.</translation>
    </message>
    <message>
        <location line="+66"/>
        <source>Database Error</source>
        <translation>Erreur de base de données</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Could not save the event.</source>
        <translation>Impossible d&apos;enregistrer l&apos;événement.</translation>
    </message>
</context>
<context>
    <name>FilterFormDialog</name>
    <message>
        <source>Every calendar this filter applied to has been deleted, so it matches nothing.</source>
        <translation>Tous les calendriers auxquels ce filtre s&apos;appliquait ont été supprimés : il ne correspond donc à rien.</translation>
    </message>
    <message>
        <source>Every calendar this filter applied to has been deleted, so it matches nothing. Check the calendars it should apply to; saved without any, it applies to every calendar.</source>
        <translation>Tous les calendriers auxquels ce filtre s&apos;appliquait ont été supprimés : il ne correspond donc à rien. Cochez les calendriers auxquels il doit s&apos;appliquer ; enregistré sans aucun, il s&apos;applique à tous les calendriers.</translation>
    </message>
    <message>
        <source>This filter is of a kind this version does not know (&quot;%1&quot;). It is shown read-only and kept as it is.</source>
        <translation>Cette version ne connaît pas ce type de filtre (« %1 »). Il est affiché en lecture seule et conservé tel quel.</translation>
    </message>
    <message>
        <source>Pattern Match</source>
        <translation>Correspondance de texte</translation>
    </message>
    <message>
        <source>Filter events matching text patterns</source>
        <translation>Filtrer les événements correspondant à des motifs de texte</translation>
    </message>
    <message>
        <source>Time-Based</source>
        <translation>Par horaire</translation>
    </message>
    <message>
        <source>Filter events at specific times</source>
        <translation>Filtrer les événements à des heures précises</translation>
    </message>
    <message>
        <source>Specific Event</source>
        <translation>Événement précis</translation>
    </message>
    <message>
        <source>Filter a specific recurring event</source>
        <translation>Filtrer un événement récurrent précis</translation>
    </message>
    <message>
        <source>All-Day Events</source>
        <translation>Événements sur la journée</translation>
    </message>
    <message>
        <source>Filter all-day events</source>
        <translation>Filtrer les événements sur la journée</translation>
    </message>
    <message>
        <source>Mon</source>
        <translation>lun</translation>
    </message>
    <message>
        <source>Tue</source>
        <translation>mar</translation>
    </message>
    <message>
        <source>Wed</source>
        <translation>mer</translation>
    </message>
    <message>
        <source>Thu</source>
        <translation>jeu</translation>
    </message>
    <message>
        <source>Fri</source>
        <translation>ven</translation>
    </message>
    <message>
        <source>Sat</source>
        <translation>sam</translation>
    </message>
    <message>
        <source>Sun</source>
        <translation>dim</translation>
    </message>
    <message>
        <source>Add Filter</source>
        <translation>Ajouter un filtre</translation>
    </message>
    <message>
        <source>Edit Filter</source>
        <translation>Modifier le filtre</translation>
    </message>
    <message>
        <source>Edit filter</source>
        <translation>Modifier le filtre</translation>
    </message>
    <message>
        <source>New filter</source>
        <translation>Nouveau filtre</translation>
    </message>
    <message>
        <source>Filters hide or dim events that match — they don't delete anything, and you can toggle the whole set off from the filters pill in the status bar.</source>
        <translation>Les filtres masquent ou estompent les événements correspondants — ils ne suppriment rien, et vous pouvez tous les désactiver depuis la pastille des filtres de la barre d'état.</translation>
    </message>
    <message>
        <source>Hide standups, Dim birthdays…</source>
        <translation>Masquer les points quotidiens, estomper les anniversaires…</translation>
    </message>
    <message>
        <source>&amp;Name</source>
        <translation>&amp;Nom</translation>
    </message>
    <message>
        <source>Hide completely</source>
        <translation>Masquer complètement</translation>
    </message>
    <message>
        <source>Dim (still visible, faded)</source>
        <translation>Estomper (visible, pâli)</translation>
    </message>
    <message>
        <source>&amp;Action</source>
        <translation>&amp;Action</translation>
    </message>
    <message>
        <source>Suppress reminders for matched events</source>
        <translation>Supprimer les rappels des événements correspondants</translation>
    </message>
    <message>
        <source>Enabled</source>
        <translation>Activé</translation>
    </message>
    <message>
        <source>Apply to calendars</source>
        <translation>Appliquer aux calendriers</translation>
    </message>
    <message>
        <source>Leave empty to apply to every calendar.</source>
        <translation>Laissez vide pour l'appliquer à tous les calendriers.</translation>
    </message>
    <message>
        <source>Save changes</source>
        <translation>Enregistrer les modifications</translation>
    </message>
    <message>
        <source>Create filter</source>
        <translation>Créer le filtre</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>Title contains</source>
        <translation>Le titre contient</translation>
    </message>
    <message>
        <source>e.g. standup, lunch, 1:1 — comma separated</source>
        <translation>p. ex. point, déjeuner, 1:1 — séparés par des virgules</translation>
    </message>
    <message>
        <source>Case sensitive</source>
        <translation>Respecter la casse</translation>
    </message>
    <message>
        <source>Exact start time</source>
        <translation>Heure de début exacte</translation>
    </message>
    <message>
        <source>Time range</source>
        <translation>Plage horaire</translation>
    </message>
    <message>
        <source>to</source>
        <translation>à</translation>
    </message>
    <message>
        <source>Days of week (empty = every day)</source>
        <translation>Jours de la semaine (vide = tous les jours)</translation>
    </message>
    <message>
        <source>Recurring events only</source>
        <translation>Événements récurrents uniquement</translation>
    </message>
    <message>
        <source>Filtering this specific event:</source>
        <translation>Événement filtré :</translation>
    </message>
    <message>
        <source>(Right-click an event and choose &quot;Create Filter from Event&quot; to create a specific-event filter.)</source>
        <translation>(Faites un clic droit sur un événement et choisissez « Créer un filtre à partir de l'événement » pour créer un filtre d'événement précis.)</translation>
    </message>
    <message>
        <source>Matches every all-day event in the selected calendars.</source>
        <translation>Correspond à tous les événements sur la journée des calendriers choisis.</translation>
    </message>
    <message>
        <source>Only recurring all-day events</source>
        <translation>Seulement les événements récurrents sur la journée</translation>
    </message>
    <message>
        <source>(Event no longer exists)</source>
        <translation>(L'événement n'existe plus)</translation>
    </message>
    <message>
        <source>(Untitled event)</source>
        <translation>(Événement sans titre)</translation>
    </message>
    <message>
        <source>Name required</source>
        <translation>Nom requis</translation>
    </message>
    <message>
        <source>Please enter a name for the filter.</source>
        <translation>Veuillez saisir un nom pour le filtre.</translation>
    </message>
    <message>
        <source>No patterns</source>
        <translation>Aucun motif</translation>
    </message>
    <message>
        <source>Add at least one phrase to &quot;Title contains&quot;.</source>
        <translation>Ajoutez au moins une expression dans « Le titre contient ».</translation>
    </message>
    <message>
        <source>No event selected</source>
        <translation>Aucun événement sélectionné</translation>
    </message>
    <message>
        <source>Specific-event filters need to be created from an event's right-click menu — that's how the rule learns which event to match.</source>
        <translation>Les filtres d'événement précis se créent depuis le menu contextuel d'un événement — c'est ainsi que la règle sait quel événement viser.</translation>
    </message>
    <message>
        <source>Database Error</source>
        <translation>Erreur de base de données</translation>
    </message>
    <message>
        <source>Could not save the filter.</source>
        <translation>Impossible d'enregistrer le filtre.</translation>
    </message>
    <message>
        <source>No events in the next 30 days to preview against.</source>
        <translation>Aucun événement dans les 30 prochains jours pour l'aperçu.</translation>
    </message>
    <message>
        <source>(Untitled)</source>
        <translation>(Sans titre)</translation>
    </message>
    <message>
        <source>hide</source>
        <translation>masquer</translation>
    </message>
    <message>
        <source>dim</source>
        <translation>estomper</translation>
    </message>
    <message>
        <source>Would %1 %2 of %3 events in the next 30 days.</source>
        <translation>Cela va %1 %2 événements sur %3 dans les 30 prochains jours.</translation>
    </message>
    <message>
        <source>e.g. %1</source>
        <translation>p. ex. %1</translation>
    </message>
</context>
<context>
    <name>FilterMenus</name>
    <message>
        <source>Edit filter &quot;%1&quot;…</source>
        <translation>Modifier le filtre « %1 »…</translation>
    </message>
    <message>
        <source>Create Filter from Event…</source>
        <translation>Créer un filtre à partir de l'événement…</translation>
    </message>
    <message>
        <source>New &amp;Filter…</source>
        <translation>Nouveau &amp;filtre…</translation>
    </message>
    <message>
        <source>New Calendar &amp;Group…</source>
        <translation>Nouveau &amp;groupe de calendriers…</translation>
    </message>
    <message>
        <source>&amp;Manage Filters…</source>
        <translation>Gérer les filt&amp;res…</translation>
    </message>
    <message>
        <source>Manage &amp;Calendar Groups…</source>
        <translation>Gérer les groupes de &amp;calendriers…</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message numerus="yes">
        <source>%n value(s) were not valid UTF-8 and were read as Windows-1252</source>
        <translation>
            <numerusform>%n valeur n'était pas en UTF-8 valide et a été lue en Windows-1252</numerusform>
            <numerusform>%n valeurs n'étaient pas en UTF-8 valide et ont été lues en Windows-1252</numerusform>
        </translation>
    </message>
    <message>
        <source>The file was cut short (it has no END:VCALENDAR); the events before the cut were imported.</source>
        <translation>Le fichier est tronqué (il n'a pas de END:VCALENDAR) ; les événements avant la coupure ont été importés.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>An import is already running.</source>
        <translation>Une importation est déjà en cours.</translation>
    </message>
    <message>
        <location filename="../../mainwindow/mainwindow.cpp" line="296"/>
        <source>%1 will be imported after the current import.</source>
        <translation>%1 sera importé après l’importation en cours.</translation>
    </message>
    <message>
        <source>Importing %1…</source>
        <translation>Importation de %1…</translation>
    </message>
    <message>
        <source>Import of %1 cancelled; nothing was imported.</source>
        <translation>Importation de %1 annulée ; rien n’a été importé.</translation>
    </message>
    <message>
        <source>Nothing was imported from %1: %2</source>
        <translation>Rien n’a été importé depuis %1 : %2</translation>
    </message>
    <message>
        <source>the disk is full.</source>
        <translation>le disque est plein.</translation>
    </message>
    <message>
        <source>the calendar database is read-only.</source>
        <translation>la base de données du calendrier est en lecture seule.</translation>
    </message>
    <message>
        <source>the calendar database is locked by another program.</source>
        <translation>la base de données du calendrier est verrouillée par un autre programme.</translation>
    </message>
    <message>
        <source>the disk or the database file failed.</source>
        <translation>le disque ou le fichier de la base de données a échoué.</translation>
    </message>
    <message>
        <source>the calendar database could not be written.</source>
        <translation>la base de données du calendrier n’a pas pu être écrite.</translation>
    </message>
    <message>
        <source>New events: %1</source>
        <translation>Nouveaux événements : %1</translation>
    </message>
    <message>
        <source>Updated events: %1</source>
        <translation>Événements mis à jour : %1</translation>
    </message>
    <message>
        <source>Already in the calendar as they are: %1</source>
        <translation>Déjà dans le calendrier, inchangés : %1</translation>
    </message>
    <message>
        <source>Without END:VEVENT: %1</source>
        <translation>Sans END:VEVENT : %1</translation>
    </message>
    <message>
        <source>Cut off where the file ends: %1</source>
        <translation>Coupés à la fin du fichier : %1</translation>
    </message>
    <message>
        <source>Without a readable start (DTSTART): %1</source>
        <translation>Sans début lisible (DTSTART) : %1</translation>
    </message>
    <message>
        <source>Without a UID: %1</source>
        <translation>Sans UID : %1</translation>
    </message>
    <message>
        <source>Refused by the calendar database: %1</source>
        <translation>Refusés par la base de données du calendrier : %1</translation>
    </message>
    <message>
        <source>Import finished</source>
        <translation>Importation terminée</translation>
    </message>
    <message numerus="yes">
        <source>Imported %n event(s) from %1 (%2 updated)</source>
        <translation>
            <numerusform>%n événement importé depuis %1 (%2 mis à jour)</numerusform>
            <numerusform>%n événements importés depuis %1 (%2 mis à jour)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Nothing new in %1: its %n event(s) are in the calendar already</source>
        <translation>
            <numerusform>Rien de nouveau dans %1 : son %n événement est déjà dans le calendrier</numerusform>
            <numerusform>Rien de nouveau dans %1 : ses %n événements sont déjà dans le calendrier</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../mainwindow/mainwindow.cpp" line="+51"/>
        <source>Quillmarten Calendar</source>
        <translation>Quillmarten Calendar</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Undid: %1</source>
        <translation>Annulé&#xa0;: %1</translation>
    </message>
    <message>
        <source>Could not undo: %1</source>
        <translation>Impossible d’annuler&#xa0;: %1</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>%1 presented a certificate that is not trusted; its calendars were not synced.</source>
        <translation>%1 a présenté un certificat non approuvé&#xa0;; ses calendriers n&apos;ont pas été synchronisés.</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>&amp;File</source>
        <translation>&amp;Fichier</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>New &amp;Event…</source>
        <translation>Nouvel &amp;événement…</translation>
    </message>
    <message>
        <source>New &amp;Task…</source>
        <translation>Nouvelle &amp;tâche…</translation>
    </message>
    <message>
        <source>Create a calendar first.</source>
        <translation>Créez d&apos;abord un calendrier.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Import .ics…</source>
        <translation>&amp;Importer un .ics…</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;Preferences…</source>
        <translation>&amp;Préférences…</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>&amp;Quit</source>
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>&amp;Edit</source>
        <translation>&amp;Édition</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Undo</source>
        <translation>&amp;Annuler</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>&amp;View</source>
        <translation>&amp;Affichage</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Today</source>
        <translation>Aujourd&apos;&amp;hui</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;Sync</source>
        <translation>&amp;Synchronisation</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Sync &amp;Now</source>
        <translation>Synchroniser &amp;maintenant</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Send Test &amp;Notification</source>
        <translation>Envoyer une &amp;notification de test</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Fire a sample reminder toast to verify your desktop notification setup.</source>
        <translation>Affiche un rappel d&apos;exemple pour vérifier les notifications du bureau.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>&amp;Developer</source>
        <translation>Dé&amp;veloppeur</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Load Sample &amp;Data</source>
        <translation>&amp;Charger les données d&apos;exemple</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Clear Sample Data</source>
        <translation>&amp;Effacer les données d&apos;exemple</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>&amp;Help</source>
        <translation>Ai&amp;de</translation>
    </message>
    <message>
        <location line="+28"/>
        <source>Added: %1</source>
        <translation>Ajouté&#xa0;: %1</translation>
    </message>
    <message>
        <location line="+29"/>
        <source>No calendars</source>
        <translation>Aucun calendrier</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>There is no calendar to add an event to.</source>
        <translation>Il n&apos;y a aucun calendrier auquel ajouter un événement.</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Quick-add ignored: no calendars configured.</source>
        <translation>Ajout rapide ignoré&#xa0;: aucun calendrier configuré.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Quick-add couldn&apos;t parse: &quot;%1&quot;</source>
        <translation>Ajout rapide&#xa0;: impossible d&apos;interpréter «&#xa0;%1&#xa0;»</translation>
    </message>
    <message>
        <source>Quick-add couldn&apos;t save &quot;%1&quot;.</source>
        <translation>Ajout rapide&#xa0;: impossible d&apos;enregistrer «&#xa0;%1&#xa0;».</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Import ignored: no calendars configured.</source>
        <translation>Importation ignorée&#xa0;: aucun calendrier configuré.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Import failed</source>
        <translation>Échec de l&apos;importation</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Couldn&apos;t read &quot;%1&quot;.</source>
        <translation>Impossible de lire «&#xa0;%1&#xa0;».</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>No events found in %1</source>
        <translation>Aucun événement trouvé dans %1</translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>Imported %n event(s) from %1</source>
        <translation>
            <numerusform>%n événement importé depuis %1</numerusform>
            <numerusform>%n événements importés depuis %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>Imported %n event(s) from %1; %2 could not be stored</source>
        <translation>
            <numerusform>%n événement importé depuis %1&#xa0;; %2 n&apos;ont pas pu être enregistrés</numerusform>
            <numerusform>%n événements importés depuis %1&#xa0;; %2 n&apos;ont pas pu être enregistrés</numerusform>
        </translation>
    </message>
    <message>
        <location line="+70"/>
        <location line="+6"/>
        <source>Quick Add</source>
        <translation>Ajout rapide</translation>
    </message>
    <message>
        <location line="-6"/>
        <source>Describe the event, e.g. &quot;Lunch with Sam tomorrow 12:30&quot;:</source>
        <translation>Décrivez l&apos;événement en anglais, par ex. «&#xa0;Lunch with Sam tomorrow 12:30&#xa0;»&#xa0;:</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Couldn&apos;t save event</source>
        <translation>Impossible d&apos;enregistrer l&apos;événement</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Import .ics</source>
        <translation>Importer un .ics</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>iCalendar files (*.ics);;All files (*)</source>
        <translation>Fichiers iCalendar (*.ics);;Tous les fichiers (*)</translation>
    </message>
    <message numerus="yes">
        <location line="+14"/>
        <source>Loaded %n sample row(s).</source>
        <translation>
            <numerusform>%n ligne d&apos;exemple chargée.</numerusform>
            <numerusform>%n lignes d&apos;exemple chargées.</numerusform>
        </translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Clear sample data?</source>
        <translation>Effacer les données d&apos;exemple&#xa0;?</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Remove the sample calendars, events, and tasks? Your real data is untouched.</source>
        <translation>Supprimer les calendriers, événements et tâches d&apos;exemple&#xa0;? Vos vraies données ne sont pas touchées.</translation>
    </message>
    <message numerus="yes">
        <location line="+5"/>
        <source>Removed %n sample row(s).</source>
        <translation>
            <numerusform>%n ligne d&apos;exemple supprimée.</numerusform>
            <numerusform>%n lignes d&apos;exemple supprimées.</numerusform>
        </translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Test notification fired</source>
        <translation>Notification de test envoyée</translation>
    </message>
    <message>
        <source>&amp;Tools</source>
        <translation>&amp;Outils</translation>
    </message>
    <message>
        <source>&amp;Search…</source>
        <translation>&amp;Rechercher…</translation>
    </message>
    <message>
        <source>Manage &amp;Templates…</source>
        <translation>Gérer les &amp;modèles…</translation>
    </message>
    <message numerus="yes">
        <source>%1; %n task(s) not imported</source>
        <translation>
            <numerusform>%1 ; %n tâche non importée</numerusform>
            <numerusform>%1 ; %n tâches non importées</numerusform>
        </translation>
    </message>
    <message>
        <source>Tasks (VTODO), not imported: %1</source>
        <translation>Tâches (VTODO), non importées : %1</translation>
    </message>
    <message>
        <source>Quick &amp;Add…</source>
        <translation>Ajout &amp;rapide…</translation>
    </message>
    <message>
        <source>Reminders can&apos;t be shown: the desktop has no notification service and no tray.</source>
        <translation>Impossible d’afficher les rappels&#xa0;: le bureau n’a ni service de notifications ni zone de notification.</translation>
    </message>
</context>
<context>
    <name>ManageFiltersDialog</name>
    <message>
        <source>Pattern</source>
        <translation>Motif</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Horaire</translation>
    </message>
    <message>
        <source>Specific</source>
        <translation>Précis</translation>
    </message>
    <message>
        <source>All-day</source>
        <translation>Journée</translation>
    </message>
    <message>
        <source>Hide</source>
        <translation>Masquer</translation>
    </message>
    <message>
        <source>Dim</source>
        <translation>Estomper</translation>
    </message>
    <message>
        <source>Manage Filters</source>
        <translation>Gérer les filtres</translation>
    </message>
    <message>
        <source>Filters</source>
        <translation>Filtres</translation>
    </message>
    <message>
        <source>Toggle the checkbox to enable / disable a filter. Drag a row to change priority (top of the list applies first). Use Edit to change conditions or Delete to remove it.</source>
        <translation>Cochez la case pour activer ou désactiver un filtre. Faites glisser une ligne pour changer la priorité (le haut de la liste s'applique en premier). Utilisez Modifier pour changer les conditions ou Supprimer pour le retirer.</translation>
    </message>
    <message>
        <source>Add filter…</source>
        <translation>Ajouter un filtre…</translation>
    </message>
    <message>
        <source>(no filters yet)</source>
        <translation>(aucun filtre pour l'instant)</translation>
    </message>
    <message>
        <source>Delete filter?</source>
        <translation>Supprimer le filtre ?</translation>
    </message>
    <message>
        <source>Delete &quot;%1&quot;? You can recreate it later.</source>
        <translation>Supprimer « %1 » ? Vous pourrez le recréer plus tard.</translation>
    </message>
    <message>
        <source>Database Error</source>
        <translation>Erreur de base de données</translation>
    </message>
    <message>
        <source>Could not delete the filter.</source>
        <translation>Impossible de supprimer le filtre.</translation>
    </message>
    <message>
        <source>Could not save the filter.</source>
        <translation>Impossible d'enregistrer le filtre.</translation>
    </message>
    <message>
        <source>Could not save the order of the filters.</source>
        <translation>Impossible d’enregistrer l’ordre des filtres.</translation>
    </message>
</context>
<context>
    <name>ManageTemplatesDialog</name>
    <message>
        <source>Event Templates</source>
        <translation>Modèles d&apos;événements</translation>
    </message>
    <message>
        <source>Templates pre-fill the new-event form. Double-click to edit.</source>
        <translation>Les modèles préremplissent le formulaire de nouvel événement. Double-cliquez pour modifier.</translation>
    </message>
    <message>
        <source>Add…</source>
        <translation>Ajouter…</translation>
    </message>
    <message>
        <source>Edit…</source>
        <translation>Modifier…</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Supprimer</translation>
    </message>
    <message>
        <source>(no title)</source>
        <translation>(sans titre)</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1 : %2</translation>
    </message>
    <message>
        <source>Delete template?</source>
        <translation>Supprimer le modèle ?</translation>
    </message>
    <message>
        <source>Delete the template &quot;%1&quot;? Events already created from it are unaffected.</source>
        <translation>Supprimer le modèle « %1 » ? Les événements déjà créés à partir de lui ne sont pas modifiés.</translation>
    </message>
    <message>
        <source>Database Error</source>
        <translation>Erreur de base de données</translation>
    </message>
    <message>
        <source>Could not save the template.</source>
        <translation>Impossible d'enregistrer le modèle.</translation>
    </message>
    <message>
        <source>Could not delete the template.</source>
        <translation>Impossible de supprimer le modèle.</translation>
    </message>
</context>
<context>
    <name>ManageViewsDialog</name>
    <message>
        <source>Manage Calendar Groups</source>
        <translation>Gérer les groupes de calendriers</translation>
    </message>
    <message>
        <source>Calendar Groups</source>
        <translation>Groupes de calendriers</translation>
    </message>
    <message>
        <source>Drag a row to change the order groups appear in the picker. Use Edit to change which calendars a group includes, or Delete to remove a group.</source>
        <translation>Faites glisser une ligne pour changer l'ordre des groupes dans le sélecteur. Utilisez Modifier pour choisir les calendriers d'un groupe ou Supprimer pour le retirer.</translation>
    </message>
    <message>
        <source>Add group…</source>
        <translation>Ajouter un groupe…</translation>
    </message>
    <message>
        <source>(no groups yet)</source>
        <translation>(aucun groupe pour l'instant)</translation>
    </message>
    <message>
        <source>Built-in group</source>
        <translation>Groupe intégré</translation>
    </message>
    <message>
        <source>&quot;All Calendars&quot; is the fallback group. It can be renamed but not deleted.</source>
        <translation>« Tous les calendriers » est le groupe de repli. Il peut être renommé mais pas supprimé.</translation>
    </message>
    <message>
        <source>Delete group?</source>
        <translation>Supprimer le groupe ?</translation>
    </message>
    <message>
        <source>Delete &quot;%1&quot;? You can recreate it later.</source>
        <translation>Supprimer « %1 » ? Vous pourrez le recréer plus tard.</translation>
    </message>
    <message>
        <source>Database Error</source>
        <translation>Erreur de base de données</translation>
    </message>
    <message>
        <source>Could not delete the group.</source>
        <translation>Impossible de supprimer le groupe.</translation>
    </message>
    <message>
        <source>Could not save the order of the groups.</source>
        <translation>Impossible d’enregistrer l’ordre des groupes.</translation>
    </message>
</context>
<context>
    <name>NotificationService</name>
    <message>
        <location filename="../../app/notificationservice.cpp" line="+69"/>
        <source>%1, all day</source>
        <translation>%1, toute la journée</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Starting now (%1)</source>
        <translation>Commence maintenant (%1)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Tomorrow at %1</source>
        <translation>Demain à %1</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 at %2</source>
        <translation>%1 à %2</translation>
    </message>
    <message>
        <location line="+62"/>
        <source>Reminder</source>
        <translation>Rappel</translation>
    </message>
    <message>
        <location line="+54"/>
        <source>Test reminder</source>
        <translation>Rappel de test</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>If you can see this, your desktop notifications are wired up correctly. Real reminders look just like this one.</source>
        <translation>Si vous voyez ceci, les notifications du bureau fonctionnent correctement. Les vrais rappels ont exactement cet aspect.</translation>
    </message>
    <message numerus="yes">
        <source>In %n minute(s) (%1)</source>
        <translation>
            <numerusform>Dans %n minute (%1)</numerusform>
            <numerusform>Dans %n minutes (%1)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>In %nh (%1)</source>
        <translation>
            <numerusform>Dans %n h (%1)</numerusform>
            <numerusform>Dans %n h (%1)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>In %nh %1m (%2)</source>
        <translation>
            <numerusform>Dans %n h %1 min (%2)</numerusform>
            <numerusform>Dans %n h %1 min (%2)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Started %n minute(s) ago (%1)</source>
        <translation>
            <numerusform>A commencé il y a %n minute (%1)</numerusform>
            <numerusform>A commencé il y a %n minutes (%1)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n reminder(s)</source>
        <translation>
            <numerusform>%n rappel</numerusform>
            <numerusform>%n rappels</numerusform>
        </translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1&#xa0;: %2</translation>
    </message>
</context>
<context>
    <name>PreferencesDialog</name>
    <message>
        <location filename="../../mainwindow/preferencesdialog.cpp" line="+25"/>
        <source>Start hidden in the tray</source>
        <translation>Démarrer masqué dans la zone de notification</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Closing the window keeps the calendar in the tray</source>
        <translation>La fermeture de la fenêtre garde le calendrier dans la zone de notification</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+55"/>
        <source>Start at login</source>
        <translation>Lancer à l&apos;ouverture de session</translation>
    </message>
    <message>
        <location line="-53"/>
        <source>Preferences</source>
        <translation>Préférences</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>System</source>
        <translation>Système</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Light</source>
        <translation>Clair</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Dark</source>
        <translation>Sombre</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Default</source>
        <translation>Par défaut</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>Theme:</source>
        <translation>Thème&#xa0;:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Accent colour:</source>
        <translation>Couleur d&apos;accent&#xa0;:</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Theme default</source>
        <translation>Par défaut du thème</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Accent colour</source>
        <translation>Couleur d&apos;accent</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>The start at login setting could not be changed.</source>
        <translation>Impossible de modifier la préférence « Lancer à l&apos;ouverture de session ».</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <location filename="../../core/meetingdescription.cpp" line="+77"/>
        <source>Join Microsoft Teams Meeting</source>
        <translation>Rejoindre la réunion Microsoft Teams</translation>
    </message>
    <message>
        <location filename="../../core/rruleformat.cpp" line="+42"/>
        <source>Repeats daily</source>
        <translation>Tous les jours</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Every %1 days</source>
        <translation>Tous les %1 jours</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Repeats weekly</source>
        <translation>Toutes les semaines</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Every %1 weeks</source>
        <translation>Toutes les %1 semaines</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Repeats monthly</source>
        <translation>Tous les mois</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Every %1 months</source>
        <translation>Tous les %1 mois</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Repeats yearly</source>
        <translation>Tous les ans</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Every %1 years</source>
        <translation>Tous les %1 ans</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Repeats</source>
        <translation>Se répète</translation>
    </message>
    <message>
        <location line="+53"/>
        <location line="+7"/>
        <source>on the %1 %2</source>
        <translation>le %1 %2</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>on the %1</source>
        <translation>le %1</translation>
    </message>
    <message numerus="yes">
        <location line="+10"/>
        <source>%n time(s)</source>
        <translation>
            <numerusform>%n fois</numerusform>
            <numerusform>%n fois</numerusform>
        </translation>
    </message>
    <message>
        <location line="+12"/>
        <source>until %1</source>
        <translation>jusqu&apos;au %1</translation>
    </message>
    <message>
        <location line="+29"/>
        <source>At time of event</source>
        <translation>À l&apos;heure de l&apos;événement</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 min before</source>
        <translation>%1 min avant</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 hour(s) before</source>
        <translation>%1 h avant</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 day(s) before</source>
        <translation>%1 jour(s) avant</translation>
    </message>
    <message>
        <location line="+26"/>
        <location line="+9"/>
        <source>%1th</source>
        <translation>%1</translation>
    </message>
    <message>
        <location line="-6"/>
        <source>%1st</source>
        <translation>%1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1nd</source>
        <translation>%1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1rd</source>
        <translation>%1</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>first</source>
        <translation>premier</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>second</source>
        <translation>deuxième</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>third</source>
        <translation>troisième</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>fourth</source>
        <translation>quatrième</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>fifth</source>
        <translation>cinquième</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>last</source>
        <translation>dernier</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>second-to-last</source>
        <translation>avant-dernier</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1th-from-last</source>
        <translation>%1e à partir de la fin</translation>
    </message>
    <message>
        <source>Calendar Subscriptions</source>
        <translation>Abonnements de calendrier</translation>
    </message>
</context>
<context>
    <name>QuickAddDialog</name>
    <message>
        <source>Quick Add</source>
        <translation>Ajout rapide</translation>
    </message>
    <message>
        <source>Type an event in plain English.</source>
        <translation>Saisissez un événement en anglais simple.</translation>
    </message>
    <message>
        <source>e.g. &quot;lunch Thursday 1pm&quot;</source>
        <translation>p. ex. « lunch Thursday 1pm »</translation>
    </message>
    <message>
        <source>Couldn&apos;t save event</source>
        <translation>Impossible d&apos;enregistrer l&apos;événement</translation>
    </message>
    <message>
        <source>No such date: %1</source>
        <translation>Cette date n&apos;existe pas : %1</translation>
    </message>
    <message>
        <source>No such time: %1</source>
        <translation>Cette heure n&apos;existe pas : %1</translation>
    </message>
</context>
<context>
    <name>ReadOnlyLock</name>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
</context>
<context>
    <name>RecurrenceEditDialog</name>
    <message>
        <location filename="../../editors/recurrenceeditdialog.cpp" line="+62"/>
        <source>Recurrence</source>
        <translation>Périodicité</translation>
    </message>
    <message>
        <location line="+49"/>
        <source>Daily</source>
        <translation>Quotidienne</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Weekly</source>
        <translation>Hebdomadaire</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Monthly</source>
        <translation>Mensuelle</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Yearly</source>
        <translation>Annuelle</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+261"/>
        <source>Does not repeat</source>
        <translation>Ne se répète pas</translation>
    </message>
    <message>
        <location line="-260"/>
        <source>Frequency</source>
        <translation>Fréquence</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Every</source>
        <translation>Intervalle</translation>
    </message>
    <message>
        <location line="+24"/>
        <source>M</source>
        <comment>Monday</comment>
        <translation>L</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>T</source>
        <comment>Tuesday</comment>
        <translation>M</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>W</source>
        <comment>Wednesday</comment>
        <translation>M</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>T</source>
        <comment>Thursday</comment>
        <translation>J</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>F</source>
        <comment>Friday</comment>
        <translation>V</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>S</source>
        <comment>Saturday</comment>
        <translation>S</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>S</source>
        <comment>Sunday</comment>
        <translation>D</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>On day of the month</source>
        <translation>Le jour du mois</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>of every month</source>
        <translation>de chaque mois</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>On the nth weekday</source>
        <translation>Le n-ième jour de la semaine</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>first</source>
        <translation>premier</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>second</source>
        <translation>deuxième</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>third</source>
        <translation>troisième</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>fourth</source>
        <translation>quatrième</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>last</source>
        <translation>dernier</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Monday</source>
        <translation>lundi</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Tuesday</source>
        <translation>mardi</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Wednesday</source>
        <translation>mercredi</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Thursday</source>
        <translation>jeudi</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Friday</source>
        <translation>vendredi</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Saturday</source>
        <translation>samedi</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Sunday</source>
        <translation>dimanche</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>Never</source>
        <translation>Jamais</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>After</source>
        <translation>Après</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>occurrences</source>
        <translation>occurrences</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>On</source>
        <translation>Le</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Ends</source>
        <translation>Fin</translation>
    </message>
    <message>
        <location line="+132"/>
        <source>day</source>
        <translation>jour</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>days</source>
        <translation>jours</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>week</source>
        <translation>semaine</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>weeks</source>
        <translation>semaines</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>month</source>
        <translation>mois</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>months</source>
        <translation>mois</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>year</source>
        <translation>an</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>years</source>
        <translation>ans</translation>
    </message>
</context>
<context>
    <name>RecurringEditScopeDialog</name>
    <message>
        <location filename="../../mainwindow/recurringeditscopedialog.cpp" line="+14"/>
        <source>Edit Recurring Event</source>
        <translation>Modifier un événement périodique</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Edit &quot;%1&quot;</source>
        <translation>Modifier «&#xa0;%1&#xa0;»</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>This event repeats. Apply your changes to:</source>
        <translation>Cet événement se répète. Appliquer les modifications à&#xa0;:</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>This event only</source>
        <translation>Cet événement uniquement</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Only this occurrence is changed; the rest of the series stays as it was.</source>
        <translation>Seule cette occurrence est modifiée&#xa0;; le reste de la série reste inchangé.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>This and following events</source>
        <translation>Cet événement et les suivants</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>This occurrence and every later one inherit the change. Past occurrences keep their original times.</source>
        <translation>Cette occurrence et toutes les suivantes reçoivent la modification. Les occurrences passées gardent leurs horaires d&apos;origine.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>All events in the series</source>
        <translation>Tous les événements de la série</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The master event shifts; every occurrence — past and future — moves with it.</source>
        <translation>L&apos;événement principal est décalé&#xa0;; toutes les occurrences — passées et futures — suivent.</translation>
    </message>
    <message>
        <source>Delete Recurring Event</source>
        <translation>Supprimer un événement périodique</translation>
    </message>
    <message>
        <source>Delete &quot;%1&quot;</source>
        <translation>Supprimer «&#xa0;%1&#xa0;»</translation>
    </message>
    <message>
        <source>This event repeats. Delete:</source>
        <translation>Cet événement se répète. Supprimer&#xa0;:</translation>
    </message>
    <message>
        <source>Only this occurrence is deleted; the rest of the series stays.</source>
        <translation>Seule cette occurrence est supprimée&#xa0;; le reste de la série est conservé.</translation>
    </message>
    <message>
        <source>This occurrence and every later one are deleted. Past occurrences stay.</source>
        <translation>Cette occurrence et toutes les suivantes sont supprimées. Les occurrences passées sont conservées.</translation>
    </message>
    <message>
        <source>Every occurrence — past and future — is deleted.</source>
        <translation>Toutes les occurrences — passées et futures — sont supprimées.</translation>
    </message>
</context>
<context>
    <name>RruleFormat</name>
    <message>
        <location filename="../../core/rruleformat.cpp" line="-49"/>
        <source>Mon</source>
        <translation>lun.</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Tue</source>
        <translation>mar.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Wed</source>
        <translation>mer.</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Thu</source>
        <translation>jeu.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Fri</source>
        <translation>ven.</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Sat</source>
        <translation>sam.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Sun</source>
        <translation>dim.</translation>
    </message>
</context>
<context>
    <name>SearchDialog</name>
    <message>
        <source>Search</source>
        <translation>Rechercher</translation>
    </message>
    <message>
        <source>Search events by title, location, or notes…</source>
        <translation>Rechercher des événements par titre, lieu ou notes…</translation>
    </message>
    <message>
        <source>Range:</source>
        <translation>Période :</translation>
    </message>
    <message>
        <source>All time</source>
        <translation>Toute la période</translation>
    </message>
    <message>
        <source>Past 30 days</source>
        <translation>30 derniers jours</translation>
    </message>
    <message>
        <source>Past 90 days</source>
        <translation>90 derniers jours</translation>
    </message>
    <message>
        <source>Next 30 days</source>
        <translation>30 prochains jours</translation>
    </message>
    <message>
        <source>Next 12 months</source>
        <translation>12 prochains mois</translation>
    </message>
    <message>
        <source>Calendars</source>
        <translation>Calendriers</translation>
    </message>
    <message>
        <source>Type to search.</source>
        <translation>Tapez pour rechercher.</translation>
    </message>
    <message>
        <source>%1 (all day)</source>
        <translation>%1 (toute la journée)</translation>
    </message>
    <message>
        <source>%1, %2 – %3</source>
        <translation>%1, %2 – %3</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <translation>%1, %2</translation>
    </message>
    <message>
        <source>Keep typing…</source>
        <translation>Continuez à taper…</translation>
    </message>
    <message numerus="yes">
        <source>%n result(s).</source>
        <translation>
            <numerusform>%n résultat.</numerusform>
            <numerusform>%n résultats.</numerusform>
        </translation>
    </message>
    <message>
        <source>No matches in this range.</source>
        <translation>Aucun résultat sur cette période.</translation>
    </message>
    <message>
        <source>(Untitled)</source>
        <translation>(Sans titre)</translation>
    </message>
</context>
<context>
    <name>StoreFailureText</name>
    <message>
        <source>could not save: the disk is full</source>
        <translation>enregistrement impossible : le disque est plein</translation>
    </message>
    <message>
        <source>could not save: the calendar database is read-only</source>
        <translation>enregistrement impossible : la base de données du calendrier est en lecture seule</translation>
    </message>
    <message>
        <source>could not save: the calendar database is locked by another program</source>
        <translation>enregistrement impossible : la base de données du calendrier est verrouillée par un autre programme</translation>
    </message>
    <message>
        <source>could not save: an import is running; try again when it has finished</source>
        <translation>enregistrement impossible : une importation est en cours ; réessayez lorsqu’elle sera terminée</translation>
    </message>
</context>
<context>
    <name>TaskDetailsPopover</name>
    <message>
        <location filename="../../mainwindow/taskdetailspopover.cpp" line="+22"/>
        <source>Due %1</source>
        <translation>Échéance&#xa0;: %1</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Completed</source>
        <translation>Terminée</translation>
    </message>
</context>
<context>
    <name>TemplateEditorDialog</name>
    <message>
        <source>New Template</source>
        <translation>Nouveau modèle</translation>
    </message>
    <message>
        <source>Edit Template</source>
        <translation>Modifier le modèle</translation>
    </message>
    <message>
        <source>At time of event</source>
        <translation>À l&apos;heure de l&apos;événement</translation>
    </message>
    <message numerus="yes">
        <source>%n minute(s) before</source>
        <translation>
            <numerusform>%n minute avant</numerusform>
            <numerusform>%n minutes avant</numerusform>
        </translation>
    </message>
    <message>
        <source>1 hour before</source>
        <translation>1 heure avant</translation>
    </message>
    <message numerus="yes">
        <source>%n day(s) before</source>
        <translation>
            <numerusform>%n jour avant</numerusform>
            <numerusform>%n jours avant</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n hour(s) before</source>
        <translation>
            <numerusform>%n heure avant</numerusform>
            <numerusform>%n heures avant</numerusform>
        </translation>
    </message>
    <message>
        <source>Template name</source>
        <translation>Nom du modèle</translation>
    </message>
    <message>
        <source>e.g., Standup, Doctor visit</source>
        <translation>p. ex. Point quotidien, Visite médicale</translation>
    </message>
    <message>
        <source>Event title</source>
        <translation>Titre de l&apos;événement</translation>
    </message>
    <message>
        <source>Event title shown on the calendar</source>
        <translation>Titre de l&apos;événement affiché dans le calendrier</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Description</translation>
    </message>
    <message>
        <source>Location</source>
        <translation>Lieu</translation>
    </message>
    <message>
        <source>Optional location</source>
        <translation>Lieu facultatif</translation>
    </message>
    <message>
        <source>Use calendar color</source>
        <translation>Utiliser la couleur du calendrier</translation>
    </message>
    <message>
        <source>Color</source>
        <translation>Couleur</translation>
    </message>
    <message>
        <source>(use default)</source>
        <translation>(utiliser la valeur par défaut)</translation>
    </message>
    <message>
        <source>Calendar</source>
        <translation>Calendrier</translation>
    </message>
    <message>
        <source>All-day event</source>
        <translation>Événement sur toute la journée</translation>
    </message>
    <message>
        <source>h</source>
        <translation> h</translation>
    </message>
    <message>
        <source>m</source>
        <translation> min</translation>
    </message>
    <message>
        <source>Default duration</source>
        <translation>Durée par défaut</translation>
    </message>
    <message>
        <source>Recurrence</source>
        <translation>Récurrence</translation>
    </message>
    <message>
        <source>Reminders</source>
        <translation>Rappels</translation>
    </message>
    <message>
        <source>+ Add reminder</source>
        <translation>+ Ajouter un rappel</translation>
    </message>
    <message>
        <source>No reminders</source>
        <translation>Aucun rappel</translation>
    </message>
    <message>
        <source>Remove reminder</source>
        <translation>Supprimer le rappel</translation>
    </message>
    <message>
        <source>Inherits the calendar&apos;s color. Click to override.</source>
        <translation>Reprend la couleur du calendrier. Cliquez pour la remplacer.</translation>
    </message>
    <message>
        <source>%1, click to change.</source>
        <translation>%1, cliquez pour modifier.</translation>
    </message>
    <message>
        <source>Does not repeat</source>
        <translation>Ne se répète pas</translation>
    </message>
    <message>
        <source>Template color</source>
        <translation>Couleur du modèle</translation>
    </message>
    <message>
        <source>Missing name</source>
        <translation>Nom manquant</translation>
    </message>
    <message>
        <source>Give this template a name so you can pick it later.</source>
        <translation>Donnez un nom à ce modèle pour pouvoir le choisir plus tard.</translation>
    </message>
    <message>
        <source>Missing event title</source>
        <translation>Titre de l&apos;événement manquant</translation>
    </message>
    <message>
        <source>Set the event title. That&apos;s what events created from this template will be called.</source>
        <translation>Indiquez le titre de l&apos;événement. C&apos;est ainsi que s&apos;appelleront les événements créés à partir de ce modèle.</translation>
    </message>
</context>
<context>
    <name>TolmUpdate::UpdateDialog</name>
    <message>
        <location filename="../../update/updatedialog.cpp" line="+34"/>
        <source>Update available</source>
        <translation>Mise à jour disponible</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 %2 is available.</source>
        <translation>%1 %2 est disponible.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>You have version %1.</source>
        <translation>Vous avez la version %1.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>This update is required.</source>
        <translation>Cette mise à jour est obligatoire.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Version:</source>
        <translation>Version&#xa0;:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Released:</source>
        <translation>Publiée le&#xa0;:</translation>
    </message>
    <message>
        <location line="+3"/>
        <location line="+3"/>
        <source>Unknown</source>
        <translation>Inconnu</translation>
    </message>
    <message>
        <location line="-1"/>
        <source>Download size:</source>
        <translation>Taille du téléchargement&#xa0;:</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Release notes</source>
        <translation>Notes de version</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Download</source>
        <translation>Télécharger</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Later</source>
        <translation>Plus tard</translation>
    </message>
</context>
<context>
    <name>TrayManager</name>
    <message>
        <location filename="../../app/traymanager.cpp" line="+57"/>
        <source>&amp;Show Calendar</source>
        <translation>&amp;Afficher le calendrier</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Sync &amp;Now</source>
        <translation>Synchroniser &amp;maintenant</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Quit</source>
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <location line="+85"/>
        <source>Quillmarten Calendar — Last sync failed</source>
        <translation>Quillmarten Calendar — Échec de la dernière synchronisation</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Quillmarten Calendar — Sync failed: %1</source>
        <translation>Quillmarten Calendar — Échec de la synchronisation&#xa0;: %1</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Quillmarten Calendar — No upcoming events</source>
        <translation>Quillmarten Calendar — Aucun événement à venir</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Untitled</source>
        <translation>Sans titre</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>today</source>
        <translation>aujourd&apos;hui</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>tomorrow</source>
        <translation>demain</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Quillmarten Calendar — Next: %1 (%2, all day)</source>
        <translation>Quillmarten Calendar — Prochain&#xa0;: %1 (%2, toute la journée)</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>at %1</source>
        <translation>à %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>tomorrow at %1</source>
        <translation>demain à %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 %2</source>
        <translation>%1 %2</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Quillmarten Calendar — Next: %1 %2</source>
        <translation>Quillmarten Calendar — Prochain&#xa0;: %1 %2</translation>
    </message>
    <message>
        <source>&amp;Quick Add…</source>
        <translation>Ajout &amp;rapide…</translation>
    </message>
</context>
<context>
    <name>TrayTime</name>
    <message>
        <location filename="../../app/traytime.cpp" line="+15"/>
        <source>Today</source>
        <translation>Aujourd&apos;hui</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Tomorrow</source>
        <translation>Demain</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Yesterday</source>
        <translation>Hier</translation>
    </message>
</context>
<context>
    <name>ViewFormDialog</name>
    <message>
        <source>Every calendar of this group has been deleted, so it shows nothing. Check the calendars it should include; saved without any, it includes every visible calendar.</source>
        <translation>Tous les calendriers de ce groupe ont été supprimés : il n&apos;affiche donc rien. Cochez les calendriers qu&apos;il doit inclure ; enregistré sans aucun, il inclut tous les calendriers visibles.</translation>
    </message>
    <message>
        <source>Add Calendar Group</source>
        <translation>Ajouter un groupe de calendriers</translation>
    </message>
    <message>
        <source>Edit Calendar Group</source>
        <translation>Modifier le groupe de calendriers</translation>
    </message>
    <message>
        <source>Calendar Groups are saved sets of calendars you switch between. Pick which calendars belong to this group, leave the list empty to include every visible calendar.</source>
        <translation>Les groupes de calendriers sont des ensembles enregistrés de calendriers entre lesquels vous basculez. Choisissez les calendriers de ce groupe ; laissez la liste vide pour inclure tous les calendriers visibles.</translation>
    </message>
    <message>
        <source>e.g. Work, Personal, Travel</source>
        <translation>p. ex. Travail, Personnel, Voyages</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>&amp;Nom :</translation>
    </message>
    <message>
        <source>&amp;Accent:</source>
        <translation>&amp;Accent :</translation>
    </message>
    <message>
        <source>Calendars:</source>
        <translation>Calendriers :</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Enregistrer</translation>
    </message>
    <message>
        <source>Create Group</source>
        <translation>Créer le groupe</translation>
    </message>
    <message>
        <source>“All Calendars” always covers every visible calendar — its membership can't be edited. Toggle individual calendars from their own menus instead.</source>
        <translation>« Tous les calendriers » couvre toujours tous les calendriers visibles — sa composition ne peut pas être modifiée. Affichez ou masquez chaque calendrier depuis son propre menu.</translation>
    </message>
    <message>
        <source>(no accent)</source>
        <translation>(aucun accent)</translation>
    </message>
    <message>
        <source>Pick a group accent color</source>
        <translation>Choisir une couleur d'accent pour le groupe</translation>
    </message>
    <message>
        <source>Name required</source>
        <translation>Nom requis</translation>
    </message>
    <message>
        <source>Please enter a name for the group.</source>
        <translation>Veuillez saisir un nom pour le groupe.</translation>
    </message>
    <message>
        <source>Database Error</source>
        <translation>Erreur de base de données</translation>
    </message>
    <message>
        <source>Could not save the group.</source>
        <translation>Impossible d'enregistrer le groupe.</translation>
    </message>
</context>
<context>
    <name>WeekAgenda</name>
    <message numerus="yes">
        <source>At least %Ln more on this day</source>
        <translation>
            <numerusform>Au moins %Ln de plus ce jour-là</numerusform>
            <numerusform>Au moins %Ln de plus ce jour-là</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln more on this day</source>
        <translation>
            <numerusform>%Ln de plus ce jour-là</numerusform>
            <numerusform>%Ln de plus ce jour-là</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../mainwindow/weekagenda.cpp" line="+61"/>
        <source>All day</source>
        <translation>Toute la journée</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 – %2</source>
        <translation>%1 – %2</translation>
    </message>
    <message>
        <source>From %1</source>
        <translation>À partir de %1</translation>
    </message>
    <message>
        <source>Until %1</source>
        <translation>Jusqu’à %1</translation>
    </message>
    <message>
        <source>Continues all day</source>
        <translation>Se poursuit toute la journée</translation>
    </message>
    <message>
        <location line="+35"/>
        <source>Week of %1</source>
        <translation>Semaine du %1</translation>
    </message>
    <message>
        <location line="+37"/>
        <source>Untitled</source>
        <translation>Sans titre</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>No events this week</source>
        <translation>Aucun événement cette semaine</translation>
    </message>
</context>
<context>
    <name>WinTrayPopover</name>
    <message>
        <location filename="../../app/wintraypopover.cpp" line="+93"/>
        <source>Group</source>
        <translation>Groupe</translation>
    </message>
    <message>
        <location line="+50"/>
        <source>Add event — e.g. &quot;lunch Thursday 1pm&quot;</source>
        <translation>Ajouter un événement (en anglais) — par ex. «&#xa0;lunch Thursday 1pm&#xa0;»</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Open Calendar</source>
        <translation>Ouvrir le calendrier</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Sync Now</source>
        <translation>Synchroniser maintenant</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Preferences</source>
        <translation>Préférences</translation>
    </message>
    <message>
        <location line="+96"/>
        <source>No calendars yet</source>
        <translation>Aucun calendrier pour l&apos;instant</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>No upcoming events</source>
        <translation>Aucun événement à venir</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Nothing scheduled in the next 24 hours.</source>
        <translation>Rien de prévu dans les prochaines 24 heures.</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>Today</source>
        <translation>Aujourd&apos;hui</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>  No more events today</source>
        <translation>  Plus d&apos;événement aujourd&apos;hui</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Tomorrow</source>
        <translation>Demain</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>  Nothing scheduled</source>
        <translation>  Rien de prévu</translation>
    </message>
    <message>
        <location line="+27"/>
        <source>Untitled</source>
        <translation>Sans titre</translation>
    </message>
    <message>
        <location line="+36"/>
        <location line="+120"/>
        <source>All-day</source>
        <translation>Toute la journée</translation>
    </message>
    <message>
        <location line="-117"/>
        <source>%1 %2</source>
        <translation>%1 %2</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>%1  %2</source>
        <translation>%1  %2</translation>
    </message>
    <message>
        <location line="+34"/>
        <source>%1, all day</source>
        <translation>%1, toute la journée</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%1 at %2</source>
        <translation>%1 à %2</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>now</source>
        <translation>maintenant</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>in %1 min</source>
        <translation>dans %1 min</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>in %1h</source>
        <translation>dans %1 h</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>in %1h %2m</source>
        <translation>dans %1 h %2 min</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>(Unnamed)</source>
        <translation>(Sans nom)</translation>
    </message>
    <message>
        <location line="+28"/>
        <source>Couldn&apos;t save event</source>
        <translation>Impossible d&apos;enregistrer l&apos;événement</translation>
    </message>
</context>
<context>
    <name>OAuthSignIn</name>
    <message>
        <source>Sign-in cancelled.</source>
        <translation>Connexion annulée.</translation>
    </message>
    <message>
        <source>Sign-in state mismatch. The redirect didn't match our request; please try again.</source>
        <translation>L'état de connexion ne correspond pas. La redirection ne correspondait pas à notre demande ; veuillez réessayer.</translation>
    </message>
    <message>
        <source>Token exchange failed (HTTP %1): %2</source>
        <translation>L'échange de jetons a échoué (HTTP %1) : %2</translation>
    </message>
</context>
<context>
    <name>Google::AuthService</name>
    <message>
        <source>Google OAuth credentials are not configured in this build. See .env.example.</source>
        <translation>Les identifiants OAuth Google ne sont pas configurés dans cette version. Voir .env.example.</translation>
    </message>
    <message>
        <source>Could not bind a local port for the Google sign-in callback: %1</source>
        <translation>Impossible d'ouvrir un port local pour le retour de connexion Google : %1</translation>
    </message>
    <message>
        <source>Could not launch the system browser for Google sign-in.</source>
        <translation>Impossible de lancer le navigateur du système pour la connexion Google.</translation>
    </message>
    <message>
        <source>Google denied the sign-in: %1</source>
        <translation>Google a refusé la connexion : %1</translation>
    </message>
    <message>
        <source>Google did not return an authorization code.</source>
        <translation>Google n'a renvoyé aucun code d'autorisation.</translation>
    </message>
    <message>
        <source>Google did not return an access token.</source>
        <translation>Google n'a renvoyé aucun jeton d'accès.</translation>
    </message>
    <message>
        <source>Google did not return a refresh token. Try removing the app from your Google Account permissions and signing in again.</source>
        <translation>Google n'a renvoyé aucun jeton d'actualisation. Retirez l'application des autorisations de votre compte Google et reconnectez-vous.</translation>
    </message>
</context>
<context>
    <name>Microsoft::AuthService</name>
    <message>
        <source>Microsoft OAuth credentials are not configured in this build. See .env.example.</source>
        <translation>Les identifiants OAuth Microsoft ne sont pas configurés dans cette version. Voir .env.example.</translation>
    </message>
    <message>
        <source>Could not bind a local port for the Microsoft sign-in callback: %1</source>
        <translation>Impossible d'ouvrir un port local pour le retour de connexion Microsoft : %1</translation>
    </message>
    <message>
        <source>Could not launch the system browser for Microsoft sign-in.</source>
        <translation>Impossible de lancer le navigateur du système pour la connexion Microsoft.</translation>
    </message>
    <message>
        <source>Microsoft denied the sign-in: %1</source>
        <translation>Microsoft a refusé la connexion : %1</translation>
    </message>
    <message>
        <source>Microsoft did not return an authorization code.</source>
        <translation>Microsoft n'a renvoyé aucun code d'autorisation.</translation>
    </message>
    <message>
        <source>Microsoft did not return an access token.</source>
        <translation>Microsoft n'a renvoyé aucun jeton d'accès.</translation>
    </message>
    <message>
        <source>Microsoft did not return a refresh token. Verify offline_access is in the scopes configured for this app.</source>
        <translation>Microsoft n'a renvoyé aucun jeton d'actualisation. Vérifiez que offline_access fait partie des étendues configurées pour cette application.</translation>
    </message>
</context>
<context>
    <name>Google::SyncClient</name>
    <message>
        <source>The event could not be stored here.</source>
        <translation>L&apos;événement n&apos;a pas pu être enregistré ici.</translation>
    </message>
</context>
<context>
    <name>ProviderEvents</name>
    <message>
        <source>The service cannot repeat an event more often than daily.</source>
        <translation>Le service ne peut pas répéter un événement plus d&apos;une fois par jour.</translation>
    </message>
    <message>
        <source>The end of the repetition cannot be read.</source>
        <translation>La fin de la répétition est illisible.</translation>
    </message>
</context>
<context>
    <name>ProviderProblems</name>
    <message numerus="yes">
        <source>%n item(s) could not be synced</source>
        <translation>
            <numerusform>%n élément n&apos;a pas pu être synchronisé</numerusform>
            <numerusform>%n éléments n&apos;ont pas pu être synchronisés</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>DesktopNotifications</name>
    <message>
        <source>Open</source>
        <translation>Ouvrir</translation>
    </message>
</context>
<context>
    <name>Webcal::SyncClient</name>
    <message numerus="yes">
        <source>%n event(s) of the subscription could not be stored</source>
        <translation>
            <numerusform>%n événement de l’abonnement n’a pas pu être enregistré</numerusform>
            <numerusform>%n événements de l’abonnement n’ont pas pu être enregistrés</numerusform>
        </translation>
    </message>
</context>
</TS>
