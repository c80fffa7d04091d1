<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES">
<context>
    <name>Application</name>
    <message>
        <location filename="../../app/application.cpp" line="+131"/>
        <source>Database Error</source>
        <translation>Error de base de datos</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Failed to initialize the database.

Data directory: %1

Please check file permissions and try again.</source>
        <translation>No se pudo inicializar la base de datos.

Carpeta de datos: %1

Compruebe los permisos de los archivos e inténtelo de nuevo.</translation>
    </message>
</context>
<context>
    <name>CalDavClient</name>
    <message>
        <location filename="../../sync/caldav/caldavclient.cpp" line="+207"/>
        <source>Unsupported URL: %1</source>
        <translation>URL no admitida: %1</translation>
    </message>
    <message numerus="yes">
        <location line="+49"/>
        <source>The server did not answer for %n second(s).</source>
        <translation>
            <numerusform>El servidor no respondió durante %n segundo.</numerusform>
            <numerusform>El servidor no respondió durante %n segundos.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CalDavDiscovery</name>
    <message>
        <location filename="../../sync/caldav/caldavdiscovery.cpp" line="+30"/>
        <source>Enter a CalDAV URL starting with http:// or https://</source>
        <translation>Introduzca una URL de CalDAV que empiece por http:// o https://</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Could not reach the server: %1</source>
        <translation>No se pudo conectar con el servidor: %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The server rejected the username or password.</source>
        <translation>El servidor rechazó el nombre de usuario o la contraseña.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Server returned HTTP %1 during principal discovery.</source>
        <translation>El servidor devolvió HTTP %1 al buscar el principal.</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Lost connection during calendar-home-set discovery: %1</source>
        <translation>Se perdió la conexión al buscar el calendar-home-set: %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Server returned HTTP %1 during home-set discovery.</source>
        <translation>El servidor devolvió HTTP %1 al buscar el home-set.</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Lost connection during calendar enumeration: %1</source>
        <translation>Se perdió la conexión al enumerar los calendarios: %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Server returned HTTP %1 during calendar enumeration.</source>
        <translation>El servidor devolvió HTTP %1 al enumerar los calendarios.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>No calendars found at the discovered home set.</source>
        <translation>No hay calendarios en el home-set encontrado.</translation>
    </message>
</context>
<context>
    <name>CalDavSyncClient</name>
    <message>
        <location filename="../../sync/caldav/caldaveventpush.cpp" line="+24"/>
        <source>Server returned HTTP %1 pushing &quot;%2&quot;</source>
        <translation>El servidor devolvió HTTP %1 al enviar «%2»</translation>
    </message>
    <message>
        <location line="+105"/>
        <location line="+46"/>
        <source>Push error: %1</source>
        <translation>Error al enviar: %1</translation>
    </message>
    <message>
        <location filename="../../sync/caldav/caldavsyncclient.cpp" line="+17"/>
        <source>The local database is not open.</source>
        <translation>La base de datos local no está abierta.</translation>
    </message>
    <message>
        <location filename="../../sync/caldav/caldavsyncrun.cpp" line="+48"/>
        <location line="+26"/>
        <source>Network error: %1</source>
        <translation>Error de red: %1</translation>
    </message>
    <message>
        <location line="-22"/>
        <source>Server returned HTTP %1 during ctag check</source>
        <translation>El servidor devolvió HTTP %1 al comprobar el ctag</translation>
    </message>
    <message>
        <location line="+24"/>
        <source>Server returned HTTP %1</source>
        <translation>El servidor devolvió HTTP %1</translation>
    </message>
    <message>
        <location line="+111"/>
        <source>Network error during task pull: %1</source>
        <translation>Error de red al descargar las tareas: %1</translation>
    </message>
    <message numerus="yes">
        <location line="+31"/>
        <source>%n item(s) could not be synced</source>
        <translation>
            <numerusform>No se pudo sincronizar %n elemento</numerusform>
            <numerusform>No se pudieron sincronizar %n elementos</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../sync/caldav/caldavtaskpush.cpp" line="+71"/>
        <source>Task push error: %1</source>
        <translation>Error al enviar la tarea: %1</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>Server returned HTTP %1 pushing task &quot;%2&quot;</source>
        <translation>El servidor devolvió HTTP %1 al enviar la tarea «%2»</translation>
    </message>
