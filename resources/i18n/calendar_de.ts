<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AgendaTaskList</name>
    <message>
        <source>All day</source>
        <translation>Ganztägig</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>Ohne Titel</translation>
    </message>
    <message>
        <source>Completed &quot;%1&quot;</source>
        <translation>„%1“ erledigt</translation>
    </message>
    <message>
        <source>Reopened &quot;%1&quot;</source>
        <translation>„%1“ wieder geöffnet</translation>
    </message>
</context>
<context>
    <name>CalendarFormDialog</name>
    <message>
        <source>Add Calendar</source>
        <translation>Kalender hinzufügen</translation>
    </message>
    <message>
        <source>Add Calendar to %1</source>
        <translation>Kalender zu %1 hinzufügen</translation>
    </message>
    <message>
        <source>Edit Calendar</source>
        <translation>Kalender bearbeiten</translation>
    </message>
    <message>
        <source>Create a new calendar on the CalDAV server. The server must allow MKCALENDAR for your user; if it refuses, the calendar will not be created.</source>
        <translation>Einen neuen Kalender auf dem CalDAV-Server anlegen. Der Server muss Ihrem Benutzer MKCALENDAR erlauben; lehnt er ab, wird der Kalender nicht angelegt.</translation>
    </message>
    <message>
        <source>e.g. Personal, Work, Family</source>
        <translation>z. B. Privat, Arbeit, Familie</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>&amp;Name:</translation>
    </message>
    <message>
        <source>&amp;Color:</source>
        <translation>&amp;Farbe:</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Create</source>
        <translation>Anlegen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Pick a calendar color</source>
        <translation>Kalenderfarbe wählen</translation>
    </message>
    <message>
        <source>Name required</source>
        <translation>Name erforderlich</translation>
    </message>
    <message>
        <source>Please enter a name for the calendar.</source>
        <translation>Bitte geben Sie einen Namen für den Kalender ein.</translation>
    </message>
    <message>
        <source>Database Error</source>
        <translation>Datenbankfehler</translation>
    </message>
    <message>
        <source>Could not save the calendar.</source>
        <translation>Der Kalender konnte nicht gespeichert werden.</translation>
    </message>
    <message>
        <source>Could not create the local account row.</source>
        <translation>Das lokale Konto konnte nicht angelegt werden.</translation>
    </message>
    <message>
        <source>Missing password</source>
        <translation>Passwort fehlt</translation>
    </message>
    <message>
        <source>No saved password for this account. Edit the account first to re-enter your credentials.</source>
        <translation>Für dieses Konto ist kein Passwort gespeichert. Bearbeiten Sie zuerst das Konto, um Ihre Zugangsdaten erneut einzugeben.</translation>
    </message>
    <message>
        <source>Creating calendar on server…</source>
        <translation>Kalender wird auf dem Server angelegt…</translation>
    </message>
    <message>
        <source>Network error: %1</source>
        <translation>Netzwerkfehler: %1</translation>
    </message>
    <message>
        <source>Server refused (HTTP %1). Your account may not have permission to create calendars on this server.</source>
        <translation>Der Server hat abgelehnt (HTTP %1). Ihr Konto darf auf diesem Server möglicherweise keine Kalender anlegen.</translation>
    </message>
    <message>
        <source>Server returned success but the new calendar isn&apos;t reachable. This server may not support MKCALENDAR.</source>
        <translation>Der Server meldete Erfolg, aber der neue Kalender ist nicht erreichbar. Dieser Server unterstützt MKCALENDAR möglicherweise nicht.</translation>
    </message>
    <message>
        <source>Created on server, but couldn&apos;t save locally. Run sync to recover.</source>
        <translation>Auf dem Server angelegt, aber lokal nicht gespeichert. Synchronisieren Sie, um ihn zu übernehmen.</translation>
    </message>
    <message>
        <source>Account missing</source>
        <translation>Konto fehlt</translation>
    </message>
    <message>
        <source>Could not find the parent account.</source>
        <translation>Das zugehörige Konto wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>Saving changes to server…</source>
        <translation>Änderungen werden auf dem Server gespeichert…</translation>
    </message>
    <message>
        <source>Server refused (HTTP %1). You may not have permission to rename or recolour this calendar.</source>
        <translation>Der Server hat abgelehnt (HTTP %1). Sie dürfen diesen Kalender möglicherweise nicht umbenennen oder umfärben.</translation>
    </message>
    <message>
        <source>Saved on server, but couldn&apos;t update locally.</source>
        <translation>Auf dem Server gespeichert, aber lokal nicht aktualisiert.</translation>
    </message>
    <message>
        <source>Server refused (HTTP 409): the folder that should hold the new calendar does not exist on the server.</source>
        <translation>Der Server hat abgelehnt (HTTP 409): Der Ordner, der den neuen Kalender aufnehmen soll, existiert auf dem Server nicht.</translation>
    </message>
    <message>
        <source>Server refused (HTTP 507): the server has no storage left for a new calendar.</source>
        <translation>Der Server hat abgelehnt (HTTP 507): Auf dem Server ist kein Speicherplatz für einen neuen Kalender mehr frei.</translation>
    </message>
    <message>
        <source>Server refused (HTTP %1).</source>
        <translation>Der Server hat abgelehnt (HTTP %1).</translation>
    </message>
</context>
<context>
    <name>Microsoft::CalendarClient</name>
    <message>
        <source>Microsoft calendars cannot repeat on weekdays of different weeks of the month at once.</source>
        <translation>Microsoft-Kalender können nicht zugleich an Wochentagen verschiedener Wochen des Monats wiederholen.</translation>
    </message>
    <message>
        <source>Microsoft calendars cannot repeat on every such weekday of the month.</source>
        <translation>Microsoft-Kalender können nicht an jedem solchen Wochentag des Monats wiederholen.</translation>
    </message>
    <message>
        <source>Microsoft calendars cannot hold this choice among the weekdays of the month.</source>
        <translation>Microsoft-Kalender können diese Auswahl unter den Wochentagen des Monats nicht speichern.</translation>
    </message>
    <message>
        <source>Microsoft calendars can only repeat on the first to fourth or the last weekday of the month.</source>
        <translation>Microsoft-Kalender können nur am ersten bis vierten oder letzten Wochentag des Monats wiederholen.</translation>
    </message>
    <message>
        <source>Microsoft calendars cannot repeat on several days of the month.</source>
        <translation>Microsoft-Kalender können nicht an mehreren Tagen des Monats wiederholen.</translation>
    </message>
    <message>
        <source>Microsoft calendars cannot repeat on a day counted from the end of the month.</source>
        <translation>Microsoft-Kalender können nicht an einem vom Monatsende gezählten Tag wiederholen.</translation>
    </message>
    <message>
        <source>Microsoft calendars cannot limit a daily or weekly series to some days of the month or year.</source>
        <translation>Microsoft-Kalender können eine tägliche oder wöchentliche Serie nicht auf einige Tage des Monats oder Jahres beschränken.</translation>
    </message>
    <message>
        <source>Microsoft calendars cannot repeat every few days on some weekdays only.</source>
        <translation>Microsoft-Kalender können nicht alle paar Tage nur an einigen Wochentagen wiederholen.</translation>
    </message>
    <message>
        <source>Microsoft calendars cannot repeat weekly on a numbered weekday.</source>
        <translation>Microsoft-Kalender können nicht wöchentlich an einem nummerierten Wochentag wiederholen.</translation>
    </message>
    <message>
        <source>Microsoft calendars cannot repeat yearly in several months.</source>
        <translation>Microsoft-Kalender können nicht jährlich in mehreren Monaten wiederholen.</translation>
    </message>
    <message>
        <source>Microsoft calendars cannot repeat yearly on a day without its month.</source>
        <translation>Microsoft-Kalender können nicht jährlich an einem Tag ohne dessen Monat wiederholen.</translation>
    </message>
    <message>
        <source>Microsoft calendars cannot limit a monthly series to some months.</source>
        <translation>Microsoft-Kalender können eine monatliche Serie nicht auf einige Monate beschränken.</translation>
    </message>
    <message>
        <source>Microsoft calendars cannot repeat on a weekday and a day of the month at once.</source>
        <translation>Microsoft-Kalender können nicht zugleich an einem Wochentag und einem Tag des Monats wiederholen.</translation>
    </message>
    <message>
        <source>Microsoft calendars cannot hold this choice among the days of the month.</source>
        <translation>Microsoft-Kalender können diese Auswahl unter den Tagen des Monats nicht speichern.</translation>
    </message>
    <message>
        <source>The repeat rule has parts that cannot be read: %1</source>
        <translation>Die Wiederholungsregel hat Teile, die nicht gelesen werden können: %1</translation>
    </message>
    <message>
        <source>Microsoft calendars cannot repeat by %1.</source>
        <translation>Microsoft-Kalender können nicht nach %1 wiederholen.</translation>
    </message>
    <message>
        <source>The weekdays of the repeat rule cannot be read.</source>
        <translation>Die Wochentage der Wiederholungsregel können nicht gelesen werden.</translation>
    </message>
    <message>
        <source>Microsoft calendars cannot repeat an event more often than daily.</source>
        <translation>Microsoft-Kalender können einen Termin nicht öfter als täglich wiederholen.</translation>
    </message>
    <message>
        <source>The repeat rule has no frequency that can be read.</source>
        <translation>Die Wiederholungsregel hat keine lesbare Häufigkeit.</translation>
    </message>
    <message>
        <source>The end of the repeat rule cannot be read.</source>
        <translation>Das Ende der Wiederholungsregel kann nicht gelesen werden.</translation>
    </message>
</context>
<context>
    <name>Microsoft::EventStore</name>
    <message>
        <source>The event could not be stored here.</source>
        <translation>Der Termin konnte hier nicht gespeichert werden.</translation>
    </message>
</context>
<context>
    <name>Microsoft::SyncClient</name>
    <message>
        <source>The occurrence is not on the server.</source>
        <translation>Das Vorkommen ist nicht auf dem Server.</translation>
    </message>
