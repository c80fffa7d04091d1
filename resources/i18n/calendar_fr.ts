<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
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
</context>
<context>
    <name>CalDavDiscovery</name>
    <message>
        <location filename="../../sync/caldav/caldavdiscovery.cpp" line="+30"/>
        <source>Enter a CalDAV URL starting with http:// or https://</source>
        <translation>Saisissez une URL CalDAV commençant par http:// ou https://</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Could not reach the server: %1</source>
        <translation>Impossible de joindre le serveur&#xa0;: %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The server rejected the username or password.</source>
        <translation>Le serveur a refusé le nom d&apos;utilisateur ou le mot de passe.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Server returned HTTP %1 during principal discovery.</source>
        <translation>Le serveur a renvoyé HTTP %1 lors de la recherche du principal.</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Lost connection during calendar-home-set discovery: %1</source>
        <translation>Connexion perdue lors de la recherche du calendar-home-set&#xa0;: %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Server returned HTTP %1 during home-set discovery.</source>
        <translation>Le serveur a renvoyé HTTP %1 lors de la recherche du home-set.</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Lost connection during calendar enumeration: %1</source>
        <translation>Connexion perdue lors de l&apos;énumération des calendriers&#xa0;: %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Server returned HTTP %1 during calendar enumeration.</source>
        <translation>Le serveur a renvoyé HTTP %1 lors de l&apos;énumération des calendriers.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>No calendars found at the discovered home set.</source>
        <translation>Aucun calendrier trouvé dans le home-set détecté.</translation>
    </message>
</context>
<context>
    <name>CalDavSyncClient</name>
    <message>
        <location filename="../../sync/caldav/caldaveventpush.cpp" line="+24"/>
        <source>Server returned HTTP %1 pushing &quot;%2&quot;</source>
        <translation>Le serveur a renvoyé HTTP %1 lors de l&apos;envoi de «&#xa0;%2&#xa0;»</translation>
    </message>
    <message>
        <location line="+105"/>
        <location line="+46"/>
        <source>Push error: %1</source>
        <translation>Erreur d&apos;envoi&#xa0;: %1</translation>
    </message>
    <message>
        <location filename="../../sync/caldav/caldavsyncclient.cpp" line="+17"/>
        <source>The local database is not open.</source>
        <translation>La base de données locale n&apos;est pas ouverte.</translation>
    </message>
    <message>
        <location filename="../../sync/caldav/caldavsyncrun.cpp" line="+48"/>
        <location line="+26"/>
        <source>Network error: %1</source>
        <translation>Erreur réseau&#xa0;: %1</translation>
    </message>
    <message>
        <location line="-22"/>
        <source>Server returned HTTP %1 during ctag check</source>
        <translation>Le serveur a renvoyé HTTP %1 lors de la vérification du ctag</translation>
    </message>
    <message>
        <location line="+24"/>
        <source>Server returned HTTP %1</source>
        <translation>Le serveur a renvoyé HTTP %1</translation>
    </message>
    <message>
        <location line="+111"/>
        <source>Network error during task pull: %1</source>
        <translation>Erreur réseau lors de la récupération des tâches&#xa0;: %1</translation>
    </message>
    <message numerus="yes">
        <location line="+31"/>
        <source>%n item(s) could not be synced</source>
        <translation>
            <numerusform>%n élément n&apos;a pas pu être synchronisé</numerusform>
            <numerusform>%n éléments n&apos;ont pas pu être synchronisés</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../sync/caldav/caldavtaskpush.cpp" line="+71"/>
        <source>Task push error: %1</source>
        <translation>Erreur d&apos;envoi de la tâche&#xa0;: %1</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>Server returned HTTP %1 pushing task &quot;%2&quot;</source>
        <translation>Le serveur a renvoyé HTTP %1 lors de l&apos;envoi de la tâche «&#xa0;%2&#xa0;»</translation>
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
        <location line="+10"/>
        <source>Deleted &quot;%1&quot;</source>
        <translation>Suppression de «&#xa0;%1&#xa0;»</translation>
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
    <name>MainWindow</name>
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
        <location line="+2"/>
        <source>&amp;Quick Add…</source>
        <translation>Ajout &amp;rapide…</translation>
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
    <message numerus="yes">
        <location filename="../../sync/caldav/synccoordinator.cpp" line="+152"/>
        <source>Discovered %n new calendar(s).</source>
        <translation>
            <numerusform>%n nouveau calendrier découvert.</numerusform>
            <numerusform>%n nouveaux calendriers découverts.</numerusform>
        </translation>
    </message>
    <message>
        <location line="+75"/>
        <source>Synced %1 events</source>
        <translation>%1 événements synchronisés</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Synced %1 events; %2</source>
        <translation>%1 événements synchronisés ; %2</translation>
    </message>