</context>
<context>
    <name>EventDetailsPopover</name>
    <message>
        <location filename="../../mainwindow/eventdetailspopover.cpp" line="+48"/>
        <source>(No title)</source>
        <translation>(Sin título)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Repeats</source>
        <translation>Se repite</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>Edit</source>
        <translation>Editar</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Delete</source>
        <translation>Eliminar</translation>
    </message>
    <message>
        <location line="+32"/>
        <source>%1 · All day</source>
        <translation>%1 · Todo el día</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 – %2 · All day</source>
        <translation>%1 – %2 · Todo el día</translation>
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
        <translation>¿Eliminar el evento?</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Delete &quot;%1&quot;? You can undo with %2.</source>
        <translation>¿Eliminar «%1»? Puede deshacerlo con %2.</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Deleted &quot;%1&quot;</source>
        <translation>Eliminación de «%1»</translation>
    </message>
</context>
<context>
    <name>EventFormDialog</name>
    <message>
        <location filename="../../editors/eventformdialog.cpp" line="+115"/>
        <source>Edit Event</source>
        <translation>Editar evento</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>New Event</source>
        <translation>Nuevo evento</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>At time of event</source>
        <translation>A la hora del evento</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>5 minutes before</source>
        <translation>5 minutos antes</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>10 minutes before</source>
        <translation>10 minutos antes</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>15 minutes before</source>
        <translation>15 minutos antes</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>30 minutes before</source>
        <translation>30 minutos antes</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>1 hour before</source>
        <translation>1 hora antes</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>2 hours before</source>
        <translation>2 horas antes</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>1 day before</source>
        <translation>1 día antes</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>2 days before</source>
        <translation>2 días antes</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>1 week before</source>
        <translation>1 semana antes</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 minutes before</source>
        <translation>%1 minutos antes</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 hours before</source>
        <translation>%1 horas antes</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 days before</source>
        <translation>%1 días antes</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Going</source>
        <translation>Asistirá</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Declined</source>
        <translation>Rechazado</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Maybe</source>
        <translation>Quizás</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Delegated</source>
        <translation>Delegado</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>No response</source>
        <translation>Sin respuesta</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>Edit event</source>
        <translation>Editar evento</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>New event</source>
        <translation>Nuevo evento</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>From template…</source>
        <translation>Desde plantilla…</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Update the details below and save to apply.</source>
        <translation>Modifique los datos y guarde para aplicar los cambios.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Fill in the basics. Start time and calendar are required.</source>
        <translation>Rellene lo básico. La hora de inicio y el calendario son obligatorios.</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Lunch with Sam, Sprint planning…</source>
        <translation>Comida con Sam, Planificación del sprint…</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Title</source>
        <translation>&amp;Título</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>&amp;Calendar</source>
        <translation>&amp;Calendario</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Use calendar color</source>
        <translation>Usar el color del calendario</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Color</source>
        <translation>Color</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>&amp;Starts</source>
        <translation>&amp;Inicio</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>&amp;Ends</source>
        <translation>&amp;Fin</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>All day</source>
        <translation>Todo el día</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>&amp;Repeats</source>
        <translation>&amp;Repetir</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>+ Add reminder</source>
        <translation>+ Añadir recordatorio</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Re&amp;minders</source>
        <translation>Recor&amp;datorios</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Address, room, or video link</source>
        <translation>Dirección, sala o enlace de vídeo</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Location</source>
        <translation>&amp;Ubicación</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Notes, agenda, links…</source>
        <translation>Notas, orden del día, enlaces…</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;Notes</source>
        <translation>&amp;Notas</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>+ Add attendee</source>
        <translation>+ Añadir asistente</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Attendees</source>
        <translation>Asistentes</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Save changes</source>
        <translation>Guardar cambios</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Create event</source>
        <translation>Crear evento</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <location line="+123"/>
        <source>Inheriting calendar color (%1). Click to override.</source>
        <translation>Se usa el color del calendario (%1). Haga clic para cambiarlo.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Custom color (%1). Click to change.</source>
        <translation>Color personalizado (%1). Haga clic para cambiarlo.</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Event color</source>
        <translation>Color del evento</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Does not repeat</source>
        <translation>No se repite</translation>
    </message>
    <message>
        <location line="+85"/>
        <source>Name</source>
        <translation>Nombre</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>name@example.com</source>
        <translation>nombre@example.com</translation>
    </message>
    <message>
        <location line="+30"/>
        <source>No templates</source>
        <translation>No hay plantillas</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>You haven&apos;t created any event templates yet. Open Tools → Manage Templates to create one.</source>
        <translation>Aún no ha creado ninguna plantilla de evento. Abra Herramientas → Gestionar plantillas para crear una.</translation>
    </message>
    <message>
        <location line="+50"/>
        <source>Title required</source>
        <translation>Falta el título</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Please enter a title for the event.</source>
        <translation>Introduzca un título para el evento.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>No calendars</source>
        <translation>No hay calendarios</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Create a calendar first.</source>
        <translation>Cree primero un calendario.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>End before start</source>
        <translation>Fin anterior al inicio</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>The end time is earlier than the start time.</source>
        <translation>La hora de fin es anterior a la de inicio.</translation>
    </message>
    <message>
        <location line="+66"/>
        <source>Database Error</source>
        <translation>Error de base de datos</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Could not save the event.</source>
        <translation>No se pudo guardar el evento.</translation>
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
        <translation>Deshecho: %1</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>%1 presented a certificate that is not trusted; its calendars were not synced.</source>
        <translation>%1 presentó un certificado que no es de confianza; sus calendarios no se sincronizaron.</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>&amp;File</source>
        <translation>&amp;Archivo</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>New &amp;Event…</source>
        <translation>Nuevo &amp;evento…</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Quick Add…</source>
        <translation>Añadido &amp;rápido…</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Import .ics…</source>
        <translation>&amp;Importar .ics…</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;Preferences…</source>
        <translation>&amp;Preferencias…</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>&amp;Quit</source>
        <translation>&amp;Salir</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>&amp;Edit</source>
        <translation>&amp;Editar</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Undo</source>
        <translation>&amp;Deshacer</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>&amp;View</source>
        <translation>&amp;Ver</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Today</source>
        <translation>&amp;Hoy</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;Sync</source>
        <translation>&amp;Sincronizar</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Sync &amp;Now</source>
        <translation>Sincronizar &amp;ahora</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Send Test &amp;Notification</source>
        <translation>Enviar &amp;notificación de prueba</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Fire a sample reminder toast to verify your desktop notification setup.</source>
        <translation>Muestra un recordatorio de ejemplo para comprobar las notificaciones del escritorio.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>&amp;Developer</source>
        <translation>&amp;Desarrollador</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Load Sample &amp;Data</source>
        <translation>Cargar &amp;datos de ejemplo</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Clear Sample Data</source>
        <translation>&amp;Borrar datos de ejemplo</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>&amp;Help</source>
        <translation>Ay&amp;uda</translation>
    </message>
    <message>
        <location line="+28"/>
        <source>Added: %1</source>
        <translation>Añadido: %1</translation>
    </message>
    <message>
        <location line="+29"/>
        <source>No calendars</source>
        <translation>No hay calendarios</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>There is no calendar to add an event to.</source>
        <translation>No hay ningún calendario en el que añadir el evento.</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Quick-add ignored: no calendars configured.</source>
        <translation>Añadido rápido ignorado: no hay calendarios configurados.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Quick-add couldn&apos;t parse: &quot;%1&quot;</source>
        <translation>Añadido rápido: no se pudo interpretar «%1»</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Import ignored: no calendars configured.</source>
        <translation>Importación ignorada: no hay calendarios configurados.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Import failed</source>
        <translation>Error al importar</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Couldn&apos;t read &quot;%1&quot;.</source>
        <translation>No se pudo leer «%1».</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>No events found in %1</source>
        <translation>No se encontraron eventos en %1</translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>Imported %n event(s) from %1</source>
        <translation>
            <numerusform>Se importó %n evento de %1</numerusform>
            <numerusform>Se importaron %n eventos de %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>Imported %n event(s) from %1; %2 could not be stored</source>
        <translation>
            <numerusform>Se importó %n evento de %1; no se pudieron guardar %2</numerusform>
            <numerusform>Se importaron %n eventos de %1; no se pudieron guardar %2</numerusform>
        </translation>
    </message>
    <message>
        <location line="+70"/>
        <location line="+6"/>
        <source>Quick Add</source>
        <translation>Añadido rápido</translation>
    </message>
    <message>
        <location line="-6"/>
        <source>Describe the event, e.g. &quot;Lunch with Sam tomorrow 12:30&quot;:</source>
        <translation>Describa el evento en inglés, p. ej., «Lunch with Sam tomorrow 12:30»:</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Couldn&apos;t save event</source>
        <translation>No se pudo guardar el evento</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Import .ics</source>
        <translation>Importar .ics</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>iCalendar files (*.ics);;All files (*)</source>
        <translation>Archivos iCalendar (*.ics);;Todos los archivos (*)</translation>
    </message>
    <message numerus="yes">
        <location line="+14"/>
        <source>Loaded %n sample row(s).</source>
        <translation>
            <numerusform>Se cargó %n fila de ejemplo.</numerusform>
            <numerusform>Se cargaron %n filas de ejemplo.</numerusform>
        </translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Clear sample data?</source>
        <translation>¿Borrar los datos de ejemplo?</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Remove the sample calendars, events, and tasks? Your real data is untouched.</source>
        <translation>¿Quitar los calendarios, eventos y tareas de ejemplo? Sus datos reales no se tocan.</translation>
    </message>
    <message numerus="yes">
        <location line="+5"/>
        <source>Removed %n sample row(s).</source>
        <translation>
            <numerusform>Se quitó %n fila de ejemplo.</numerusform>
            <numerusform>Se quitaron %n filas de ejemplo.</numerusform>
        </translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Test notification fired</source>
        <translation>Notificación de prueba enviada</translation>
    </message>
    <message numerus="yes">
        <location filename="../../sync/caldav/synccoordinator.cpp" line="+152"/>
        <source>Discovered %n new calendar(s).</source>
        <translation>
            <numerusform>Se encontró %n calendario nuevo.</numerusform>
            <numerusform>Se encontraron %n calendarios nuevos.</numerusform>
        </translation>
    </message>
    <message>
        <location line="+75"/>
        <source>Synced %1 events</source>
        <translation>%1 eventos sincronizados</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Synced %1 events; %2</source>
        <translation>%1 eventos sincronizados; %2</translation>
    </message>