</context>
<context>
    <name>SyncStatusText</name>
    <message>
        <source>Subscription returned an empty body</source>
        <translation>Das Abonnement hat eine leere Antwort geliefert</translation>
    </message>
    <message>
        <source>Subscription did not return calendar data</source>
        <translation>Das Abonnement hat keine Kalenderdaten geliefert</translation>
    </message>
    <message>
        <source>The subscription&apos;s events could not be stored</source>
        <translation>Die Termine des Abonnements konnten nicht gespeichert werden</translation>
    </message>
    <message>
        <source>The local database is not open.</source>
        <translation>Die lokale Datenbank ist nicht geöffnet.</translation>
    </message>
    <message>
        <source>Subscription did not answer within %1 seconds</source>
        <translation>Das Abonnement hat nicht innerhalb von %1 Sekunden geantwortet</translation>
    </message>
    <message>
        <source>Subscription is larger than %1 MB</source>
        <translation>Das Abonnement ist größer als %1 MB</translation>
    </message>
    <message>
        <source>Invalid subscription URL: %1</source>
        <translation>Ungültige Abonnement-URL: %1</translation>
    </message>
    <message>
        <source>Enter a CalDAV URL starting with http:// or https://</source>
        <translation>Geben Sie eine CalDAV-URL ein, die mit http:// oder https:// beginnt</translation>
    </message>
    <message>
        <source>The discovery was cancelled.</source>
        <translation>Die Suche nach Kalendern wurde abgebrochen.</translation>
    </message>
    <message>
        <source>No calendars found at the discovered home set.</source>
        <translation>Im gefundenen Home-Set gibt es keine Kalender.</translation>
    </message>
    <message>
        <source>Network error: %1</source>
        <translation>Netzwerkfehler: %1</translation>
    </message>
    <message>
        <source>Server returned HTTP %1 during ctag check</source>
        <translation>Der Server hat bei der ctag-Prüfung HTTP %1 zurückgegeben</translation>
    </message>
    <message>
        <source>Network error during task pull: %1</source>
        <translation>Netzwerkfehler beim Abrufen der Aufgaben: %1</translation>
    </message>
    <message>
        <source>Push error: %1</source>
        <translation>Fehler beim Hochladen: %1</translation>
    </message>
    <message>
        <source>Server returned HTTP %1 pushing &quot;%2&quot;</source>
        <translation>Der Server hat beim Hochladen von „%2“ HTTP %1 zurückgegeben</translation>
    </message>
    <message>
        <source>Task push error: %1</source>
        <translation>Fehler beim Hochladen der Aufgabe: %1</translation>
    </message>
    <message>
        <source>Server returned HTTP %1 pushing task &quot;%2&quot;</source>
        <translation>Der Server hat beim Hochladen der Aufgabe „%2“ HTTP %1 zurückgegeben</translation>
    </message>
    <message>
        <source>Could not reach the server: %1</source>
        <translation>Der Server ist nicht erreichbar: %1</translation>
    </message>
    <message>
        <source>The server rejected the username or password.</source>
        <translation>Der Server hat den Benutzernamen oder das Passwort abgelehnt.</translation>
    </message>
    <message>
        <source>Server returned HTTP %1 during principal discovery.</source>
        <translation>Der Server hat bei der Principal-Suche HTTP %1 zurückgegeben.</translation>
    </message>
    <message>
        <source>Lost connection during calendar-home-set discovery: %1</source>
        <translation>Verbindung bei der Suche nach dem Calendar-Home-Set verloren: %1</translation>
    </message>
    <message>
        <source>Server returned HTTP %1 during home-set discovery.</source>
        <translation>Der Server hat bei der Suche nach dem Home-Set HTTP %1 zurückgegeben.</translation>
    </message>
    <message>
        <source>Lost connection during calendar enumeration: %1</source>
        <translation>Verbindung beim Auflisten der Kalender verloren: %1</translation>
    </message>
    <message>
        <source>Server returned HTTP %1 during calendar enumeration.</source>
        <translation>Der Server hat beim Auflisten der Kalender HTTP %1 zurückgegeben.</translation>
    </message>
    <message>
        <source>Subscription fetch failed (%1): %2</source>
        <translation>Abruf des Abonnements fehlgeschlagen (%1): %2</translation>
    </message>
    <message>
        <source>Subscription fetch failed: HTTP %1</source>
        <translation>Abruf des Abonnements fehlgeschlagen: HTTP %1</translation>
    </message>
    <message>
        <source>Server returned HTTP %1</source>
        <translation>Der Server hat HTTP %1 zurückgegeben</translation>
    </message>
    <message>
        <source>Synced %1 events</source>
        <translation>%1 Termine synchronisiert</translation>
    </message>
    <message>
        <source>Synced %1 events; %2</source>
        <translation>%1 Termine synchronisiert; %2</translation>
    </message>
    <message numerus="yes">
        <source>Discovered %n new calendar(s).</source>
        <translation>
            <numerusform>%n neuer Kalender gefunden.</numerusform>
            <numerusform>%n neue Kalender gefunden.</numerusform>
        </translation>
    </message>
    <message>
        <source>Desktop keyring unavailable; passwords are kept in %1</source>
        <translation>Schlüsselbund des Desktops nicht verfügbar; Passwörter werden in %1 aufbewahrt</translation>
    </message>
    <message>
        <source>No Microsoft access token available.</source>
        <translation>Kein Microsoft-Zugriffstoken vorhanden.</translation>
    </message>
    <message>
        <source>Microsoft sent a link outside its API; the listing was stopped.</source>
        <translation>Microsoft hat einen Link außerhalb seiner API gesendet; die Abfrage wurde abgebrochen.</translation>
    </message>
    <message>
        <source>Microsoft's listing did not end; it was stopped.</source>
        <translation>Die Liste von Microsoft endete nicht; sie wurde abgebrochen.</translation>
    </message>
    <message>
        <source>No Microsoft access token.</source>
        <translation>Kein Microsoft-Zugriffstoken.</translation>
    </message>
    <message>
        <source>Parent account missing</source>
        <translation>Übergeordnetes Konto fehlt</translation>
    </message>
    <message>
        <source>No saved Microsoft credentials. Sign in again.</source>
        <translation>Keine gespeicherten Microsoft-Anmeldedaten. Bitte erneut anmelden.</translation>
    </message>
    <message>
        <source>Microsoft token refresh failed: %1</source>
        <translation>Erneuern des Microsoft-Tokens fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>Microsoft refused the listing's delta token again.</source>
        <translation>Microsoft hat das Delta-Token der Abfrage erneut abgelehnt.</translation>
    </message>
    <message numerus="yes">
        <source>%n event(s) failed to save locally; will retry next sync.</source>
        <translation>
            <numerusform>%n Termin konnte nicht lokal gespeichert werden; nächste Synchronisierung versucht es erneut.</numerusform>
            <numerusform>%n Termine konnten nicht lokal gespeichert werden; nächste Synchronisierung versucht es erneut.</numerusform>
        </translation>
    </message>
    <message>
        <source>No Google access token available.</source>
        <translation>Kein Google-Zugriffstoken verfügbar.</translation>
    </message>
    <message numerus="yes">
        <source>Google's calendar list did not end after %n page(s).</source>
        <translation>
            <numerusform>Googles Kalenderliste endete nach %n Seite nicht.</numerusform>
            <numerusform>Googles Kalenderliste endete nach %n Seiten nicht.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Google's event listing did not end after %n page(s).</source>
        <translation>
            <numerusform>Googles Terminliste endete nach %n Seite nicht.</numerusform>
            <numerusform>Googles Terminliste endete nach %n Seiten nicht.</numerusform>
        </translation>
    </message>
    <message>
        <source>No Google access token.</source>
        <translation>Kein Google-Zugriffstoken.</translation>
    </message>
    <message>
        <source>Google OAuth credentials are not configured.</source>
        <translation>Google-OAuth-Zugangsdaten sind nicht konfiguriert.</translation>
    </message>
    <message>
        <source>Google's response had no access_token.</source>
        <translation>Die Antwort von Google enthielt kein access_token.</translation>
    </message>
    <message>
        <source>Microsoft OAuth credentials are not configured.</source>
        <translation>Microsoft-OAuth-Zugangsdaten sind nicht konfiguriert.</translation>
    </message>
    <message>
        <source>Microsoft's response had no access_token.</source>
        <translation>Die Antwort von Microsoft enthielt kein access_token.</translation>
    </message>
    <message>
        <source>No saved Google credentials. Sign in again.</source>
        <translation>Keine gespeicherten Google-Zugangsdaten. Bitte melden Sie sich erneut an.</translation>
    </message>
    <message>
        <source>Google token refresh failed: %1</source>
        <translation>Aktualisierung des Google-Tokens fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>Google refused the full event listing (HTTP 410).</source>
        <translation>Google hat die vollständige Terminliste abgelehnt (HTTP 410).</translation>
    </message>
    <message>
        <source>The server&apos;s answer was larger than %1 MB and was cut off.</source>
        <translation>Die Antwort des Servers war größer als %1 MB und wurde abgebrochen.</translation>
    </message>
    <message>
        <source>The server listed only part of the calendar&apos;s tasks; none were removed here.</source>
        <translation>Der Server hat nur einen Teil der Aufgaben des Kalenders aufgelistet; hier wurden keine entfernt.</translation>
    </message>
    <message>
        <source>The server listed only part of the calendar; no events were removed here.</source>
        <translation>Der Server hat nur einen Teil des Kalenders aufgelistet; hier wurden keine Termine entfernt.</translation>
    </message>
    <message>
        <source>Google&apos;s answer was larger than %1 MB and was cut off.</source>
        <translation>Die Antwort von Google war größer als %1 MB und wurde abgebrochen.</translation>
    </message>
    <message>
        <source>Microsoft&apos;s answer was larger than %1 MB and was cut off.</source>
        <translation>Die Antwort von Microsoft war größer als %1 MB und wurde abgebrochen.</translation>
    </message>
    <message>
        <source>The server&apos;s answer declared a document type, which CalDAV never uses; it was refused and nothing was changed.</source>
        <translation>Die Antwort des Servers enthielt eine Dokumenttyp-Deklaration, die CalDAV nie verwendet; sie wurde abgelehnt und nichts wurde geändert.</translation>
    </message>
    <message>
        <source>The subscription arrived cut short; its events were kept as they were.</source>
        <translation>Das Abonnement kam unvollständig an; seine Termine wurden unverändert behalten.</translation>
    </message>
    <message>
        <source>The subscription&apos;s events could not be stored: the disk is full.</source>
        <translation>Die Termine des Abonnements konnten nicht gespeichert werden: Der Datenträger ist voll.</translation>
    </message>
    <message>
        <source>Sync stopped: the disk is full. Free some space; the next sync brings in the rest.</source>
        <translation>Synchronisierung abgebrochen: Der Datenträger ist voll. Geben Sie Speicherplatz frei; die nächste Synchronisierung holt den Rest.</translation>
    </message>
    <message>
        <source>Sync stopped: the calendar database is read-only.</source>
        <translation>Synchronisierung abgebrochen: Die Kalenderdatenbank ist schreibgeschützt.</translation>
    </message>
    <message>
        <source>Sync stopped: the disk or the calendar database failed.</source>
        <translation>Synchronisierung abgebrochen: Der Datenträger oder die Kalenderdatenbank ist ausgefallen.</translation>
    </message>
    <message>
        <source>Sync stopped: the calendar database did not take a change. The next sync tries again.</source>
        <translation>Synchronisierung abgebrochen: Die Kalenderdatenbank hat eine Änderung nicht übernommen. Die nächste Synchronisierung versucht es erneut.</translation>
    </message>
    <message>
        <source>%1 could not be reached (%2).</source>
        <translation>%1 war nicht erreichbar (%2).</translation>
    </message>
    <message>
        <source>Token refresh failed (HTTP %1).</source>
        <translation>Die Token-Erneuerung ist fehlgeschlagen (HTTP %1).</translation>
    </message>
    <message>
        <source>%1 sent an answer that could not be read (HTTP %2).</source>
        <translation>%1 hat eine unlesbare Antwort gesendet (HTTP %2).</translation>
    </message>
    <message>
        <source>%1&apos;s usage limit was reached (HTTP %2).</source>
        <translation>Das Nutzungslimit von %1 wurde erreicht (HTTP %2).</translation>
    </message>
    <message>
        <source>%1 refused to list the calendars (HTTP %2).</source>
        <translation>%1 hat die Auflistung der Kalender abgelehnt (HTTP %2).</translation>
    </message>
    <message>
        <source>%1 refused a new event (HTTP %2).</source>
        <translation>%1 hat einen neuen Termin abgelehnt (HTTP %2).</translation>
    </message>
    <message>
        <source>%1 refused a changed event (HTTP %2).</source>
        <translation>%1 hat einen geänderten Termin abgelehnt (HTTP %2).</translation>
    </message>
    <message>
        <source>%1 refused to delete an event (HTTP %2).</source>
        <translation>%1 hat das Löschen eines Termins abgelehnt (HTTP %2).</translation>
    </message>
    <message>
        <source>%1 refused to list the calendar&apos;s events (HTTP %2).</source>
        <translation>%1 hat die Auflistung der Termine des Kalenders abgelehnt (HTTP %2).</translation>
    </message>
    <message>
        <source>The next sync tries again.</source>
        <translation>Die nächste Synchronisierung versucht es erneut.</translation>
    </message>
    <message>
        <source>Sign in to %1 again.</source>
        <translation>Melden Sie sich erneut bei %1 an.</translation>
    </message>
    <message>
        <source>Check that the account may still use this calendar.</source>
        <translation>Prüfen Sie, ob das Konto diesen Kalender noch verwenden darf.</translation>
    </message>
    <message>
        <source>It may have been deleted there; the next sync looks again.</source>
        <translation>Möglicherweise wurde er dort gelöscht; die nächste Synchronisierung prüft es erneut.</translation>
    </message>