</context>
<context>
    <name>Microsoft::CalendarClient</name>
    <message>
        <location filename="../../sync/providers/microsoftcalendarclient.cpp" line="+1"/>
        <source>No Microsoft access token available.</source>
        <translation>Aucun jeton d’accès Microsoft disponible.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Microsoft rejected /me/calendars (HTTP %1): %2</source>
        <translation>Microsoft a refusé /me/calendars (HTTP %1) : %2</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Microsoft sent a link outside its API; the listing was stopped.</source>
        <translation>Microsoft a envoyé un lien hors de son API ; la liste a été interrompue.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Microsoft's listing did not end; it was stopped.</source>
        <translation>La liste de Microsoft ne se terminait pas ; elle a été interrompue.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Microsoft rejected events list (HTTP %1): %2</source>
        <translation>Microsoft a refusé la liste des événements (HTTP %1) : %2</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>No Microsoft access token.</source>
        <translation>Aucun jeton d’accès Microsoft.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Microsoft rejected events.insert: %1</source>
        <translation>Microsoft a refusé events.insert : %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Microsoft rejected events.update: %1</source>
        <translation>Microsoft a refusé events.update : %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Microsoft rejected events.delete: %1</source>
        <translation>Microsoft a refusé events.delete : %1</translation>
    </message>
</context>
<context>
    <name>Microsoft::SyncClient</name>
    <message>
        <location filename="../../sync/providers/microsoftsyncclient.cpp" line="+1"/>
        <source>Parent account missing</source>
        <translation>Compte parent introuvable</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>No saved Microsoft credentials. Sign in again.</source>
        <translation>Aucun identifiant Microsoft enregistré. Reconnectez-vous.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Microsoft token refresh failed: %1</source>
        <translation>Échec du renouvellement du jeton Microsoft : %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Microsoft refused the listing's delta token again.</source>
        <translation>Microsoft a de nouveau refusé le jeton delta de la liste.</translation>
    </message>
    <message numerus="yes">
        <location line="+1"/>
        <source>%n event(s) failed to save locally; will retry next sync.</source>
        <translation>
            <numerusform>%n événement n’a pas pu être enregistré localement ; nouvel essai à la prochaine synchronisation.</numerusform>
            <numerusform>%n événements n’ont pas pu être enregistrés localement ; nouvel essai à la prochaine synchronisation.</numerusform>
        </translation>
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
        <source>In %1 minutes (%2)</source>
        <translation>Dans %1 minutes (%2)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>In %1h (%2)</source>
        <translation>Dans %1 h (%2)</translation>
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
        <location filename="../../editors/recurringeditscopedialog.cpp" line="+14"/>
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
    <name>WeekAgenda</name>
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
        <location line="+41"/>
        <source>No such date</source>
        <translation>Cette date n&apos;existe pas</translation>
    </message>
    <message>
        <location line="+28"/>
        <source>Couldn&apos;t save event</source>
        <translation>Impossible d&apos;enregistrer l&apos;événement</translation>
    </message>
</context>
</TS>