</context>
<context>
    <name>Microsoft::CalendarClient</name>
    <message>
        <location filename="../../sync/providers/microsoftcalendarclient.cpp" line="+1"/>
        <source>No Microsoft access token available.</source>
        <translation>No hay ningún token de acceso de Microsoft.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Microsoft rejected /me/calendars (HTTP %1): %2</source>
        <translation>Microsoft rechazó /me/calendars (HTTP %1): %2</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Microsoft sent a link outside its API; the listing was stopped.</source>
        <translation>Microsoft envió un enlace fuera de su API; se detuvo la consulta.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Microsoft's listing did not end; it was stopped.</source>
        <translation>La lista de Microsoft no terminaba; se detuvo.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Microsoft rejected events list (HTTP %1): %2</source>
        <translation>Microsoft rechazó la lista de eventos (HTTP %1): %2</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>No Microsoft access token.</source>
        <translation>No hay token de acceso de Microsoft.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Microsoft rejected events.insert: %1</source>
        <translation>Microsoft rechazó events.insert: %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Microsoft rejected events.update: %1</source>
        <translation>Microsoft rechazó events.update: %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Microsoft rejected events.delete: %1</source>
        <translation>Microsoft rechazó events.delete: %1</translation>
    </message>
</context>
<context>
    <name>Microsoft::SyncClient</name>
    <message>
        <location filename="../../sync/providers/microsoftsyncclient.cpp" line="+1"/>
        <source>Parent account missing</source>
        <translation>Falta la cuenta principal</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>No saved Microsoft credentials. Sign in again.</source>
        <translation>No hay credenciales de Microsoft guardadas. Vuelva a iniciar sesión.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Microsoft token refresh failed: %1</source>
        <translation>No se pudo renovar el token de Microsoft: %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Microsoft refused the listing's delta token again.</source>
        <translation>Microsoft volvió a rechazar el token delta de la consulta.</translation>
    </message>
    <message numerus="yes">
        <location line="+1"/>
        <source>%n event(s) failed to save locally; will retry next sync.</source>
        <translation>
            <numerusform>%n evento no se pudo guardar localmente; se reintentará en la próxima sincronización.</numerusform>
            <numerusform>%n eventos no se pudieron guardar localmente; se reintentará en la próxima sincronización.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>NotificationService</name>
    <message>
        <location filename="../../app/notificationservice.cpp" line="+69"/>
        <source>%1, all day</source>
        <translation>%1, todo el día</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Starting now (%1)</source>
        <translation>Empieza ahora (%1)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>In %1 minutes (%2)</source>
        <translation>En %1 minutos (%2)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>In %1h (%2)</source>
        <translation>En %1 h (%2)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Tomorrow at %1</source>
        <translation>Mañana a las %1</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 at %2</source>
        <translation>%1 a las %2</translation>
    </message>
    <message>
        <location line="+62"/>
        <source>Reminder</source>
        <translation>Recordatorio</translation>
    </message>
    <message>
        <location line="+54"/>
        <source>Test reminder</source>
        <translation>Recordatorio de prueba</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>If you can see this, your desktop notifications are wired up correctly. Real reminders look just like this one.</source>
        <translation>Si ve este mensaje, las notificaciones del escritorio funcionan correctamente. Los recordatorios reales tienen este mismo aspecto.</translation>
    </message>