</context>
<context>
    <name>TaskFormDialog</name>
    <message>
        <source>Read-only calendar</source>
        <translation>Schreibgeschützter Kalender</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is read-only, so a subtask can&apos;t be added to its task: a subtask stays in its parent task&apos;s calendar.</source>
        <translation>„%1“ ist schreibgeschützt, daher kann der Aufgabe keine Unteraufgabe hinzugefügt werden: Eine Unteraufgabe bleibt im Kalender ihrer übergeordneten Aufgabe.</translation>
    </message>
    <message>
        <source>Edit Task</source>
        <translation>Aufgabe bearbeiten</translation>
    </message>
    <message>
        <source>New Task</source>
        <translation>Neue Aufgabe</translation>
    </message>
    <message>
        <source>Edit task</source>
        <translation>Aufgabe bearbeiten</translation>
    </message>
    <message>
        <source>New task</source>
        <translation>Neue Aufgabe</translation>
    </message>
    <message>
        <source>Update the task and save to apply.</source>
        <translation>Aufgabe ändern und zum Übernehmen speichern.</translation>
    </message>
    <message>
        <source>Drop a quick to-do; due date and priority are optional.</source>
        <translation>Schnell eine Aufgabe notieren; Fälligkeit und Priorität sind optional.</translation>
    </message>
    <message>
        <source>Buy birthday gift, prep Q1 report…</source>
        <translation>Geburtstagsgeschenk kaufen, Q1-Bericht vorbereiten…</translation>
    </message>
    <message>
        <source>&amp;Title</source>
        <translation>&amp;Titel</translation>
    </message>
    <message>
        <source>&amp;Calendar</source>
        <translation>&amp;Kalender</translation>
    </message>
    <message>
        <source>Set start date</source>
        <translation>Startdatum festlegen</translation>
    </message>
    <message>
        <source>&amp;Starts</source>
        <translation>&amp;Beginnt</translation>
    </message>
    <message>
        <source>Set due date</source>
        <translation>Fälligkeitsdatum festlegen</translation>
    </message>
    <message>
        <source>&amp;Due</source>
        <translation>&amp;Fällig</translation>
    </message>
    <message>
        <source>Does not repeat</source>
        <translation>Wiederholt sich nicht</translation>
    </message>
    <message>
        <source>&amp;Repeat</source>
        <translation>&amp;Wiederholen</translation>
    </message>
    <message>
        <source>Due date</source>
        <translation>Fälligkeitsdatum</translation>
    </message>
    <message>
        <source>Completion date</source>
        <translation>Erledigungsdatum</translation>
    </message>
    <message>
        <source>Due date: next due = current due + interval.
Completion date: next due = today + interval.</source>
        <translation>Fälligkeitsdatum: nächste Fälligkeit = aktuelle Fälligkeit + Intervall.
Erledigungsdatum: nächste Fälligkeit = heute + Intervall.</translation>
    </message>
    <message>
        <source>Repeats &amp;from</source>
        <translation>Wiederholung &amp;ab</translation>
    </message>
    <message>
        <source>— None</source>
        <translation>— Keine</translation>
    </message>
    <message>
        <source>● High</source>
        <translation>● Hoch</translation>
    </message>
    <message>
        <source>● Medium</source>
        <translation>● Mittel</translation>
    </message>
    <message>
        <source>● Low</source>
        <translation>● Niedrig</translation>
    </message>
    <message>
        <source>&amp;Priority</source>
        <translation>&amp;Priorität</translation>
    </message>
    <message>
        <source>Completed</source>
        <translation>Erledigt</translation>
    </message>
    <message>
        <source>e.g. Personal, Health, Errands</source>
        <translation>z. B. Privat, Gesundheit, Besorgungen</translation>
    </message>
    <message>
        <source>&amp;Categories</source>
        <translation>K&amp;ategorien</translation>
    </message>
    <message>
        <source>Steps, links, context…</source>
        <translation>Schritte, Links, Kontext…</translation>
    </message>
    <message>
        <source>&amp;Notes</source>
        <translation>&amp;Notizen</translation>
    </message>
    <message>
        <source>Save changes</source>
        <translation>Änderungen speichern</translation>
    </message>
    <message>
        <source>Create task</source>
        <translation>Aufgabe anlegen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Subtasks stay in their parent task&apos;s calendar.</source>
        <translation>Unteraufgaben bleiben im Kalender ihrer übergeordneten Aufgabe.</translation>
    </message>
    <message>
        <source>Title required</source>
        <translation>Titel erforderlich</translation>
    </message>
    <message>
        <source>Please enter a title for the task.</source>
        <translation>Bitte geben Sie einen Titel für die Aufgabe ein.</translation>
    </message>
    <message>
        <source>No calendars</source>
        <translation>Keine Kalender</translation>
    </message>
    <message>
        <source>Create a calendar first.</source>
        <translation>Legen Sie zuerst einen Kalender an.</translation>
    </message>
    <message>
        <source>Database Error</source>
        <translation>Datenbankfehler</translation>
    </message>
    <message>
        <source>Could not save the task.</source>
        <translation>Die Aufgabe konnte nicht gespeichert werden.</translation>
    </message>
</context>
<context>
    <name>Application</name>
    <message>
        <location filename="../../app/application.cpp" line="+131"/>
        <source>Database Error</source>
        <translation>Datenbankfehler</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Failed to initialize the database.

Data directory: %1

Please check file permissions and try again.</source>
        <translation>Die Datenbank konnte nicht initialisiert werden.

Datenverzeichnis: %1

Bitte prüfen Sie die Dateiberechtigungen und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>The calendar database is locked by another program.

Data directory: %1

Close the program that has it open and start again.</source>
        <translation>Die Kalenderdatenbank ist von einem anderen Programm gesperrt.

Datenverzeichnis: %1

Schließen Sie das Programm, das sie geöffnet hat, und starten Sie erneut.</translation>
    </message>
    <message>
        <source>The calendar database is damaged and cannot be opened. It has not been changed.

Data directory: %1

Restore a copy of calendar.db, or move it away to start with an empty calendar.</source>
        <translation>Die Kalenderdatenbank ist beschädigt und kann nicht geöffnet werden. Sie wurde nicht verändert.

Datenverzeichnis: %1

Stellen Sie eine Kopie von calendar.db wieder her oder verschieben Sie die Datei, um mit einem leeren Kalender zu beginnen.</translation>
    </message>
    <message>
        <source>The calendar database was created by a newer version of this program and cannot be opened by this one. It has not been changed.

Data directory: %1

Please use the newer version.</source>
        <translation>Die Kalenderdatenbank wurde von einer neueren Version dieses Programms erstellt und kann von dieser nicht geöffnet werden. Sie wurde nicht verändert.

Datenverzeichnis: %1

Bitte verwenden Sie die neuere Version.</translation>
    </message>
    <message>
        <source>Calendar Already Running</source>
        <translation>Kalender läuft bereits</translation>
    </message>
    <message>
        <source>The calendar data folder is in use by another running calendar program.

Data directory: %1

This one ends now.</source>
        <translation>Der Kalender-Datenordner wird von einem anderen laufenden Kalenderprogramm verwendet.

Datenverzeichnis: %1

Dieses Programm wird jetzt beendet.</translation>
    </message>
    <message>
        <source>Read-Only Calendar</source>
        <translation>Schreibgeschützter Kalender</translation>
    </message>
    <message>
        <source>The calendar database is read-only: changes cannot be saved.

Data directory: %1</source>
        <translation>Die Kalenderdatenbank ist schreibgeschützt: Änderungen können nicht gespeichert werden.

Datenverzeichnis: %1</translation>
    </message>
</context>
<context>
    <name>CalDavClient</name>
    <message>
        <location filename="../../sync/caldav/caldavclient.cpp" line="+207"/>
        <source>Unsupported URL: %1</source>
        <translation>Nicht unterstützte URL: %1</translation>
    </message>
    <message numerus="yes">
        <location line="+49"/>
        <source>The server did not answer for %n second(s).</source>
        <translation>
            <numerusform>Der Server hat %n Sekunde lang nicht geantwortet.</numerusform>
            <numerusform>Der Server hat %n Sekunden lang nicht geantwortet.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>The server did not finish its answer within %n second(s).</source>
        <translation>
            <numerusform>Der Server hat seine Antwort nicht innerhalb von %n Sekunde beendet.</numerusform>
            <numerusform>Der Server hat seine Antwort nicht innerhalb von %n Sekunden beendet.</numerusform>
        </translation>
    </message>
    <message>
        <source>The server&apos;s answer was larger than %1 MB and was cut off.</source>
        <translation>Die Antwort des Servers war größer als %1 MB und wurde abgebrochen.</translation>
    </message>
    <message>
        <source>The server&apos;s answer declared a document type, which CalDAV never uses; it was refused.</source>
        <translation>Die Antwort des Servers enthielt eine Dokumenttyp-Deklaration, die CalDAV nie verwendet; sie wurde abgelehnt.</translation>
    </message>
    <message>
        <source>The server&apos;s answer ended before it was whole.</source>
        <translation>Die Antwort des Servers endete, bevor sie vollständig war.</translation>
    </message>
</context>
<context>
    <name>CalDavSyncClient</name>
    <message numerus="yes">
        <location line="+31"/>
        <source>%n item(s) could not be synced</source>
        <translation>
            <numerusform>%n Element konnte nicht synchronisiert werden</numerusform>
            <numerusform>%n Elemente konnten nicht synchronisiert werden</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>DialogParts</name>
    <message>
        <source>Edit…</source>
        <translation>Bearbeiten…</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
</context>
<context>
    <name>EventAccess</name>
    <message>
        <source>Events of a subscribed calendar can&apos;t be changed.</source>
        <translation>Termine eines abonnierten Kalenders können nicht geändert werden.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is read-only: its events cannot be changed here.</source>
        <translation>„%1“ ist schreibgeschützt: Seine Termine können hier nicht geändert werden.</translation>
    </message>
</context>
<context>
    <name>EventDetailsPopover</name>
    <message>
        <location filename="../../mainwindow/eventdetailspopover.cpp" line="+48"/>
        <source>(No title)</source>
        <translation>(Kein Titel)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Repeats</source>
        <translation>Wiederholt sich</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>Edit</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <location line="+32"/>
        <source>%1 · All day</source>
        <translation>%1 · Ganztägig</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 – %2 · All day</source>
        <translation>%1 – %2 · Ganztägig</translation>
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
        <translation>Termin löschen?</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Delete &quot;%1&quot;? You can undo with %2.</source>
        <translation>„%1“ löschen? Sie können das mit %2 rückgängig machen.</translation>
    </message>
    <message>
        <source>Database Error</source>
        <translation>Datenbankfehler</translation>
    </message>
    <message>
        <source>Could not delete &quot;%1&quot;.</source>
        <translation>„%1“ konnte nicht gelöscht werden.</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Deleted &quot;%1&quot;</source>
        <translation>„%1“ gelöscht</translation>
    </message>
    <message>
        <source>Reminders: %1</source>
        <translation>Erinnerungen: %1</translation>
    </message>
    <message>
        <source>Online meeting: %1</source>
        <translation>Online-Besprechung: %1</translation>
    </message>
    <message>
        <source>Join online meeting</source>
        <translation>An Online-Besprechung teilnehmen</translation>
    </message>
</context>
<context>
    <name>EventFormDialog</name>
    <message>
        <location filename="../../editors/eventformdialog.cpp" line="+115"/>
        <source>Edit Event</source>
        <translation>Termin bearbeiten</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>New Event</source>
        <translation>Neuer Termin</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>At time of event</source>
        <translation>Zu Beginn des Termins</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>5 minutes before</source>
        <translation>5 Minuten vorher</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>10 minutes before</source>
        <translation>10 Minuten vorher</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>15 minutes before</source>
        <translation>15 Minuten vorher</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>30 minutes before</source>
        <translation>30 Minuten vorher</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>1 hour before</source>
        <translation>1 Stunde vorher</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>2 hours before</source>
        <translation>2 Stunden vorher</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>1 day before</source>
        <translation>1 Tag vorher</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>2 days before</source>
        <translation>2 Tage vorher</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>1 week before</source>
        <translation>1 Woche vorher</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 minutes before</source>
        <translation>%1 Minuten vorher</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 hours before</source>
        <translation>%1 Stunden vorher</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 days before</source>
        <translation>%1 Tage vorher</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Going</source>
        <translation>Zugesagt</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Declined</source>
        <translation>Abgelehnt</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Maybe</source>
        <translation>Vielleicht</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Delegated</source>
        <translation>Delegiert</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>No response</source>
        <translation>Keine Antwort</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>Edit event</source>
        <translation>Termin bearbeiten</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>New event</source>
        <translation>Neuer Termin</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>From template…</source>
        <translation>Aus Vorlage…</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Update the details below and save to apply.</source>
        <translation>Ändern Sie die Angaben unten und speichern Sie, um sie zu übernehmen.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Fill in the basics. Start time and calendar are required.</source>
        <translation>Füllen Sie das Wichtigste aus. Beginn und Kalender sind Pflichtangaben.</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Lunch with Sam, Sprint planning…</source>
        <translation>Mittagessen mit Sam, Sprintplanung…</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Title</source>
        <translation>&amp;Titel</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>&amp;Calendar</source>
        <translation>&amp;Kalender</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Use calendar color</source>
        <translation>Kalenderfarbe verwenden</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Color</source>
        <translation>Farbe</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>&amp;Starts</source>
        <translation>&amp;Beginn</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>&amp;Ends</source>
        <translation>&amp;Ende</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>All day</source>
        <translation>Ganztägig</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>&amp;Repeats</source>
        <translation>&amp;Wiederholung</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>+ Add reminder</source>
        <translation>+ Erinnerung hinzufügen</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Re&amp;minders</source>
        <translation>E&amp;rinnerungen</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Address, room, or video link</source>
        <translation>Adresse, Raum oder Videolink</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Location</source>
        <translation>&amp;Ort</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Notes, agenda, links…</source>
        <translation>Notizen, Agenda, Links…</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;Notes</source>
        <translation>&amp;Notizen</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>+ Add attendee</source>
        <translation>+ Teilnehmer hinzufügen</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Attendees</source>
        <translation>Teilnehmer</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Save changes</source>
        <translation>Änderungen speichern</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Create event</source>
        <translation>Termin erstellen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <location line="+123"/>
        <source>Inheriting calendar color (%1). Click to override.</source>
        <translation>Kalenderfarbe wird übernommen (%1). Zum Ändern klicken.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Custom color (%1). Click to change.</source>
        <translation>Eigene Farbe (%1). Zum Ändern klicken.</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Event color</source>
        <translation>Terminfarbe</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Does not repeat</source>
        <translation>Keine Wiederholung</translation>
    </message>
    <message>
        <location line="+85"/>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>name@example.com</source>
        <translation>name@example.com</translation>
    </message>
    <message>
        <location line="+30"/>
        <source>No templates</source>
        <translation>Keine Vorlagen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>You haven&apos;t created any event templates yet. Open Tools → Manage Templates to create one.</source>
        <translation>Sie haben noch keine Terminvorlagen erstellt. Öffnen Sie Extras → Vorlagen verwalten, um eine anzulegen.</translation>
    </message>
    <message>
        <location line="+50"/>
        <source>Title required</source>
        <translation>Titel erforderlich</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Please enter a title for the event.</source>
        <translation>Bitte geben Sie einen Titel für den Termin ein.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>No calendars</source>
        <translation>Keine Kalender</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Create a calendar first.</source>
        <translation>Erstellen Sie zuerst einen Kalender.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>End before start</source>
        <translation>Ende vor Beginn</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>The end time is earlier than the start time.</source>
        <translation>Das Ende liegt vor dem Beginn.</translation>
    </message>
    <message>
        <location line="+66"/>
        <source>Database Error</source>
        <translation>Datenbankfehler</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Could not save the event.</source>
        <translation>Der Termin konnte nicht gespeichert werden.</translation>
    </message>
</context>
<context>
    <name>FilterFormDialog</name>
    <message>
        <source>Every calendar this filter applied to has been deleted, so it matches nothing.</source>
        <translation>Alle Kalender, für die dieser Filter galt, wurden gelöscht, daher trifft er auf nichts zu.</translation>
    </message>
    <message>
        <source>Every calendar this filter applied to has been deleted, so it matches nothing. Check the calendars it should apply to; saved without any, it applies to every calendar.</source>
        <translation>Alle Kalender, für die dieser Filter galt, wurden gelöscht, daher trifft er auf nichts zu. Wählen Sie die Kalender, für die er gelten soll; ohne Auswahl gespeichert, gilt er für alle Kalender.</translation>
    </message>
    <message>
        <source>This filter is of a kind this version does not know (&quot;%1&quot;). It is shown read-only and kept as it is.</source>
        <translation>Diese Art von Filter kennt diese Version nicht („%1“). Er wird schreibgeschützt angezeigt und bleibt unverändert.</translation>
    </message>
    <message>
        <source>Pattern Match</source>
        <translation>Textmuster</translation>
    </message>
    <message>
        <source>Filter events matching text patterns</source>
        <translation>Termine filtern, die Textmustern entsprechen</translation>
    </message>
    <message>
        <source>Time-Based</source>
        <translation>Zeitbasiert</translation>
    </message>
    <message>
        <source>Filter events at specific times</source>
        <translation>Termine zu bestimmten Zeiten filtern</translation>
    </message>
    <message>
        <source>Specific Event</source>
        <translation>Bestimmter Termin</translation>
    </message>
    <message>
        <source>Filter a specific recurring event</source>
        <translation>Einen bestimmten Serientermin filtern</translation>
    </message>
    <message>
        <source>All-Day Events</source>
        <translation>Ganztägige Termine</translation>
    </message>
    <message>
        <source>Filter all-day events</source>
        <translation>Ganztägige Termine filtern</translation>
    </message>
    <message>
        <source>Mon</source>
        <translation>Mo</translation>
    </message>
    <message>
        <source>Tue</source>
        <translation>Di</translation>
    </message>
    <message>
        <source>Wed</source>
        <translation>Mi</translation>
    </message>
    <message>
        <source>Thu</source>
        <translation>Do</translation>
    </message>
    <message>
        <source>Fri</source>
        <translation>Fr</translation>
    </message>
    <message>
        <source>Sat</source>
        <translation>Sa</translation>
    </message>
    <message>
        <source>Sun</source>
        <translation>So</translation>
    </message>
    <message>
        <source>Add Filter</source>
        <translation>Filter hinzufügen</translation>
    </message>
    <message>
        <source>Edit Filter</source>
        <translation>Filter bearbeiten</translation>
    </message>
    <message>
        <source>Edit filter</source>
        <translation>Filter bearbeiten</translation>
    </message>
    <message>
        <source>New filter</source>
        <translation>Neuer Filter</translation>
    </message>
    <message>
        <source>Filters hide or dim events that match — they don't delete anything, and you can toggle the whole set off from the filters pill in the status bar.</source>
        <translation>Filter blenden passende Termine aus oder schwächen sie ab – sie löschen nichts, und über das Filter-Symbol in der Statusleiste lassen sich alle auf einmal ausschalten.</translation>
    </message>
    <message>
        <source>Hide standups, Dim birthdays…</source>
        <translation>Standups ausblenden, Geburtstage abschwächen…</translation>
    </message>
    <message>
        <source>&amp;Name</source>
        <translation>&amp;Name</translation>
    </message>
    <message>
        <source>Hide completely</source>
        <translation>Ganz ausblenden</translation>
    </message>
    <message>
        <source>Dim (still visible, faded)</source>
        <translation>Abschwächen (sichtbar, blass)</translation>
    </message>
    <message>
        <source>&amp;Action</source>
        <translation>&amp;Aktion</translation>
    </message>
    <message>
        <source>Suppress reminders for matched events</source>
        <translation>Erinnerungen für passende Termine unterdrücken</translation>
    </message>
    <message>
        <source>Enabled</source>
        <translation>Aktiviert</translation>
    </message>
    <message>
        <source>Apply to calendars</source>
        <translation>Auf Kalender anwenden</translation>
    </message>
    <message>
        <source>Leave empty to apply to every calendar.</source>
        <translation>Leer lassen, um alle Kalender einzubeziehen.</translation>
    </message>
    <message>
        <source>Save changes</source>
        <translation>Änderungen speichern</translation>
    </message>
    <message>
        <source>Create filter</source>
        <translation>Filter anlegen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Art</translation>
    </message>
    <message>
        <source>Title contains</source>
        <translation>Titel enthält</translation>
    </message>
    <message>
        <source>e.g. standup, lunch, 1:1 — comma separated</source>
        <translation>z. B. Standup, Mittagessen, 1:1 – durch Kommas getrennt</translation>
    </message>
    <message>
        <source>Case sensitive</source>
        <translation>Groß-/Kleinschreibung beachten</translation>
    </message>
    <message>
        <source>Exact start time</source>
        <translation>Genaue Startzeit</translation>
    </message>
    <message>
        <source>Time range</source>
        <translation>Zeitraum</translation>
    </message>
    <message>
        <source>to</source>
        <translation>bis</translation>
    </message>
    <message>
        <source>Days of week (empty = every day)</source>
        <translation>Wochentage (leer = jeden Tag)</translation>
    </message>
    <message>
        <source>Recurring events only</source>
        <translation>Nur Serientermine</translation>
    </message>
    <message>
        <source>Filtering this specific event:</source>
        <translation>Dieser Termin wird gefiltert:</translation>
    </message>
    <message>
        <source>(Right-click an event and choose &quot;Create Filter from Event&quot; to create a specific-event filter.)</source>
        <translation>(Klicken Sie mit der rechten Maustaste auf einen Termin und wählen Sie „Filter aus Termin erstellen“, um einen Filter für diesen Termin anzulegen.)</translation>
    </message>
    <message>
        <source>Matches every all-day event in the selected calendars.</source>
        <translation>Trifft auf alle ganztägigen Termine der gewählten Kalender zu.</translation>
    </message>
    <message>
        <source>Only recurring all-day events</source>
        <translation>Nur ganztägige Serientermine</translation>
    </message>
    <message>
        <source>(Event no longer exists)</source>
        <translation>(Termin existiert nicht mehr)</translation>
    </message>
    <message>
        <source>(Untitled event)</source>
        <translation>(Termin ohne Titel)</translation>
    </message>
    <message>
        <source>Name required</source>
        <translation>Name erforderlich</translation>
    </message>
    <message>
        <source>Please enter a name for the filter.</source>
        <translation>Bitte geben Sie einen Namen für den Filter ein.</translation>
    </message>
    <message>
        <source>No patterns</source>
        <translation>Keine Muster</translation>
    </message>
    <message>
        <source>Add at least one phrase to &quot;Title contains&quot;.</source>
        <translation>Fügen Sie bei „Titel enthält“ mindestens einen Ausdruck hinzu.</translation>
    </message>
    <message>
        <source>No event selected</source>
        <translation>Kein Termin ausgewählt</translation>
    </message>
    <message>
        <source>Specific-event filters need to be created from an event's right-click menu — that's how the rule learns which event to match.</source>
        <translation>Filter für einen bestimmten Termin werden über das Kontextmenü des Termins angelegt – so erfährt die Regel, welcher Termin gemeint ist.</translation>
    </message>
    <message>
        <source>Database Error</source>
        <translation>Datenbankfehler</translation>
    </message>
    <message>
        <source>Could not save the filter.</source>
        <translation>Der Filter konnte nicht gespeichert werden.</translation>
    </message>
    <message>
        <source>No events in the next 30 days to preview against.</source>
        <translation>Keine Termine in den nächsten 30 Tagen für eine Vorschau.</translation>
    </message>
    <message>
        <source>(Untitled)</source>
        <translation>(Ohne Titel)</translation>
    </message>
    <message>
        <source>hide</source>
        <translation>ausblenden</translation>
    </message>
    <message>
        <source>dim</source>
        <translation>abschwächen</translation>
    </message>
    <message>
        <source>Would %1 %2 of %3 events in the next 30 days.</source>
        <translation>Würde %2 von %3 Terminen der nächsten 30 Tage %1.</translation>
    </message>
    <message>
        <source>e.g. %1</source>
        <translation>z. B. %1</translation>
    </message>