</context>
<context>
    <name>PreferencesDialog</name>
    <message>
        <location filename="../../mainwindow/preferencesdialog.cpp" line="+25"/>
        <source>Start hidden in the tray</source>
        <translation>Iniciar oculto en la bandeja</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Closing the window keeps the calendar in the tray</source>
        <translation>Al cerrar la ventana, el calendario sigue en la bandeja</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+55"/>
        <source>Start at login</source>
        <translation>Abrir al iniciar sesión</translation>
    </message>
    <message>
        <location line="-53"/>
        <source>Preferences</source>
        <translation>Preferencias</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>System</source>
        <translation>Sistema</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Light</source>
        <translation>Claro</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Dark</source>
        <translation>Oscuro</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Default</source>
        <translation>Predeterminado</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>Theme:</source>
        <translation>Tema:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Accent colour:</source>
        <translation>Color de acento:</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Theme default</source>
        <translation>Predeterminado del tema</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Accent colour</source>
        <translation>Color de acento</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>The start at login setting could not be changed.</source>
        <translation>No se pudo cambiar la preferencia «Abrir al iniciar sesión».</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <location filename="../../core/meetingdescription.cpp" line="+77"/>
        <source>Join Microsoft Teams Meeting</source>
        <translation>Unirse a la reunión de Microsoft Teams</translation>
    </message>
    <message>
        <location filename="../../core/rruleformat.cpp" line="+42"/>
        <source>Repeats daily</source>
        <translation>Cada día</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Every %1 days</source>
        <translation>Cada %1 días</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Repeats weekly</source>
        <translation>Cada semana</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Every %1 weeks</source>
        <translation>Cada %1 semanas</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Repeats monthly</source>
        <translation>Cada mes</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Every %1 months</source>
        <translation>Cada %1 meses</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Repeats yearly</source>
        <translation>Cada año</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Every %1 years</source>
        <translation>Cada %1 años</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Repeats</source>
        <translation>Se repite</translation>
    </message>
    <message>
        <location line="+53"/>
        <location line="+7"/>
        <source>on the %1 %2</source>
        <translation>el %1 %2</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>on the %1</source>
        <translation>el día %1</translation>
    </message>
    <message numerus="yes">
        <location line="+10"/>
        <source>%n time(s)</source>
        <translation>
            <numerusform>%n vez</numerusform>
            <numerusform>%n veces</numerusform>
        </translation>
    </message>
    <message>
        <location line="+12"/>
        <source>until %1</source>
        <translation>hasta %1</translation>
    </message>
    <message>
        <location line="+29"/>
        <source>At time of event</source>
        <translation>A la hora del evento</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 min before</source>
        <translation>%1 min antes</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 hour(s) before</source>
        <translation>%1 h antes</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 day(s) before</source>
        <translation>%1 día(s) antes</translation>
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
        <translation>primer</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>second</source>
        <translation>segundo</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>third</source>
        <translation>tercer</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>fourth</source>
        <translation>cuarto</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>fifth</source>
        <translation>quinto</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>last</source>
        <translation>último</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>second-to-last</source>
        <translation>penúltimo</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1th-from-last</source>
        <translation>%1.º desde el final</translation>
    </message>