</context>
<context>
    <name>FilterMenus</name>
    <message>
        <source>Edit filter &quot;%1&quot;…</source>
        <translation>Filter „%1“ bearbeiten…</translation>
    </message>
    <message>
        <source>Create Filter from Event…</source>
        <translation>Filter aus Termin erstellen…</translation>
    </message>
    <message>
        <source>New &amp;Filter…</source>
        <translation>Neuer &amp;Filter…</translation>
    </message>
    <message>
        <source>New Calendar &amp;Group…</source>
        <translation>Neue Kalender&amp;gruppe…</translation>
    </message>
    <message>
        <source>&amp;Manage Filters…</source>
        <translation>Filter &amp;verwalten…</translation>
    </message>
    <message>
        <source>Manage &amp;Calendar Groups…</source>
        <translation>&amp;Kalendergruppen verwalten…</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message numerus="yes">
        <source>%n value(s) were not valid UTF-8 and were read as Windows-1252</source>
        <translation>
            <numerusform>%n Wert war kein gültiges UTF-8 und wurde als Windows-1252 gelesen</numerusform>
            <numerusform>%n Werte waren kein gültiges UTF-8 und wurden als Windows-1252 gelesen</numerusform>
        </translation>
    </message>
    <message>
        <source>The file was cut short (it has no END:VCALENDAR); the events before the cut were imported.</source>
        <translation>Die Datei endet vorzeitig (ohne END:VCALENDAR); die Termine vor dem Abbruch wurden importiert.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>An import is already running.</source>
        <translation>Es läuft bereits ein Import.</translation>
    </message>
    <message>
        <location filename="../../mainwindow/mainwindow.cpp" line="296"/>
        <source>%1 will be imported after the current import.</source>
        <translation>%1 wird nach dem laufenden Import importiert.</translation>
    </message>
    <message>
        <source>Importing %1…</source>
        <translation>%1 wird importiert…</translation>
    </message>
    <message>
        <source>Import of %1 cancelled; nothing was imported.</source>
        <translation>Import von %1 abgebrochen; nichts wurde importiert.</translation>
    </message>
    <message>
        <source>Nothing was imported from %1: %2</source>
        <translation>Aus %1 wurde nichts importiert: %2</translation>
    </message>
    <message>
        <source>the disk is full.</source>
        <translation>Der Datenträger ist voll.</translation>
    </message>
    <message>
        <source>the calendar database is read-only.</source>
        <translation>Die Kalenderdatenbank ist schreibgeschützt.</translation>
    </message>
    <message>
        <source>the calendar database is locked by another program.</source>
        <translation>Die Kalenderdatenbank ist von einem anderen Programm gesperrt.</translation>
    </message>
    <message>
        <source>the disk or the database file failed.</source>
        <translation>Der Datenträger oder die Datenbankdatei hat versagt.</translation>
    </message>
    <message>
        <source>the calendar database could not be written.</source>
        <translation>Die Kalenderdatenbank konnte nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>New events: %1</source>
        <translation>Neue Termine: %1</translation>
    </message>
    <message>
        <source>Updated events: %1</source>
        <translation>Aktualisierte Termine: %1</translation>
    </message>
    <message>
        <source>Already in the calendar as they are: %1</source>
        <translation>Schon unverändert im Kalender: %1</translation>
    </message>
    <message>
        <source>Without END:VEVENT: %1</source>
        <translation>Ohne END:VEVENT: %1</translation>
    </message>
    <message>
        <source>Cut off where the file ends: %1</source>
        <translation>Am Dateiende abgeschnitten: %1</translation>
    </message>
    <message>
        <source>Without a readable start (DTSTART): %1</source>
        <translation>Ohne lesbaren Beginn (DTSTART): %1</translation>
    </message>
    <message>
        <source>Without a UID: %1</source>
        <translation>Ohne UID: %1</translation>
    </message>
    <message>
        <source>Refused by the calendar database: %1</source>
        <translation>Von der Kalenderdatenbank abgelehnt: %1</translation>
    </message>
    <message>
        <source>Import finished</source>
        <translation>Import abgeschlossen</translation>
    </message>
    <message numerus="yes">
        <source>Imported %n event(s) from %1 (%2 updated)</source>
        <translation>
            <numerusform>%n Termin aus %1 importiert (%2 aktualisiert)</numerusform>
            <numerusform>%n Termine aus %1 importiert (%2 aktualisiert)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Nothing new in %1: its %n event(s) are in the calendar already</source>
        <translation>
            <numerusform>Nichts Neues in %1: sein %n Termin ist schon im Kalender</numerusform>
            <numerusform>Nichts Neues in %1: seine %n Termine sind schon im Kalender</numerusform>
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
        <translation>Rückgängig gemacht: %1</translation>
    </message>
    <message>
        <source>Could not undo: %1</source>
        <translation>Konnte nicht rückgängig gemacht werden: %1</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>%1 presented a certificate that is not trusted; its calendars were not synced.</source>
        <translation>%1 hat ein nicht vertrauenswürdiges Zertifikat vorgelegt; die Kalender wurden nicht synchronisiert.</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>New &amp;Event…</source>
        <translation>Neuer &amp;Termin…</translation>
    </message>
    <message>
        <source>New &amp;Task…</source>
        <translation>Neue &amp;Aufgabe…</translation>
    </message>
    <message>
        <source>Create a calendar first.</source>
        <translation>Legen Sie zuerst einen Kalender an.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Import .ics…</source>
        <translation>.ics &amp;importieren…</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;Preferences…</source>
        <translation>&amp;Einstellungen…</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Today</source>
        <translation>&amp;Heute</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;Sync</source>
        <translation>&amp;Synchronisieren</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Sync &amp;Now</source>
        <translation>&amp;Jetzt synchronisieren</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Send Test &amp;Notification</source>
        <translation>&amp;Testbenachrichtigung senden</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Fire a sample reminder toast to verify your desktop notification setup.</source>
        <translation>Zeigt eine Beispielerinnerung an, um die Desktop-Benachrichtigungen zu prüfen.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>&amp;Developer</source>
        <translation>E&amp;ntwickler</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Load Sample &amp;Data</source>
        <translation>&amp;Beispieldaten laden</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Clear Sample Data</source>
        <translation>Beispieldaten &amp;entfernen</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <location line="+28"/>
        <source>Added: %1</source>
        <translation>Hinzugefügt: %1</translation>
    </message>
    <message>
        <location line="+29"/>
        <source>No calendars</source>
        <translation>Keine Kalender</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>There is no calendar to add an event to.</source>
        <translation>Es gibt keinen Kalender, in den der Termin eingetragen werden kann.</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Quick-add ignored: no calendars configured.</source>
        <translation>Schnelleingabe ignoriert: keine Kalender eingerichtet.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Quick-add couldn&apos;t parse: &quot;%1&quot;</source>
        <translation>Schnelleingabe nicht verstanden: „%1“</translation>
    </message>
    <message>
        <source>Quick-add couldn&apos;t save &quot;%1&quot;.</source>
        <translation>Schnelleingabe konnte „%1“ nicht speichern.</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Import ignored: no calendars configured.</source>
        <translation>Import ignoriert: keine Kalender eingerichtet.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Import failed</source>
        <translation>Import fehlgeschlagen</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Couldn&apos;t read &quot;%1&quot;.</source>
        <translation>„%1“ konnte nicht gelesen werden.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>No events found in %1</source>
        <translation>Keine Termine in %1 gefunden</translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>Imported %n event(s) from %1</source>
        <translation>
            <numerusform>%n Termin aus %1 importiert</numerusform>
            <numerusform>%n Termine aus %1 importiert</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>Imported %n event(s) from %1; %2 could not be stored</source>
        <translation>
            <numerusform>%n Termin aus %1 importiert; %2 konnten nicht gespeichert werden</numerusform>
            <numerusform>%n Termine aus %1 importiert; %2 konnten nicht gespeichert werden</numerusform>
        </translation>
    </message>
    <message>
        <location line="+70"/>
        <location line="+6"/>
        <source>Quick Add</source>
        <translation>Schnelleingabe</translation>
    </message>
    <message>
        <location line="-6"/>
        <source>Describe the event, e.g. &quot;Lunch with Sam tomorrow 12:30&quot;:</source>
        <translation>Beschreiben Sie den Termin auf Englisch, z. B. „Lunch with Sam tomorrow 12:30“:</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Couldn&apos;t save event</source>
        <translation>Termin konnte nicht gespeichert werden</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Import .ics</source>
        <translation>.ics importieren</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>iCalendar files (*.ics);;All files (*)</source>
        <translation>iCalendar-Dateien (*.ics);;Alle Dateien (*)</translation>
    </message>
    <message numerus="yes">
        <location line="+14"/>
        <source>Loaded %n sample row(s).</source>
        <translation>
            <numerusform>%n Beispielzeile geladen.</numerusform>
            <numerusform>%n Beispielzeilen geladen.</numerusform>
        </translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Clear sample data?</source>
        <translation>Beispieldaten entfernen?</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Remove the sample calendars, events, and tasks? Your real data is untouched.</source>
        <translation>Beispielkalender, -termine und -aufgaben entfernen? Ihre eigenen Daten bleiben unverändert.</translation>
    </message>
    <message numerus="yes">
        <location line="+5"/>
        <source>Removed %n sample row(s).</source>
        <translation>
            <numerusform>%n Beispielzeile entfernt.</numerusform>
            <numerusform>%n Beispielzeilen entfernt.</numerusform>
        </translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Test notification fired</source>
        <translation>Testbenachrichtigung gesendet</translation>
    </message>
    <message>
        <source>&amp;Tools</source>
        <translation>E&amp;xtras</translation>
    </message>
    <message>
        <source>&amp;Search…</source>
        <translation>&amp;Suchen…</translation>
    </message>
    <message>
        <source>Manage &amp;Templates…</source>
        <translation>&amp;Vorlagen verwalten…</translation>
    </message>
    <message numerus="yes">
        <source>%1; %n task(s) not imported</source>
        <translation>
            <numerusform>%1; %n Aufgabe nicht importiert</numerusform>
            <numerusform>%1; %n Aufgaben nicht importiert</numerusform>
        </translation>
    </message>
    <message>
        <source>Tasks (VTODO), not imported: %1</source>
        <translation>Aufgaben (VTODO), nicht importiert: %1</translation>
    </message>
    <message>
        <source>Quick &amp;Add…</source>
        <translation>&amp;Schnelleingabe…</translation>
    </message>
    <message>
        <source>Reminders can&apos;t be shown: the desktop has no notification service and no tray.</source>
        <translation>Erinnerungen können nicht angezeigt werden: Der Desktop hat weder einen Benachrichtigungsdienst noch einen Infobereich.</translation>
    </message>
</context>
<context>
    <name>ManageFiltersDialog</name>
    <message>
        <source>Pattern</source>
        <translation>Muster</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
    <message>
        <source>Specific</source>
        <translation>Bestimmt</translation>
    </message>
    <message>
        <source>All-day</source>
        <translation>Ganztägig</translation>
    </message>
    <message>
        <source>Hide</source>
        <translation>Ausblenden</translation>
    </message>
    <message>
        <source>Dim</source>
        <translation>Abschwächen</translation>
    </message>
    <message>
        <source>Manage Filters</source>
        <translation>Filter verwalten</translation>
    </message>
    <message>
        <source>Filters</source>
        <translation>Filter</translation>
    </message>
    <message>
        <source>Toggle the checkbox to enable / disable a filter. Drag a row to change priority (top of the list applies first). Use Edit to change conditions or Delete to remove it.</source>
        <translation>Mit dem Kästchen schalten Sie einen Filter ein oder aus. Ziehen Sie eine Zeile, um die Reihenfolge zu ändern (oben gilt zuerst). Mit „Bearbeiten“ ändern Sie die Bedingungen, mit „Löschen“ entfernen Sie den Filter.</translation>
    </message>
    <message>
        <source>Add filter…</source>
        <translation>Filter hinzufügen…</translation>
    </message>
    <message>
        <source>(no filters yet)</source>
        <translation>(noch keine Filter)</translation>
    </message>
    <message>
        <source>Delete filter?</source>
        <translation>Filter löschen?</translation>
    </message>
    <message>
        <source>Delete &quot;%1&quot;? You can recreate it later.</source>
        <translation>„%1“ löschen? Sie können ihn später neu anlegen.</translation>
    </message>
    <message>
        <source>Database Error</source>
        <translation>Datenbankfehler</translation>
    </message>
    <message>
        <source>Could not delete the filter.</source>
        <translation>Der Filter konnte nicht gelöscht werden.</translation>
    </message>
    <message>
        <source>Could not save the filter.</source>
        <translation>Der Filter konnte nicht gespeichert werden.</translation>
    </message>
    <message>
        <source>Could not save the order of the filters.</source>
        <translation>Die Reihenfolge der Filter konnte nicht gespeichert werden.</translation>
    </message>