</context>
<context>
    <name>RecurrenceEditDialog</name>
    <message>
        <location filename="../../editors/recurrenceeditdialog.cpp" line="+62"/>
        <source>Recurrence</source>
        <translation>Repetición</translation>
    </message>
    <message>
        <location line="+49"/>
        <source>Daily</source>
        <translation>Diaria</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Weekly</source>
        <translation>Semanal</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Monthly</source>
        <translation>Mensual</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Yearly</source>
        <translation>Anual</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+261"/>
        <source>Does not repeat</source>
        <translation>No se repite</translation>
    </message>
    <message>
        <location line="-260"/>
        <source>Frequency</source>
        <translation>Frecuencia</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Every</source>
        <translation>Cada</translation>
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
        <translation>X</translation>
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
        <translation>El día del mes</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>of every month</source>
        <translation>de cada mes</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>On the nth weekday</source>
        <translation>El enésimo día de la semana</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>first</source>
        <translation>primer</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>second</source>
        <translation>segundo</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>third</source>
        <translation>tercer</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>fourth</source>
        <translation>cuarto</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>last</source>
        <translation>último</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Monday</source>
        <translation>lunes</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Tuesday</source>
        <translation>martes</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Wednesday</source>
        <translation>miércoles</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Thursday</source>
        <translation>jueves</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Friday</source>
        <translation>viernes</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Saturday</source>
        <translation>sábado</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Sunday</source>
        <translation>domingo</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>Never</source>
        <translation>Nunca</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>After</source>
        <translation>Después de</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>occurrences</source>
        <translation>repeticiones</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>On</source>
        <translation>El</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Ends</source>
        <translation>Termina</translation>
    </message>
    <message>
        <location line="+132"/>
        <source>day</source>
        <translation>día</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>days</source>
        <translation>días</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>week</source>
        <translation>semana</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>weeks</source>
        <translation>semanas</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>month</source>
        <translation>mes</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>months</source>
        <translation>meses</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>year</source>
        <translation>año</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>years</source>
        <translation>años</translation>
    </message>