</context>
<context>
    <name>ManageTemplatesDialog</name>
    <message>
        <source>Event Templates</source>
        <translation>Terminvorlagen</translation>
    </message>
    <message>
        <source>Templates pre-fill the new-event form. Double-click to edit.</source>
        <translation>Vorlagen füllen das Formular für neue Termine vor. Zum Bearbeiten doppelklicken.</translation>
    </message>
    <message>
        <source>Add…</source>
        <translation>Hinzufügen…</translation>
    </message>
    <message>
        <source>Edit…</source>
        <translation>Bearbeiten…</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>(no title)</source>
        <translation>(kein Titel)</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>Delete template?</source>
        <translation>Vorlage löschen?</translation>
    </message>
    <message>
        <source>Delete the template &quot;%1&quot;? Events already created from it are unaffected.</source>
        <translation>Die Vorlage „%1“ löschen? Bereits daraus erstellte Termine bleiben unverändert.</translation>
    </message>
    <message>
        <source>Database Error</source>
        <translation>Datenbankfehler</translation>
    </message>
    <message>
        <source>Could not save the template.</source>
        <translation>Die Vorlage konnte nicht gespeichert werden.</translation>
    </message>
    <message>
        <source>Could not delete the template.</source>
        <translation>Die Vorlage konnte nicht gelöscht werden.</translation>
    </message>
</context>
<context>
    <name>ManageViewsDialog</name>
    <message>
        <source>Manage Calendar Groups</source>
        <translation>Kalendergruppen verwalten</translation>
    </message>
    <message>
        <source>Calendar Groups</source>
        <translation>Kalendergruppen</translation>
    </message>
    <message>
        <source>Drag a row to change the order groups appear in the picker. Use Edit to change which calendars a group includes, or Delete to remove a group.</source>
        <translation>Ziehen Sie eine Zeile, um die Reihenfolge der Gruppen in der Auswahl zu ändern. Mit „Bearbeiten“ legen Sie fest, welche Kalender eine Gruppe umfasst, mit „Löschen“ entfernen Sie eine Gruppe.</translation>
    </message>
    <message>
        <source>Add group…</source>
        <translation>Gruppe hinzufügen…</translation>
    </message>
    <message>
        <source>(no groups yet)</source>
        <translation>(noch keine Gruppen)</translation>
    </message>
    <message>
        <source>Built-in group</source>
        <translation>Eingebaute Gruppe</translation>
    </message>
    <message>
        <source>&quot;All Calendars&quot; is the fallback group. It can be renamed but not deleted.</source>
        <translation>„Alle Kalender“ ist die Standardgruppe. Sie kann umbenannt, aber nicht gelöscht werden.</translation>
    </message>
    <message>
        <source>Delete group?</source>
        <translation>Gruppe löschen?</translation>
    </message>
    <message>
        <source>Delete &quot;%1&quot;? You can recreate it later.</source>
        <translation>„%1“ löschen? Sie können sie später neu anlegen.</translation>
    </message>
    <message>
        <source>Database Error</source>
        <translation>Datenbankfehler</translation>
    </message>
    <message>
        <source>Could not delete the group.</source>
        <translation>Die Gruppe konnte nicht gelöscht werden.</translation>
    </message>
    <message>
        <source>Could not save the order of the groups.</source>
        <translation>Die Reihenfolge der Gruppen konnte nicht gespeichert werden.</translation>
    </message>
</context>
<context>
    <name>NotificationService</name>
    <message>
        <location filename="../../app/notificationservice.cpp" line="+69"/>
        <source>%1, all day</source>
        <translation>%1, ganztägig</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Starting now (%1)</source>
        <translation>Beginnt jetzt (%1)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Tomorrow at %1</source>
        <translation>Morgen um %1</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 at %2</source>
        <translation>%1 um %2</translation>
    </message>
    <message>
        <location line="+62"/>
        <source>Reminder</source>
        <translation>Erinnerung</translation>
    </message>
    <message>
        <location line="+54"/>
        <source>Test reminder</source>
        <translation>Testerinnerung</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>If you can see this, your desktop notifications are wired up correctly. Real reminders look just like this one.</source>
        <translation>Wenn Sie dies sehen, funktionieren Ihre Desktop-Benachrichtigungen. Echte Erinnerungen sehen genauso aus.</translation>
    </message>
    <message numerus="yes">
        <source>In %n minute(s) (%1)</source>
        <translation>
            <numerusform>In %n Minute (%1)</numerusform>
            <numerusform>In %n Minuten (%1)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>In %nh (%1)</source>
        <translation>
            <numerusform>In %n Std. (%1)</numerusform>
            <numerusform>In %n Std. (%1)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>In %nh %1m (%2)</source>
        <translation>
            <numerusform>In %n Std. %1 Min. (%2)</numerusform>
            <numerusform>In %n Std. %1 Min. (%2)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Started %n minute(s) ago (%1)</source>
        <translation>
            <numerusform>Hat vor %n Minute begonnen (%1)</numerusform>
            <numerusform>Hat vor %n Minuten begonnen (%1)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n reminder(s)</source>
        <translation>
            <numerusform>%n Erinnerung</numerusform>
            <numerusform>%n Erinnerungen</numerusform>
        </translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>PreferencesDialog</name>
    <message>
        <location filename="../../mainwindow/preferencesdialog.cpp" line="+25"/>
        <source>Start hidden in the tray</source>
        <translation>Versteckt im Infobereich starten</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Closing the window keeps the calendar in the tray</source>
        <translation>Beim Schließen des Fensters im Infobereich weiterlaufen</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+55"/>
        <source>Start at login</source>
        <translation>Bei der Anmeldung starten</translation>
    </message>
    <message>
        <location line="-53"/>
        <source>Preferences</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>System</source>
        <translation>System</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Light</source>
        <translation>Hell</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Dark</source>
        <translation>Dunkel</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Default</source>
        <translation>Standard</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>Theme:</source>
        <translation>Design:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Accent colour:</source>
        <translation>Akzentfarbe:</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Theme default</source>
        <translation>Design-Standard</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Accent colour</source>
        <translation>Akzentfarbe</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>The start at login setting could not be changed.</source>
        <translation>Die Einstellung „Bei der Anmeldung starten“ konnte nicht geändert werden.</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <location filename="../../core/meetingdescription.cpp" line="+77"/>
        <source>Join Microsoft Teams Meeting</source>
        <translation>An Microsoft Teams-Besprechung teilnehmen</translation>
    </message>
    <message>
        <location filename="../../core/rruleformat.cpp" line="+42"/>
        <source>Repeats daily</source>
        <translation>Täglich</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Every %1 days</source>
        <translation>Alle %1 Tage</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Repeats weekly</source>
        <translation>Wöchentlich</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Every %1 weeks</source>
        <translation>Alle %1 Wochen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Repeats monthly</source>
        <translation>Monatlich</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Every %1 months</source>
        <translation>Alle %1 Monate</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Repeats yearly</source>
        <translation>Jährlich</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Every %1 years</source>
        <translation>Alle %1 Jahre</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Repeats</source>
        <translation>Wiederholt sich</translation>
    </message>
    <message>
        <location line="+53"/>
        <location line="+7"/>
        <source>on the %1 %2</source>
        <translation>am %1 %2</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>on the %1</source>
        <translation>am %1</translation>
    </message>
    <message numerus="yes">
        <location line="+10"/>
        <source>%n time(s)</source>
        <translation>
            <numerusform>%n-mal</numerusform>
            <numerusform>%n-mal</numerusform>
        </translation>
    </message>
    <message>
        <location line="+12"/>
        <source>until %1</source>
        <translation>bis %1</translation>
    </message>
    <message>
        <location line="+29"/>
        <source>At time of event</source>
        <translation>Zu Beginn des Termins</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 min before</source>
        <translation>%1 Min. vorher</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 hour(s) before</source>
        <translation>%1 Std. vorher</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 day(s) before</source>
        <translation>%1 Tag(e) vorher</translation>
    </message>
    <message>
        <location line="+26"/>
        <location line="+9"/>
        <source>%1th</source>
        <translation>%1.</translation>
    </message>
    <message>
        <location line="-6"/>
        <source>%1st</source>
        <translation>%1.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1nd</source>
        <translation>%1.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1rd</source>
        <translation>%1.</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>first</source>
        <translation>ersten</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>second</source>
        <translation>zweiten</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>third</source>
        <translation>dritten</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>fourth</source>
        <translation>vierten</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>fifth</source>
        <translation>fünften</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>last</source>
        <translation>letzten</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>second-to-last</source>
        <translation>vorletzten</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1th-from-last</source>
        <translation>%1.-letzten</translation>
    </message>
    <message>
        <source>Calendar Subscriptions</source>
        <translation>Kalenderabonnements</translation>
    </message>
</context>
<context>
    <name>QuickAddDialog</name>
    <message>
        <source>Quick Add</source>
        <translation>Schnell hinzufügen</translation>
    </message>
    <message>
        <source>Type an event in plain English.</source>
        <translation>Beschreiben Sie einen Termin in einfachem Englisch.</translation>
    </message>
    <message>
        <source>e.g. &quot;lunch Thursday 1pm&quot;</source>
        <translation>z. B. „lunch Thursday 1pm“</translation>
    </message>
    <message>
        <source>Couldn&apos;t save event</source>
        <translation>Termin konnte nicht gespeichert werden</translation>
    </message>
    <message>
        <source>No such date: %1</source>
        <translation>Dieses Datum gibt es nicht: %1</translation>
    </message>
    <message>
        <source>No such time: %1</source>
        <translation>Diese Uhrzeit gibt es nicht: %1</translation>
    </message>
</context>
<context>
    <name>ReadOnlyLock</name>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>RecurrenceEditDialog</name>
    <message>
        <location filename="../../editors/recurrenceeditdialog.cpp" line="+62"/>
        <source>Recurrence</source>
        <translation>Wiederholung</translation>
    </message>
    <message>
        <location line="+49"/>
        <source>Daily</source>
        <translation>Täglich</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Weekly</source>
        <translation>Wöchentlich</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Monthly</source>
        <translation>Monatlich</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Yearly</source>
        <translation>Jährlich</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+261"/>
        <source>Does not repeat</source>
        <translation>Keine Wiederholung</translation>
    </message>
    <message>
        <location line="-260"/>
        <source>Frequency</source>
        <translation>Häufigkeit</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Every</source>
        <translation>Alle</translation>
    </message>
    <message>
        <location line="+24"/>
        <source>M</source>
        <comment>Monday</comment>
        <translation>M</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>T</source>
        <comment>Tuesday</comment>
        <translation>D</translation>
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
        <translation>D</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>F</source>
        <comment>Friday</comment>
        <translation>F</translation>
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
        <translation>S</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>On day of the month</source>
        <translation>Am Tag des Monats</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>of every month</source>
        <translation>jedes Monats</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>On the nth weekday</source>
        <translation>Am n-ten Wochentag</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>first</source>
        <translation>ersten</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>second</source>
        <translation>zweiten</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>third</source>
        <translation>dritten</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>fourth</source>
        <translation>vierten</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>last</source>
        <translation>letzten</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Monday</source>
        <translation>Montag</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Tuesday</source>
        <translation>Dienstag</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Wednesday</source>
        <translation>Mittwoch</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Thursday</source>
        <translation>Donnerstag</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Friday</source>
        <translation>Freitag</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Saturday</source>
        <translation>Samstag</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Sunday</source>
        <translation>Sonntag</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>Never</source>
        <translation>Nie</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>After</source>
        <translation>Nach</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>occurrences</source>
        <translation>Terminen</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>On</source>
        <translation>Am</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Ends</source>
        <translation>Endet</translation>
    </message>
    <message>
        <location line="+132"/>
        <source>day</source>
        <translation>Tag</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>days</source>
        <translation>Tage</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>week</source>
        <translation>Woche</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>weeks</source>
        <translation>Wochen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>month</source>
        <translation>Monat</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>months</source>
        <translation>Monate</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>year</source>
        <translation>Jahr</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>years</source>
        <translation>Jahre</translation>
    </message>