</context>
<context>
    <name>RecurringEditScopeDialog</name>
    <message>
        <location filename="../../editors/recurringeditscopedialog.cpp" line="+14"/>
        <source>Edit Recurring Event</source>
        <translation>Editar evento periódico</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Edit &quot;%1&quot;</source>
        <translation>Editar «%1»</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>This event repeats. Apply your changes to:</source>
        <translation>Este evento se repite. Aplicar los cambios a:</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>This event only</source>
        <translation>Solo este evento</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Only this occurrence is changed; the rest of the series stays as it was.</source>
        <translation>Solo cambia esta repetición; el resto de la serie queda como estaba.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>This and following events</source>
        <translation>Este evento y los siguientes</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>This occurrence and every later one inherit the change. Past occurrences keep their original times.</source>
        <translation>Esta repetición y todas las posteriores reciben el cambio. Las anteriores conservan sus horas originales.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>All events in the series</source>
        <translation>Todos los eventos de la serie</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The master event shifts; every occurrence — past and future — moves with it.</source>
        <translation>Cambia el evento original; todas las repeticiones, pasadas y futuras, se mueven con él.</translation>
    </message>
</context>
<context>
    <name>RruleFormat</name>
    <message>
        <location filename="../../core/rruleformat.cpp" line="-49"/>
        <source>Mon</source>
        <translation>lun</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Tue</source>
        <translation>mar</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Wed</source>
        <translation>mié</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Thu</source>
        <translation>jue</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Fri</source>
        <translation>vie</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Sat</source>
        <translation>sáb</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Sun</source>
        <translation>dom</translation>
    </message>