</context>
<context>
    <name>RecurringEditScopeDialog</name>
    <message>
        <location filename="../../mainwindow/recurringeditscopedialog.cpp" line="+14"/>
        <source>Edit Recurring Event</source>
        <translation>Serientermin bearbeiten</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Edit &quot;%1&quot;</source>
        <translation>„%1“ bearbeiten</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>This event repeats. Apply your changes to:</source>
        <translation>Dieser Termin wiederholt sich. Änderungen übernehmen für:</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>This event only</source>
        <translation>Nur dieser Termin</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Only this occurrence is changed; the rest of the series stays as it was.</source>
        <translation>Nur dieser Termin wird geändert; der Rest der Serie bleibt, wie er ist.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>This and following events</source>
        <translation>Dieser und alle folgenden Termine</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>This occurrence and every later one inherit the change. Past occurrences keep their original times.</source>
        <translation>Dieser und alle späteren Termine übernehmen die Änderung. Frühere Termine behalten ihre ursprünglichen Zeiten.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>All events in the series</source>
        <translation>Alle Termine der Serie</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The master event shifts; every occurrence — past and future — moves with it.</source>
        <translation>Der Serientermin wird verschoben; alle Termine – vergangene und künftige – folgen ihm.</translation>
    </message>
    <message>
        <source>Delete Recurring Event</source>
        <translation>Serientermin löschen</translation>
    </message>
    <message>
        <source>Delete &quot;%1&quot;</source>
        <translation>„%1“ löschen</translation>
    </message>
    <message>
        <source>This event repeats. Delete:</source>
        <translation>Dieser Termin wiederholt sich. Löschen:</translation>
    </message>
    <message>
        <source>Only this occurrence is deleted; the rest of the series stays.</source>
        <translation>Nur dieser Termin wird gelöscht; der Rest der Serie bleibt.</translation>
    </message>
    <message>
        <source>This occurrence and every later one are deleted. Past occurrences stay.</source>
        <translation>Dieser und alle späteren Termine werden gelöscht. Frühere Termine bleiben.</translation>
    </message>
    <message>
        <source>Every occurrence — past and future — is deleted.</source>
        <translation>Alle Termine – vergangene und künftige – werden gelöscht.</translation>
    </message>
</context>
<context>
    <name>RruleFormat</name>
    <message>
        <location filename="../../core/rruleformat.cpp" line="-49"/>
        <source>Mon</source>
        <translation>Mo</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Tue</source>
        <translation>Di</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Wed</source>
        <translation>Mi</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Thu</source>
        <translation>Do</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Fri</source>
        <translation>Fr</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Sat</source>
        <translation>Sa</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Sun</source>
        <translation>So</translation>
    </message>
</context>
<context>
    <name>SearchDialog</name>
    <message>
        <source>Search</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Search events by title, location, or notes…</source>
        <translation>Termine nach Titel, Ort oder Notizen suchen…</translation>
    </message>
    <message>
        <source>Range:</source>
        <translation>Zeitraum:</translation>
    </message>
    <message>
        <source>All time</source>
        <translation>Gesamter Zeitraum</translation>
    </message>
    <message>
        <source>Past 30 days</source>
        <translation>Letzte 30 Tage</translation>
    </message>
    <message>
        <source>Past 90 days</source>
        <translation>Letzte 90 Tage</translation>
    </message>
    <message>
        <source>Next 30 days</source>
        <translation>Nächste 30 Tage</translation>
    </message>
    <message>
        <source>Next 12 months</source>
        <translation>Nächste 12 Monate</translation>
    </message>
    <message>
        <source>Calendars</source>
        <translation>Kalender</translation>
    </message>
    <message>
        <source>Type to search.</source>
        <translation>Tippen Sie, um zu suchen.</translation>
    </message>
    <message>
        <source>%1 (all day)</source>
        <translation>%1 (ganztägig)</translation>
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
        <translation>Weiter tippen…</translation>
    </message>
    <message numerus="yes">
        <source>%n result(s).</source>
        <translation>
            <numerusform>%n Ergebnis.</numerusform>
            <numerusform>%n Ergebnisse.</numerusform>
        </translation>
    </message>
    <message>
        <source>No matches in this range.</source>
        <translation>Keine Treffer in diesem Zeitraum.</translation>
    </message>
    <message>
        <source>(Untitled)</source>
        <translation>(Ohne Titel)</translation>
    </message>
</context>
<context>
    <name>StoreFailureText</name>
    <message>
        <source>could not save: the disk is full</source>
        <translation>Speichern nicht möglich: Der Datenträger ist voll</translation>
    </message>
    <message>
        <source>could not save: the calendar database is read-only</source>
        <translation>Speichern nicht möglich: Die Kalenderdatenbank ist schreibgeschützt</translation>
    </message>
    <message>
        <source>could not save: the calendar database is locked by another program</source>
        <translation>Speichern nicht möglich: Die Kalenderdatenbank ist von einem anderen Programm gesperrt</translation>
    </message>
    <message>
        <source>could not save: an import is running; try again when it has finished</source>
        <translation>Speichern nicht möglich: Ein Import läuft; bitte versuchen Sie es nach dessen Ende erneut</translation>
    </message>
</context>
<context>
    <name>TaskDetailsPopover</name>
    <message>
        <location filename="../../mainwindow/taskdetailspopover.cpp" line="+22"/>
        <source>Due %1</source>
        <translation>Fällig: %1</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Completed</source>
        <translation>Erledigt</translation>
    </message>
</context>
<context>
    <name>TemplateEditorDialog</name>
    <message>
        <source>New Template</source>
        <translation>Neue Vorlage</translation>
    </message>
    <message>
        <source>Edit Template</source>
        <translation>Vorlage bearbeiten</translation>
    </message>
    <message>
        <source>At time of event</source>
        <translation>Zum Zeitpunkt des Termins</translation>
    </message>
    <message numerus="yes">
        <source>%n minute(s) before</source>
        <translation>
            <numerusform>%n Minute vorher</numerusform>
            <numerusform>%n Minuten vorher</numerusform>
        </translation>
    </message>
    <message>
        <source>1 hour before</source>
        <translation>1 Stunde vorher</translation>
    </message>
    <message numerus="yes">
        <source>%n day(s) before</source>
        <translation>
            <numerusform>%n Tag vorher</numerusform>
            <numerusform>%n Tage vorher</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n hour(s) before</source>
        <translation>
            <numerusform>%n Stunde vorher</numerusform>
            <numerusform>%n Stunden vorher</numerusform>
        </translation>
    </message>
    <message>
        <source>Template name</source>
        <translation>Vorlagenname</translation>
    </message>
    <message>
        <source>e.g., Standup, Doctor visit</source>
        <translation>z. B. Standup, Arztbesuch</translation>
    </message>
    <message>
        <source>Event title</source>
        <translation>Termintitel</translation>
    </message>
    <message>
        <source>Event title shown on the calendar</source>
        <translation>Im Kalender angezeigter Termintitel</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Beschreibung</translation>
    </message>
    <message>
        <source>Location</source>
        <translation>Ort</translation>
    </message>
    <message>
        <source>Optional location</source>
        <translation>Optionaler Ort</translation>
    </message>
    <message>
        <source>Use calendar color</source>
        <translation>Kalenderfarbe verwenden</translation>
    </message>
    <message>
        <source>Color</source>
        <translation>Farbe</translation>
    </message>
    <message>
        <source>(use default)</source>
        <translation>(Standard verwenden)</translation>
    </message>
    <message>
        <source>Calendar</source>
        <translation>Kalender</translation>
    </message>
    <message>
        <source>All-day event</source>
        <translation>Ganztägiger Termin</translation>
    </message>
    <message>
        <source>h</source>
        <translation> Std.</translation>
    </message>
    <message>
        <source>m</source>
        <translation> Min.</translation>
    </message>
    <message>
        <source>Default duration</source>
        <translation>Standarddauer</translation>
    </message>
    <message>
        <source>Recurrence</source>
        <translation>Wiederholung</translation>
    </message>
    <message>
        <source>Reminders</source>
        <translation>Erinnerungen</translation>
    </message>
    <message>
        <source>+ Add reminder</source>
        <translation>+ Erinnerung hinzufügen</translation>
    </message>
    <message>
        <source>No reminders</source>
        <translation>Keine Erinnerungen</translation>
    </message>
    <message>
        <source>Remove reminder</source>
        <translation>Erinnerung entfernen</translation>
    </message>
    <message>
        <source>Inherits the calendar&apos;s color. Click to override.</source>
        <translation>Übernimmt die Farbe des Kalenders. Zum Ändern klicken.</translation>
    </message>
    <message>
        <source>%1, click to change.</source>
        <translation>%1, zum Ändern klicken.</translation>
    </message>
    <message>
        <source>Does not repeat</source>
        <translation>Keine Wiederholung</translation>
    </message>
    <message>
        <source>Template color</source>
        <translation>Vorlagenfarbe</translation>
    </message>
    <message>
        <source>Missing name</source>
        <translation>Name fehlt</translation>
    </message>
    <message>
        <source>Give this template a name so you can pick it later.</source>
        <translation>Geben Sie der Vorlage einen Namen, damit Sie sie später auswählen können.</translation>
    </message>
    <message>
        <source>Missing event title</source>
        <translation>Termintitel fehlt</translation>
    </message>
    <message>
        <source>Set the event title. That&apos;s what events created from this template will be called.</source>
        <translation>Legen Sie den Termintitel fest. So heißen die Termine, die aus dieser Vorlage erstellt werden.</translation>
    </message>
</context>
<context>
    <name>TolmUpdate::UpdateDialog</name>
    <message>
        <location filename="../../update/updatedialog.cpp" line="+34"/>
        <source>Update available</source>
        <translation>Aktualisierung verfügbar</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 %2 is available.</source>
        <translation>%1 %2 ist verfügbar.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>You have version %1.</source>
        <translation>Sie haben Version %1.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>This update is required.</source>
        <translation>Diese Aktualisierung ist erforderlich.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Version:</source>
        <translation>Version:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Released:</source>
        <translation>Veröffentlicht:</translation>
    </message>
    <message>
        <location line="+3"/>
        <location line="+3"/>
        <source>Unknown</source>
        <translation>Unbekannt</translation>
    </message>
    <message>
        <location line="-1"/>
        <source>Download size:</source>
        <translation>Downloadgröße:</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Release notes</source>
        <translation>Versionshinweise</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Download</source>
        <translation>Herunterladen</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Later</source>
        <translation>Später</translation>
    </message>