</context>
<context>
    <name>TaskDetailsPopover</name>
    <message>
        <location filename="../../mainwindow/taskdetailspopover.cpp" line="+22"/>
        <source>Due %1</source>
        <translation>Vence: %1</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Completed</source>
        <translation>Completada</translation>
    </message>
</context>
<context>
    <name>TolmUpdate::UpdateDialog</name>
    <message>
        <location filename="../../update/updatedialog.cpp" line="+34"/>
        <source>Update available</source>
        <translation>Actualización disponible</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 %2 is available.</source>
        <translation>%1 %2 está disponible.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>You have version %1.</source>
        <translation>Tiene la versión %1.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>This update is required.</source>
        <translation>Esta actualización es obligatoria.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Version:</source>
        <translation>Versión:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Released:</source>
        <translation>Publicada:</translation>
    </message>
    <message>
        <location line="+3"/>
        <location line="+3"/>
        <source>Unknown</source>
        <translation>Desconocido</translation>
    </message>
    <message>
        <location line="-1"/>
        <source>Download size:</source>
        <translation>Tamaño de la descarga:</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Release notes</source>
        <translation>Notas de la versión</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Download</source>
        <translation>Descargar</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Later</source>
        <translation>Más tarde</translation>
    </message>
</context>
<context>
    <name>TrayManager</name>
    <message>
        <location filename="../../app/traymanager.cpp" line="+57"/>
        <source>&amp;Show Calendar</source>
        <translation>&amp;Mostrar calendario</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Sync &amp;Now</source>
        <translation>Sincronizar &amp;ahora</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Quit</source>
        <translation>&amp;Salir</translation>
    </message>
    <message>
        <location line="+85"/>
        <source>Quillmarten Calendar — Last sync failed</source>
        <translation>Quillmarten Calendar — Falló la última sincronización</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Quillmarten Calendar — Sync failed: %1</source>
        <translation>Quillmarten Calendar — Error de sincronización: %1</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Quillmarten Calendar — No upcoming events</source>
        <translation>Quillmarten Calendar — No hay eventos próximos</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Untitled</source>
        <translation>Sin título</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>today</source>
        <translation>hoy</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>tomorrow</source>
        <translation>mañana</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Quillmarten Calendar — Next: %1 (%2, all day)</source>
        <translation>Quillmarten Calendar — Siguiente: %1 (%2, todo el día)</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>at %1</source>
        <translation>a las %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>tomorrow at %1</source>
        <translation>mañana a las %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 %2</source>
        <translation>%1 %2</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Quillmarten Calendar — Next: %1 %2</source>
        <translation>Quillmarten Calendar — Siguiente: %1 %2</translation>
    </message>