</context>
<context>
    <name>TrayManager</name>
    <message>
        <location filename="../../app/traymanager.cpp" line="+57"/>
        <source>&amp;Show Calendar</source>
        <translation>&amp;Kalender anzeigen</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Sync &amp;Now</source>
        <translation>&amp;Jetzt synchronisieren</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <location line="+85"/>
        <source>Quillmarten Calendar — Last sync failed</source>
        <translation>Quillmarten Calendar — Letzte Synchronisierung fehlgeschlagen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Quillmarten Calendar — Sync failed: %1</source>
        <translation>Quillmarten Calendar — Synchronisierung fehlgeschlagen: %1</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Quillmarten Calendar — No upcoming events</source>
        <translation>Quillmarten Calendar — Keine anstehenden Termine</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Untitled</source>
        <translation>Ohne Titel</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>today</source>
        <translation>heute</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>tomorrow</source>
        <translation>morgen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Quillmarten Calendar — Next: %1 (%2, all day)</source>
        <translation>Quillmarten Calendar — Als Nächstes: %1 (%2, ganztägig)</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>at %1</source>
        <translation>um %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>tomorrow at %1</source>
        <translation>morgen um %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 %2</source>
        <translation>%1 %2</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Quillmarten Calendar — Next: %1 %2</source>
        <translation>Quillmarten Calendar — Als Nächstes: %1 %2</translation>
    </message>
    <message>
        <source>&amp;Quick Add…</source>
        <translation>&amp;Schnell hinzufügen…</translation>
    </message>
</context>
<context>
    <name>TrayTime</name>
    <message>
        <location filename="../../app/traytime.cpp" line="+15"/>
        <source>Today</source>
        <translation>Heute</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Tomorrow</source>
        <translation>Morgen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Yesterday</source>
        <translation>Gestern</translation>
    </message>
</context>
<context>
    <name>ViewFormDialog</name>
    <message>
        <source>Every calendar of this group has been deleted, so it shows nothing. Check the calendars it should include; saved without any, it includes every visible calendar.</source>
        <translation>Alle Kalender dieser Gruppe wurden gelöscht, daher zeigt sie nichts an. Wählen Sie die Kalender, die dazugehören sollen; ohne Auswahl gespeichert, umfasst sie alle sichtbaren Kalender.</translation>
    </message>
    <message>
        <source>Add Calendar Group</source>
        <translation>Kalendergruppe hinzufügen</translation>
    </message>
    <message>
        <source>Edit Calendar Group</source>
        <translation>Kalendergruppe bearbeiten</translation>
    </message>
    <message>
        <source>Calendar Groups are saved sets of calendars you switch between. Pick which calendars belong to this group, leave the list empty to include every visible calendar.</source>
        <translation>Kalendergruppen sind gespeicherte Zusammenstellungen von Kalendern, zwischen denen Sie wechseln. Wählen Sie die Kalender dieser Gruppe; bleibt die Liste leer, gehören alle sichtbaren Kalender dazu.</translation>
    </message>
    <message>
        <source>e.g. Work, Personal, Travel</source>
        <translation>z. B. Arbeit, Privat, Reisen</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>&amp;Name:</translation>
    </message>
    <message>
        <source>&amp;Accent:</source>
        <translation>&amp;Akzent:</translation>
    </message>
    <message>
        <source>Calendars:</source>
        <translation>Kalender:</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Create Group</source>
        <translation>Gruppe anlegen</translation>
    </message>
    <message>
        <source>“All Calendars” always covers every visible calendar — its membership can't be edited. Toggle individual calendars from their own menus instead.</source>
        <translation>„Alle Kalender“ umfasst immer alle sichtbaren Kalender – die Zusammenstellung lässt sich nicht bearbeiten. Blenden Sie einzelne Kalender stattdessen über ihre eigenen Menüs ein oder aus.</translation>
    </message>
    <message>
        <source>(no accent)</source>
        <translation>(kein Akzent)</translation>
    </message>
    <message>
        <source>Pick a group accent color</source>
        <translation>Akzentfarbe der Gruppe wählen</translation>
    </message>
    <message>
        <source>Name required</source>
        <translation>Name erforderlich</translation>
    </message>
    <message>
        <source>Please enter a name for the group.</source>
        <translation>Bitte geben Sie einen Namen für die Gruppe ein.</translation>
    </message>
    <message>
        <source>Database Error</source>
        <translation>Datenbankfehler</translation>
    </message>
    <message>
        <source>Could not save the group.</source>
        <translation>Die Gruppe konnte nicht gespeichert werden.</translation>
    </message>
</context>
<context>
    <name>WeekAgenda</name>
    <message numerus="yes">
        <source>At least %Ln more on this day</source>
        <translation>
            <numerusform>Mindestens %Ln weiterer an diesem Tag</numerusform>
            <numerusform>Mindestens %Ln weitere an diesem Tag</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln more on this day</source>
        <translation>
            <numerusform>%Ln weiterer an diesem Tag</numerusform>
            <numerusform>%Ln weitere an diesem Tag</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../mainwindow/weekagenda.cpp" line="+61"/>
        <source>All day</source>
        <translation>Ganztägig</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 – %2</source>
        <translation>%1 – %2</translation>
    </message>
    <message>
        <source>From %1</source>
        <translation>Ab %1</translation>
    </message>
    <message>
        <source>Until %1</source>
        <translation>Bis %1</translation>
    </message>
    <message>
        <source>Continues all day</source>
        <translation>Läuft den ganzen Tag</translation>
    </message>
    <message>
        <location line="+35"/>
        <source>Week of %1</source>
        <translation>Woche vom %1</translation>
    </message>
    <message>
        <location line="+37"/>
        <source>Untitled</source>
        <translation>Ohne Titel</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>No events this week</source>
        <translation>Keine Termine in dieser Woche</translation>
    </message>
</context>
<context>
    <name>WinTrayPopover</name>
    <message>
        <location filename="../../app/wintraypopover.cpp" line="+93"/>
        <source>Group</source>
        <translation>Gruppe</translation>
    </message>
    <message>
        <location line="+50"/>
        <source>Add event — e.g. &quot;lunch Thursday 1pm&quot;</source>
        <translation>Termin hinzufügen (auf Englisch) – z. B. „lunch Thursday 1pm“</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Open Calendar</source>
        <translation>Kalender öffnen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Sync Now</source>
        <translation>Jetzt synchronisieren</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Preferences</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <location line="+96"/>
        <source>No calendars yet</source>
        <translation>Noch keine Kalender</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>No upcoming events</source>
        <translation>Keine anstehenden Termine</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Nothing scheduled in the next 24 hours.</source>
        <translation>In den nächsten 24 Stunden steht nichts an.</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>Today</source>
        <translation>Heute</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>  No more events today</source>
        <translation>  Heute keine weiteren Termine</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Tomorrow</source>
        <translation>Morgen</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>  Nothing scheduled</source>
        <translation>  Nichts geplant</translation>
    </message>
    <message>
        <location line="+27"/>
        <source>Untitled</source>
        <translation>Ohne Titel</translation>
    </message>
    <message>
        <location line="+36"/>
        <location line="+120"/>
        <source>All-day</source>
        <translation>Ganztägig</translation>
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
        <translation>%1, ganztägig</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%1 at %2</source>
        <translation>%1 um %2</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>now</source>
        <translation>jetzt</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>in %1 min</source>
        <translation>in %1 Min.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>in %1h</source>
        <translation>in %1 Std.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>in %1h %2m</source>
        <translation>in %1 Std. %2 Min.</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>(Unnamed)</source>
        <translation>(Unbenannt)</translation>
    </message>
    <message>
        <location line="+28"/>
        <source>Couldn&apos;t save event</source>
        <translation>Termin konnte nicht gespeichert werden</translation>
    </message>
</context>
<context>
    <name>OAuthSignIn</name>
    <message>
        <source>Sign-in cancelled.</source>
        <translation>Anmeldung abgebrochen.</translation>
    </message>
    <message>
        <source>Sign-in state mismatch. The redirect didn't match our request; please try again.</source>
        <translation>Der Anmeldestatus stimmt nicht überein. Die Weiterleitung passte nicht zu unserer Anfrage; bitte versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>Token exchange failed (HTTP %1): %2</source>
        <translation>Tokenaustausch fehlgeschlagen (HTTP %1): %2</translation>
    </message>
</context>
<context>
    <name>Google::AuthService</name>
    <message>
        <source>Google OAuth credentials are not configured in this build. See .env.example.</source>
        <translation>In diesem Build sind keine Google-OAuth-Zugangsdaten konfiguriert. Siehe .env.example.</translation>
    </message>
    <message>
        <source>Could not bind a local port for the Google sign-in callback: %1</source>
        <translation>Für die Google-Anmelderückmeldung konnte kein lokaler Port belegt werden: %1</translation>
    </message>
    <message>
        <source>Could not launch the system browser for Google sign-in.</source>
        <translation>Der Systembrowser für die Google-Anmeldung konnte nicht gestartet werden.</translation>
    </message>
    <message>
        <source>Google denied the sign-in: %1</source>
        <translation>Google hat die Anmeldung abgelehnt: %1</translation>
    </message>
    <message>
        <source>Google did not return an authorization code.</source>
        <translation>Google hat keinen Autorisierungscode zurückgegeben.</translation>
    </message>
    <message>
        <source>Google did not return an access token.</source>
        <translation>Google hat kein Zugriffstoken zurückgegeben.</translation>
    </message>
    <message>
        <source>Google did not return a refresh token. Try removing the app from your Google Account permissions and signing in again.</source>
        <translation>Google hat kein Aktualisierungstoken zurückgegeben. Entfernen Sie die App aus den Berechtigungen Ihres Google-Kontos und melden Sie sich erneut an.</translation>
    </message>
</context>
<context>
    <name>Microsoft::AuthService</name>
    <message>
        <source>Microsoft OAuth credentials are not configured in this build. See .env.example.</source>
        <translation>In diesem Build sind keine Microsoft-OAuth-Zugangsdaten konfiguriert. Siehe .env.example.</translation>
    </message>
    <message>
        <source>Could not bind a local port for the Microsoft sign-in callback: %1</source>
        <translation>Für die Microsoft-Anmelderückmeldung konnte kein lokaler Port belegt werden: %1</translation>
    </message>
    <message>
        <source>Could not launch the system browser for Microsoft sign-in.</source>
        <translation>Der Systembrowser für die Microsoft-Anmeldung konnte nicht gestartet werden.</translation>
    </message>
    <message>
        <source>Microsoft denied the sign-in: %1</source>
        <translation>Microsoft hat die Anmeldung abgelehnt: %1</translation>
    </message>
    <message>
        <source>Microsoft did not return an authorization code.</source>
        <translation>Microsoft hat keinen Autorisierungscode zurückgegeben.</translation>
    </message>
    <message>
        <source>Microsoft did not return an access token.</source>
        <translation>Microsoft hat kein Zugriffstoken zurückgegeben.</translation>
    </message>
    <message>
        <source>Microsoft did not return a refresh token. Verify offline_access is in the scopes configured for this app.</source>
        <translation>Microsoft hat kein Aktualisierungstoken zurückgegeben. Prüfen Sie, ob offline_access zu den für diese App konfigurierten Bereichen gehört.</translation>
    </message>
</context>
<context>
    <name>Google::SyncClient</name>
    <message>
        <source>The event could not be stored here.</source>
        <translation>Das Ereignis konnte hier nicht gespeichert werden.</translation>
    </message>
</context>
<context>
    <name>ProviderEvents</name>
    <message>
        <source>The service cannot repeat an event more often than daily.</source>
        <translation>Der Dienst kann ein Ereignis nicht öfter als täglich wiederholen.</translation>
    </message>
    <message>
        <source>The end of the repetition cannot be read.</source>
        <translation>Das Ende der Wiederholung ist nicht lesbar.</translation>
    </message>
</context>
<context>
    <name>ProviderProblems</name>
    <message numerus="yes">
        <source>%n item(s) could not be synced</source>
        <translation>
            <numerusform>%n Element konnte nicht synchronisiert werden</numerusform>
            <numerusform>%n Elemente konnten nicht synchronisiert werden</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>DesktopNotifications</name>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
</context>
<context>
    <name>Webcal::SyncClient</name>
    <message numerus="yes">
        <source>%n event(s) of the subscription could not be stored</source>
        <translation>
            <numerusform>%n Termin des Abonnements konnte nicht gespeichert werden</numerusform>
            <numerusform>%n Termine des Abonnements konnten nicht gespeichert werden</numerusform>
        </translation>
    </message>
</context>
</TS>