</context>
<context>
    <name>TrayTime</name>
    <message>
        <location filename="../../app/traytime.cpp" line="+15"/>
        <source>Today</source>
        <translation>Hoy</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Tomorrow</source>
        <translation>Mañana</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Yesterday</source>
        <translation>Ayer</translation>
    </message>
</context>
<context>
    <name>WeekAgenda</name>
    <message>
        <location filename="../../mainwindow/weekagenda.cpp" line="+61"/>
        <source>All day</source>
        <translation>Todo el día</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 – %2</source>
        <translation>%1 – %2</translation>
    </message>
    <message>
        <location line="+35"/>
        <source>Week of %1</source>
        <translation>Semana del %1</translation>
    </message>
    <message>
        <location line="+37"/>
        <source>Untitled</source>
        <translation>Sin título</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>No events this week</source>
        <translation>No hay eventos esta semana</translation>
    </message>
</context>
<context>
    <name>WinTrayPopover</name>
    <message>
        <location filename="../../app/wintraypopover.cpp" line="+93"/>
        <source>Group</source>
        <translation>Grupo</translation>
    </message>
    <message>
        <location line="+50"/>
        <source>Add event — e.g. &quot;lunch Thursday 1pm&quot;</source>
        <translation>Añadir evento (en inglés) — p. ej., «lunch Thursday 1pm»</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Open Calendar</source>
        <translation>Abrir calendario</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Sync Now</source>
        <translation>Sincronizar ahora</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Preferences</source>
        <translation>Preferencias</translation>
    </message>
    <message>
        <location line="+96"/>
        <source>No calendars yet</source>
        <translation>Aún no hay calendarios</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>No upcoming events</source>
        <translation>No hay eventos próximos</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Nothing scheduled in the next 24 hours.</source>
        <translation>No hay nada programado en las próximas 24 horas.</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>Today</source>
        <translation>Hoy</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>  No more events today</source>
        <translation>  No hay más eventos hoy</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Tomorrow</source>
        <translation>Mañana</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>  Nothing scheduled</source>
        <translation>  Nada programado</translation>
    </message>
    <message>
        <location line="+27"/>
        <source>Untitled</source>
        <translation>Sin título</translation>
    </message>
    <message>
        <location line="+36"/>
        <location line="+120"/>
        <source>All-day</source>
        <translation>Todo el día</translation>
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
        <translation>%1, todo el día</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%1 at %2</source>
        <translation>%1 a las %2</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>now</source>
        <translation>ahora</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>in %1 min</source>
        <translation>en %1 min</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>in %1h</source>
        <translation>en %1 h</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>in %1h %2m</source>
        <translation>en %1 h %2 min</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>(Unnamed)</source>
        <translation>(Sin nombre)</translation>
    </message>
    <message>
        <location line="+41"/>
        <source>No such date</source>
        <translation>Esa fecha no existe</translation>
    </message>
    <message>
        <location line="+28"/>
        <source>Couldn&apos;t save event</source>
        <translation>No se pudo guardar el evento</translation>
    </message>
</context>
</TS>
