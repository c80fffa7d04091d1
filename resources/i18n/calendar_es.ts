<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES">
<context>
    <name>AgendaTaskList</name>
    <message>
        <source>All day</source>
        <translation>Todo el día</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>Sin título</translation>
    </message>
    <message>
        <source>Completed &quot;%1&quot;</source>
        <translation>Finalización de «%1»</translation>
    </message>
    <message>
        <source>Reopened &quot;%1&quot;</source>
        <translation>Reapertura de «%1»</translation>
    </message>
</context>
<context>
    <name>CalendarFormDialog</name>
    <message>
        <source>Add Calendar</source>
        <translation>Añadir calendario</translation>
    </message>
    <message>
        <source>Add Calendar to %1</source>
        <translation>Añadir calendario a %1</translation>
    </message>
    <message>
        <source>Edit Calendar</source>
        <translation>Editar calendario</translation>
    </message>
    <message>
        <source>Create a new calendar on the CalDAV server. The server must allow MKCALENDAR for your user; if it refuses, the calendar will not be created.</source>
        <translation>Crea un calendario nuevo en el servidor CalDAV. El servidor debe permitir MKCALENDAR a tu usuario; si lo rechaza, el calendario no se creará.</translation>
    </message>
    <message>
        <source>e.g. Personal, Work, Family</source>
        <translation>p. ej., Personal, Trabajo, Familia</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>&amp;Nombre:</translation>
    </message>
    <message>
        <source>&amp;Color:</source>
        <translation>&amp;Color:</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Guardar</translation>
    </message>
    <message>
        <source>Create</source>
        <translation>Crear</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Pick a calendar color</source>
        <translation>Elige un color para el calendario</translation>
    </message>
    <message>
        <source>Name required</source>
        <translation>Nombre obligatorio</translation>
    </message>
    <message>
        <source>Please enter a name for the calendar.</source>
        <translation>Introduce un nombre para el calendario.</translation>
    </message>
    <message>
        <source>Database Error</source>
        <translation>Error de base de datos</translation>
    </message>
    <message>
        <source>Could not save the calendar.</source>
        <translation>No se pudo guardar el calendario.</translation>
    </message>
    <message>
        <source>Could not create the local account row.</source>
        <translation>No se pudo crear la cuenta local.</translation>
    </message>
    <message>
        <source>Missing password</source>
        <translation>Falta la contraseña</translation>
    </message>
    <message>
        <source>No saved password for this account. Edit the account first to re-enter your credentials.</source>
        <translation>No hay ninguna contraseña guardada para esta cuenta. Edita primero la cuenta para volver a introducir tus credenciales.</translation>
    </message>
    <message>
        <source>Creating calendar on server…</source>
        <translation>Creando el calendario en el servidor…</translation>
    </message>
    <message>
        <source>Network error: %1</source>
        <translation>Error de red: %1</translation>
    </message>
    <message>
        <source>Server refused (HTTP %1). Your account may not have permission to create calendars on this server.</source>
        <translation>El servidor lo rechazó (HTTP %1). Puede que tu cuenta no tenga permiso para crear calendarios en este servidor.</translation>
    </message>
    <message>
        <source>Server returned success but the new calendar isn&apos;t reachable. This server may not support MKCALENDAR.</source>
        <translation>El servidor indicó éxito, pero el calendario nuevo no es accesible. Puede que este servidor no admita MKCALENDAR.</translation>
    </message>
    <message>
        <source>Created on server, but couldn&apos;t save locally. Run sync to recover.</source>
        <translation>Creado en el servidor, pero no se pudo guardar localmente. Sincroniza para recuperarlo.</translation>
    </message>
    <message>
        <source>Account missing</source>
        <translation>Falta la cuenta</translation>
    </message>
    <message>
        <source>Could not find the parent account.</source>
        <translation>No se encontró la cuenta a la que pertenece.</translation>
    </message>
    <message>
        <source>Saving changes to server…</source>
        <translation>Guardando los cambios en el servidor…</translation>
    </message>
    <message>
        <source>Server refused (HTTP %1). You may not have permission to rename or recolour this calendar.</source>
        <translation>El servidor lo rechazó (HTTP %1). Puede que no tengas permiso para cambiar el nombre o el color de este calendario.</translation>
    </message>
    <message>
        <source>Saved on server, but couldn&apos;t update locally.</source>
        <translation>Guardado en el servidor, pero no se pudo actualizar localmente.</translation>
    </message>
    <message>
        <source>Server refused (HTTP 409): the folder that should hold the new calendar does not exist on the server.</source>
        <translation>El servidor lo rechazó (HTTP 409): la carpeta que debe contener el nuevo calendario no existe en el servidor.</translation>
    </message>
    <message>
        <source>Server refused (HTTP 507): the server has no storage left for a new calendar.</source>
        <translation>El servidor lo rechazó (HTTP 507): el servidor no tiene espacio para un nuevo calendario.</translation>
    </message>
    <message>
        <source>Server refused (HTTP %1).</source>
        <translation>El servidor lo rechazó (HTTP %1).</translation>
    </message>
</context>
<context>
    <name>Microsoft::CalendarClient</name>
    <message>
        <source>Microsoft calendars cannot repeat on weekdays of different weeks of the month at once.</source>
        <translation>Los calendarios de Microsoft no pueden repetir a la vez en días de la semana de distintas semanas del mes.</translation>
    </message>
    <message>
        <source>Microsoft calendars cannot repeat on every such weekday of the month.</source>
        <translation>Los calendarios de Microsoft no pueden repetir en cada uno de esos días de la semana del mes.</translation>
    </message>
    <message>
        <source>Microsoft calendars cannot hold this choice among the weekdays of the month.</source>
        <translation>Los calendarios de Microsoft no admiten esta selección entre los días de la semana del mes.</translation>
    </message>
    <message>
        <source>Microsoft calendars can only repeat on the first to fourth or the last weekday of the month.</source>
        <translation>Los calendarios de Microsoft solo pueden repetir del primer al cuarto día de la semana del mes o en el último.</translation>
    </message>
    <message>
        <source>Microsoft calendars cannot repeat on several days of the month.</source>
        <translation>Los calendarios de Microsoft no pueden repetir en varios días del mes.</translation>
    </message>
    <message>
        <source>Microsoft calendars cannot repeat on a day counted from the end of the month.</source>
        <translation>Los calendarios de Microsoft no pueden repetir en un día contado desde el final del mes.</translation>
    </message>
    <message>
        <source>Microsoft calendars cannot limit a daily or weekly series to some days of the month or year.</source>
        <translation>Los calendarios de Microsoft no pueden limitar una serie diaria o semanal a algunos días del mes o del año.</translation>
    </message>
    <message>
        <source>Microsoft calendars cannot repeat every few days on some weekdays only.</source>
        <translation>Los calendarios de Microsoft no pueden repetir cada pocos días solo en algunos días de la semana.</translation>
    </message>
    <message>
        <source>Microsoft calendars cannot repeat weekly on a numbered weekday.</source>
        <translation>Los calendarios de Microsoft no pueden repetir semanalmente en un día de la semana numerado.</translation>
    </message>
    <message>
        <source>Microsoft calendars cannot repeat yearly in several months.</source>
        <translation>Los calendarios de Microsoft no pueden repetir anualmente en varios meses.</translation>
    </message>
    <message>
        <source>Microsoft calendars cannot repeat yearly on a day without its month.</source>
        <translation>Los calendarios de Microsoft no pueden repetir anualmente en un día sin su mes.</translation>
    </message>
    <message>
        <source>Microsoft calendars cannot limit a monthly series to some months.</source>
        <translation>Los calendarios de Microsoft no pueden limitar una serie mensual a algunos meses.</translation>
    </message>
    <message>
        <source>Microsoft calendars cannot repeat on a weekday and a day of the month at once.</source>
        <translation>Los calendarios de Microsoft no pueden repetir a la vez en un día de la semana y en un día del mes.</translation>
    </message>
    <message>
        <source>Microsoft calendars cannot hold this choice among the days of the month.</source>
        <translation>Los calendarios de Microsoft no admiten esta selección entre los días del mes.</translation>
    </message>
    <message>
        <source>The repeat rule has parts that cannot be read: %1</source>
        <translation>La regla de repetición tiene partes que no se pueden leer: %1</translation>
    </message>
    <message>
        <source>Microsoft calendars cannot repeat by %1.</source>
        <translation>Los calendarios de Microsoft no pueden repetir según %1.</translation>
    </message>
    <message>
        <source>The weekdays of the repeat rule cannot be read.</source>
        <translation>No se pueden leer los días de la semana de la regla de repetición.</translation>
    </message>
    <message>
        <source>Microsoft calendars cannot repeat an event more often than daily.</source>
        <translation>Los calendarios de Microsoft no pueden repetir un evento más de una vez al día.</translation>
    </message>
    <message>
        <source>The repeat rule has no frequency that can be read.</source>
        <translation>La regla de repetición no tiene una frecuencia legible.</translation>
    </message>
    <message>
        <source>The end of the repeat rule cannot be read.</source>
        <translation>No se puede leer el final de la regla de repetición.</translation>
    </message>
</context>
<context>
    <name>Microsoft::EventStore</name>
    <message>
        <source>The event could not be stored here.</source>
        <translation>No se pudo guardar el evento aquí.</translation>
    </message>
</context>
<context>
    <name>Microsoft::SyncClient</name>
    <message>
        <source>The occurrence is not on the server.</source>
        <translation>La repetición no está en el servidor.</translation>
    </message>
</context>
<context>
    <name>SyncStatusText</name>
    <message>
        <source>Subscription returned an empty body</source>
        <translation>La suscripción devolvió una respuesta vacía</translation>
    </message>
    <message>
        <source>Subscription did not return calendar data</source>
        <translation>La suscripción no devolvió datos de calendario</translation>
    </message>
    <message>
        <source>The subscription&apos;s events could not be stored</source>
        <translation>No se pudieron guardar los eventos de la suscripción</translation>
    </message>
    <message>
        <source>The local database is not open.</source>
        <translation>La base de datos local no está abierta.</translation>
    </message>
    <message>
        <source>Subscription did not answer within %1 seconds</source>
        <translation>La suscripción no respondió en %1 segundos</translation>
    </message>
    <message>
        <source>Subscription is larger than %1 MB</source>
        <translation>La suscripción supera los %1 MB</translation>
    </message>
    <message>
        <source>Invalid subscription URL: %1</source>
        <translation>URL de suscripción no válida: %1</translation>
    </message>
    <message>
        <source>Enter a CalDAV URL starting with http:// or https://</source>
        <translation>Introduzca una URL de CalDAV que empiece por http:// o https://</translation>
    </message>
    <message>
        <source>The discovery was cancelled.</source>
        <translation>La búsqueda de calendarios se canceló.</translation>
    </message>
    <message>
        <source>No calendars found at the discovered home set.</source>
        <translation>No hay calendarios en el home-set encontrado.</translation>
    </message>
    <message>
        <source>Network error: %1</source>
        <translation>Error de red: %1</translation>
    </message>
    <message>
        <source>Server returned HTTP %1 during ctag check</source>
        <translation>El servidor devolvió HTTP %1 al comprobar el ctag</translation>
    </message>
    <message>
        <source>Network error during task pull: %1</source>
        <translation>Error de red al descargar las tareas: %1</translation>
    </message>
    <message>
        <source>Push error: %1</source>
        <translation>Error al enviar: %1</translation>
    </message>
    <message>
        <source>Server returned HTTP %1 pushing &quot;%2&quot;</source>
        <translation>El servidor devolvió HTTP %1 al enviar «%2»</translation>
    </message>
    <message>
        <source>Task push error: %1</source>
        <translation>Error al enviar la tarea: %1</translation>
    </message>
    <message>
        <source>Server returned HTTP %1 pushing task &quot;%2&quot;</source>
        <translation>El servidor devolvió HTTP %1 al enviar la tarea «%2»</translation>
    </message>
    <message>
        <source>Could not reach the server: %1</source>
        <translation>No se pudo conectar con el servidor: %1</translation>
    </message>
    <message>
        <source>The server rejected the username or password.</source>
        <translation>El servidor rechazó el nombre de usuario o la contraseña.</translation>
    </message>
    <message>
        <source>Server returned HTTP %1 during principal discovery.</source>
        <translation>El servidor devolvió HTTP %1 al buscar el principal.</translation>
    </message>
    <message>
        <source>Lost connection during calendar-home-set discovery: %1</source>
        <translation>Se perdió la conexión al buscar el calendar-home-set: %1</translation>
    </message>
    <message>
        <source>Server returned HTTP %1 during home-set discovery.</source>
        <translation>El servidor devolvió HTTP %1 al buscar el home-set.</translation>
    </message>
    <message>
        <source>Lost connection during calendar enumeration: %1</source>
        <translation>Se perdió la conexión al enumerar los calendarios: %1</translation>
    </message>
    <message>
        <source>Server returned HTTP %1 during calendar enumeration.</source>
        <translation>El servidor devolvió HTTP %1 al enumerar los calendarios.</translation>
    </message>
    <message>
        <source>Subscription fetch failed (%1): %2</source>
        <translation>Error al obtener la suscripción (%1): %2</translation>
    </message>
    <message>
        <source>Subscription fetch failed: HTTP %1</source>
        <translation>Error al obtener la suscripción: HTTP %1</translation>
    </message>
    <message>
        <source>Server returned HTTP %1</source>
        <translation>El servidor devolvió HTTP %1</translation>
    </message>
    <message>
        <source>Synced %1 events</source>
        <translation>%1 eventos sincronizados</translation>
    </message>
    <message>
        <source>Synced %1 events; %2</source>
        <translation>%1 eventos sincronizados; %2</translation>
    </message>
    <message numerus="yes">
        <source>Discovered %n new calendar(s).</source>
        <translation>
            <numerusform>Se encontró %n calendario nuevo.</numerusform>
            <numerusform>Se encontraron %n calendarios nuevos.</numerusform>
        </translation>
    </message>
    <message>
        <source>Desktop keyring unavailable; passwords are kept in %1</source>
        <translation>Llavero del escritorio no disponible; las contraseñas se guardan en %1</translation>
    </message>
    <message>
        <source>No Microsoft access token available.</source>
        <translation>No hay ningún token de acceso de Microsoft.</translation>
    </message>
    <message>
        <source>Microsoft sent a link outside its API; the listing was stopped.</source>
        <translation>Microsoft envió un enlace fuera de su API; se detuvo la consulta.</translation>
    </message>
    <message>
        <source>Microsoft's listing did not end; it was stopped.</source>
        <translation>La lista de Microsoft no terminaba; se detuvo.</translation>
    </message>
    <message>
        <source>No Microsoft access token.</source>
        <translation>No hay token de acceso de Microsoft.</translation>
    </message>
    <message>
        <source>Parent account missing</source>
        <translation>Falta la cuenta principal</translation>
    </message>
    <message>
        <source>No saved Microsoft credentials. Sign in again.</source>
        <translation>No hay credenciales de Microsoft guardadas. Vuelva a iniciar sesión.</translation>
    </message>
    <message>
        <source>Microsoft token refresh failed: %1</source>
        <translation>No se pudo renovar el token de Microsoft: %1</translation>
    </message>
    <message>
        <source>Microsoft refused the listing's delta token again.</source>
        <translation>Microsoft volvió a rechazar el token delta de la consulta.</translation>
    </message>
    <message numerus="yes">
        <source>%n event(s) failed to save locally; will retry next sync.</source>
        <translation>
            <numerusform>%n evento no se pudo guardar localmente; se reintentará en la próxima sincronización.</numerusform>
            <numerusform>%n eventos no se pudieron guardar localmente; se reintentará en la próxima sincronización.</numerusform>
        </translation>
    </message>
    <message>
        <source>No Google access token available.</source>
        <translation>No hay ningún token de acceso de Google disponible.</translation>
    </message>
    <message numerus="yes">
        <source>Google's calendar list did not end after %n page(s).</source>
        <translation>
            <numerusform>La lista de calendarios de Google no terminó tras %n página.</numerusform>
            <numerusform>La lista de calendarios de Google no terminó tras %n páginas.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Google's event listing did not end after %n page(s).</source>
        <translation>
            <numerusform>La lista de eventos de Google no terminó tras %n página.</numerusform>
            <numerusform>La lista de eventos de Google no terminó tras %n páginas.</numerusform>
        </translation>
    </message>
    <message>
        <source>No Google access token.</source>
        <translation>No hay token de acceso de Google.</translation>
    </message>
    <message>
        <source>Google OAuth credentials are not configured.</source>
        <translation>Las credenciales OAuth de Google no están configuradas.</translation>
    </message>
    <message>
        <source>Google's response had no access_token.</source>
        <translation>La respuesta de Google no contenía access_token.</translation>
    </message>
    <message>
        <source>Microsoft OAuth credentials are not configured.</source>
        <translation>Las credenciales OAuth de Microsoft no están configuradas.</translation>
    </message>
    <message>
        <source>Microsoft's response had no access_token.</source>
        <translation>La respuesta de Microsoft no contenía access_token.</translation>
    </message>
    <message>
        <source>No saved Google credentials. Sign in again.</source>
        <translation>No hay credenciales de Google guardadas. Vuelva a iniciar sesión.</translation>
    </message>
    <message>
        <source>Google token refresh failed: %1</source>
        <translation>Falló la renovación del token de Google: %1</translation>
    </message>
    <message>
        <source>Google refused the full event listing (HTTP 410).</source>
        <translation>Google rechazó la lista completa de eventos (HTTP 410).</translation>
    </message>
    <message>
        <source>The server&apos;s answer was larger than %1 MB and was cut off.</source>
        <translation>La respuesta del servidor superaba los %1 MB y se cortó.</translation>
    </message>
    <message>
        <source>The server listed only part of the calendar&apos;s tasks; none were removed here.</source>
        <translation>El servidor solo enumeró parte de las tareas del calendario; no se eliminó ninguna aquí.</translation>
    </message>
    <message>
        <source>The server listed only part of the calendar; no events were removed here.</source>
        <translation>El servidor solo enumeró parte del calendario; no se eliminó ningún evento aquí.</translation>
    </message>
    <message>
        <source>Google&apos;s answer was larger than %1 MB and was cut off.</source>
        <translation>La respuesta de Google superaba los %1 MB y se cortó.</translation>
    </message>
    <message>
        <source>Microsoft&apos;s answer was larger than %1 MB and was cut off.</source>
        <translation>La respuesta de Microsoft superaba los %1 MB y se cortó.</translation>
    </message>
    <message>
        <source>The server&apos;s answer declared a document type, which CalDAV never uses; it was refused and nothing was changed.</source>
        <translation>La respuesta del servidor declaraba un tipo de documento, que CalDAV nunca usa; se rechazó y no se cambió nada.</translation>
    </message>
    <message>
        <source>The subscription arrived cut short; its events were kept as they were.</source>
        <translation>La suscripción llegó incompleta; sus eventos se han conservado como estaban.</translation>
    </message>
    <message>
        <source>The subscription&apos;s events could not be stored: the disk is full.</source>
        <translation>No se pudieron guardar los eventos de la suscripción: el disco está lleno.</translation>
    </message>
    <message>
        <source>Sync stopped: the disk is full. Free some space; the next sync brings in the rest.</source>
        <translation>Sincronización detenida: el disco está lleno. Libere espacio; la próxima sincronización traerá el resto.</translation>
    </message>
    <message>
        <source>Sync stopped: the calendar database is read-only.</source>
        <translation>Sincronización detenida: la base de datos del calendario es de solo lectura.</translation>
    </message>
    <message>
        <source>Sync stopped: the disk or the calendar database failed.</source>
        <translation>Sincronización detenida: falló el disco o la base de datos del calendario.</translation>
    </message>
    <message>
        <source>Sync stopped: the calendar database did not take a change. The next sync tries again.</source>
        <translation>Sincronización detenida: la base de datos del calendario no aceptó un cambio. La próxima sincronización lo volverá a intentar.</translation>
    </message>
    <message>
        <source>%1 could not be reached (%2).</source>
        <translation>No se pudo contactar con %1 (%2).</translation>
    </message>
    <message>
        <source>Token refresh failed (HTTP %1).</source>
        <translation>Falló la renovación del token (HTTP %1).</translation>
    </message>
    <message>
        <source>%1 sent an answer that could not be read (HTTP %2).</source>
        <translation>%1 envió una respuesta que no se pudo leer (HTTP %2).</translation>
    </message>
    <message>
        <source>%1&apos;s usage limit was reached (HTTP %2).</source>
        <translation>Se alcanzó el límite de uso de %1 (HTTP %2).</translation>
    </message>
    <message>
        <source>%1 refused to list the calendars (HTTP %2).</source>
        <translation>%1 se negó a enumerar los calendarios (HTTP %2).</translation>
    </message>
    <message>
        <source>%1 refused a new event (HTTP %2).</source>
        <translation>%1 rechazó un evento nuevo (HTTP %2).</translation>
    </message>
    <message>
        <source>%1 refused a changed event (HTTP %2).</source>
        <translation>%1 rechazó un evento modificado (HTTP %2).</translation>
    </message>
    <message>
        <source>%1 refused to delete an event (HTTP %2).</source>
        <translation>%1 se negó a eliminar un evento (HTTP %2).</translation>
    </message>
    <message>
        <source>%1 refused to list the calendar&apos;s events (HTTP %2).</source>
        <translation>%1 se negó a enumerar los eventos del calendario (HTTP %2).</translation>
    </message>
    <message>
        <source>The next sync tries again.</source>
        <translation>La próxima sincronización lo volverá a intentar.</translation>
    </message>
    <message>
        <source>Sign in to %1 again.</source>
        <translation>Vuelva a iniciar sesión en %1.</translation>
    </message>
    <message>
        <source>Check that the account may still use this calendar.</source>
        <translation>Compruebe que la cuenta todavía puede usar este calendario.</translation>
    </message>
    <message>
        <source>It may have been deleted there; the next sync looks again.</source>
        <translation>Puede que se haya eliminado allí; la próxima sincronización lo comprobará de nuevo.</translation>
    </message>
</context>
<context>
    <name>TaskFormDialog</name>
    <message>
        <source>Read-only calendar</source>
        <translation>Calendario de solo lectura</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is read-only, so a subtask can&apos;t be added to its task: a subtask stays in its parent task&apos;s calendar.</source>
        <translation>«%1» es de solo lectura, así que no se puede añadir una subtarea a su tarea: una subtarea permanece en el calendario de su tarea principal.</translation>
    </message>
    <message>
        <source>Edit Task</source>
        <translation>Editar tarea</translation>
    </message>
    <message>
        <source>New Task</source>
        <translation>Nueva tarea</translation>
    </message>
    <message>
        <source>Edit task</source>
        <translation>Editar tarea</translation>
    </message>
    <message>
        <source>New task</source>
        <translation>Nueva tarea</translation>
    </message>
    <message>
        <source>Update the task and save to apply.</source>
        <translation>Actualiza la tarea y guarda para aplicar los cambios.</translation>
    </message>
    <message>
        <source>Drop a quick to-do; due date and priority are optional.</source>
        <translation>Anota una tarea rápida; la fecha de vencimiento y la prioridad son opcionales.</translation>
    </message>
    <message>
        <source>Buy birthday gift, prep Q1 report…</source>
        <translation>Comprar regalo de cumpleaños, preparar informe T1…</translation>
    </message>
    <message>
        <source>&amp;Title</source>
        <translation>&amp;Título</translation>
    </message>
    <message>
        <source>&amp;Calendar</source>
        <translation>&amp;Calendario</translation>
    </message>
    <message>
        <source>Set start date</source>
        <translation>Fijar fecha de inicio</translation>
    </message>
    <message>
        <source>&amp;Starts</source>
        <translation>&amp;Empieza</translation>
    </message>
    <message>
        <source>Set due date</source>
        <translation>Fijar fecha de vencimiento</translation>
    </message>
    <message>
        <source>&amp;Due</source>
        <translation>&amp;Vence</translation>
    </message>
    <message>
        <source>Does not repeat</source>
        <translation>No se repite</translation>
    </message>
    <message>
        <source>&amp;Repeat</source>
        <translation>&amp;Repetir</translation>
    </message>
    <message>
        <source>Due date</source>
        <translation>Fecha de vencimiento</translation>
    </message>
    <message>
        <source>Completion date</source>
        <translation>Fecha de finalización</translation>
    </message>
    <message>
        <source>Due date: next due = current due + interval.
Completion date: next due = today + interval.</source>
        <translation>Fecha de vencimiento: próximo vencimiento = vencimiento actual + intervalo.
Fecha de finalización: próximo vencimiento = hoy + intervalo.</translation>
    </message>
    <message>
        <source>Repeats &amp;from</source>
        <translation>Repetir &amp;desde</translation>
    </message>
    <message>
        <source>— None</source>
        <translation>— Ninguna</translation>
    </message>
    <message>
        <source>● High</source>
        <translation>● Alta</translation>
    </message>
    <message>
        <source>● Medium</source>
        <translation>● Media</translation>
    </message>
    <message>
        <source>● Low</source>
        <translation>● Baja</translation>
    </message>
    <message>
        <source>&amp;Priority</source>
        <translation>&amp;Prioridad</translation>
    </message>
    <message>
        <source>Completed</source>
        <translation>Completada</translation>
    </message>
    <message>
        <source>e.g. Personal, Health, Errands</source>
        <translation>p. ej., Personal, Salud, Recados</translation>
    </message>
    <message>
        <source>&amp;Categories</source>
        <translation>C&amp;ategorías</translation>
    </message>
    <message>
        <source>Steps, links, context…</source>
        <translation>Pasos, enlaces, contexto…</translation>
    </message>
    <message>
        <source>&amp;Notes</source>
        <translation>&amp;Notas</translation>
    </message>
    <message>
        <source>Save changes</source>
        <translation>Guardar cambios</translation>
    </message>
    <message>
        <source>Create task</source>
        <translation>Crear tarea</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Subtasks stay in their parent task&apos;s calendar.</source>
        <translation>Las subtareas permanecen en el calendario de su tarea principal.</translation>
    </message>
    <message>
        <source>Title required</source>
        <translation>Título obligatorio</translation>
    </message>
    <message>
        <source>Please enter a title for the task.</source>
        <translation>Introduce un título para la tarea.</translation>
    </message>
    <message>
        <source>No calendars</source>
        <translation>No hay calendarios</translation>
    </message>
    <message>
        <source>Create a calendar first.</source>
        <translation>Crea primero un calendario.</translation>
    </message>
    <message>
        <source>Database Error</source>
        <translation>Error de base de datos</translation>
    </message>
    <message>
        <source>Could not save the task.</source>
        <translation>No se pudo guardar la tarea.</translation>
    </message>
</context>
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
    <message>
        <source>The calendar database is locked by another program.

Data directory: %1

Close the program that has it open and start again.</source>
        <translation>La base de datos del calendario está bloqueada por otro programa.

Carpeta de datos: %1

Cierre el programa que la tiene abierta y vuelva a iniciar.</translation>
    </message>
    <message>
        <source>The calendar database is damaged and cannot be opened. It has not been changed.

Data directory: %1

Restore a copy of calendar.db, or move it away to start with an empty calendar.</source>
        <translation>La base de datos del calendario está dañada y no se puede abrir. No se ha modificado.

Carpeta de datos: %1

Restaure una copia de calendar.db o muévala a otro lugar para empezar con un calendario vacío.</translation>
    </message>
    <message>
        <source>The calendar database was created by a newer version of this program and cannot be opened by this one. It has not been changed.

Data directory: %1

Please use the newer version.</source>
        <translation>La base de datos del calendario fue creada por una versión más reciente de este programa y esta no puede abrirla. No se ha modificado.

Directorio de datos: %1

Utilice la versión más reciente.</translation>
    </message>
    <message>
        <source>Calendar Already Running</source>
        <translation>El calendario ya se está ejecutando</translation>
    </message>
    <message>
        <source>The calendar data folder is in use by another running calendar program.

Data directory: %1

This one ends now.</source>
        <translation>La carpeta de datos del calendario está en uso por otro programa de calendario en ejecución.

Directorio de datos: %1

Este se cierra ahora.</translation>
    </message>
    <message>
        <source>Read-Only Calendar</source>
        <translation>Calendario de solo lectura</translation>
    </message>
    <message>
        <source>The calendar database is read-only: changes cannot be saved.

Data directory: %1</source>
        <translation>La base de datos del calendario es de solo lectura: no se pueden guardar los cambios.

Directorio de datos: %1</translation>
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
    <message numerus="yes">
        <source>The server did not finish its answer within %n second(s).</source>
        <translation>
            <numerusform>El servidor no terminó su respuesta en %n segundo.</numerusform>
            <numerusform>El servidor no terminó su respuesta en %n segundos.</numerusform>
        </translation>
    </message>
    <message>
        <source>The server&apos;s answer was larger than %1 MB and was cut off.</source>
        <translation>La respuesta del servidor superaba los %1 MB y se cortó.</translation>
    </message>
    <message>
        <source>The server&apos;s answer declared a document type, which CalDAV never uses; it was refused.</source>
        <translation>La respuesta del servidor declaraba un tipo de documento, que CalDAV nunca usa; se rechazó.</translation>
    </message>
    <message>
        <source>The server&apos;s answer ended before it was whole.</source>
        <translation>La respuesta del servidor terminó antes de estar completa.</translation>
    </message>
</context>
<context>
    <name>CalDavSyncClient</name>
    <message numerus="yes">
        <location line="+31"/>
        <source>%n item(s) could not be synced</source>
        <translation>
            <numerusform>No se pudo sincronizar %n elemento</numerusform>
            <numerusform>No se pudieron sincronizar %n elementos</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>DialogParts</name>
    <message>
        <source>Edit…</source>
        <translation>Editar…</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Eliminar</translation>
    </message>
</context>
<context>
    <name>EventAccess</name>
    <message>
        <source>Events of a subscribed calendar can&apos;t be changed.</source>
        <translation>Los eventos de un calendario suscrito no se pueden cambiar.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is read-only: its events cannot be changed here.</source>
        <translation>«%1» es de solo lectura: sus eventos no se pueden cambiar aquí.</translation>
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
        <source>Database Error</source>
        <translation>Error de base de datos</translation>
    </message>
    <message>
        <source>Could not delete &quot;%1&quot;.</source>
        <translation>No se pudo eliminar «%1».</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Deleted &quot;%1&quot;</source>
        <translation>Eliminación de «%1»</translation>
    </message>
    <message>
        <source>Reminders: %1</source>
        <translation>Recordatorios: %1</translation>
    </message>
    <message>
        <source>Online meeting: %1</source>
        <translation>Reunión en línea: %1</translation>
    </message>
    <message>
        <source>Join online meeting</source>
        <translation>Unirse a la reunión en línea</translation>
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
    <name>FilterFormDialog</name>
    <message>
        <source>Every calendar this filter applied to has been deleted, so it matches nothing.</source>
        <translation>Todos los calendarios a los que se aplicaba este filtro se han eliminado, así que no coincide con nada.</translation>
    </message>
    <message>
        <source>Every calendar this filter applied to has been deleted, so it matches nothing. Check the calendars it should apply to; saved without any, it applies to every calendar.</source>
        <translation>Todos los calendarios a los que se aplicaba este filtro se han eliminado, así que no coincide con nada. Marque los calendarios a los que debe aplicarse; si se guarda sin ninguno, se aplica a todos los calendarios.</translation>
    </message>
    <message>
        <source>This filter is of a kind this version does not know (&quot;%1&quot;). It is shown read-only and kept as it is.</source>
        <translation>Esta versión no conoce este tipo de filtro («%1»). Se muestra en modo de solo lectura y se conserva tal cual.</translation>
    </message>
    <message>
        <source>Pattern Match</source>
        <translation>Coincidencia de texto</translation>
    </message>
    <message>
        <source>Filter events matching text patterns</source>
        <translation>Filtrar eventos que coincidan con patrones de texto</translation>
    </message>
    <message>
        <source>Time-Based</source>
        <translation>Por hora</translation>
    </message>
    <message>
        <source>Filter events at specific times</source>
        <translation>Filtrar eventos a horas concretas</translation>
    </message>
    <message>
        <source>Specific Event</source>
        <translation>Evento concreto</translation>
    </message>
    <message>
        <source>Filter a specific recurring event</source>
        <translation>Filtrar un evento periódico concreto</translation>
    </message>
    <message>
        <source>All-Day Events</source>
        <translation>Eventos de todo el día</translation>
    </message>
    <message>
        <source>Filter all-day events</source>
        <translation>Filtrar eventos de todo el día</translation>
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
        <translation>mié</translation>
    </message>
    <message>
        <source>Thu</source>
        <translation>jue</translation>
    </message>
    <message>
        <source>Fri</source>
        <translation>vie</translation>
    </message>
    <message>
        <source>Sat</source>
        <translation>sáb</translation>
    </message>
    <message>
        <source>Sun</source>
        <translation>dom</translation>
    </message>
    <message>
        <source>Add Filter</source>
        <translation>Añadir filtro</translation>
    </message>
    <message>
        <source>Edit Filter</source>
        <translation>Editar filtro</translation>
    </message>
    <message>
        <source>Edit filter</source>
        <translation>Editar filtro</translation>
    </message>
    <message>
        <source>New filter</source>
        <translation>Nuevo filtro</translation>
    </message>
    <message>
        <source>Filters hide or dim events that match — they don't delete anything, and you can toggle the whole set off from the filters pill in the status bar.</source>
        <translation>Los filtros ocultan o atenúan los eventos que coinciden; no borran nada y puede desactivarlos todos desde la pastilla de filtros de la barra de estado.</translation>
    </message>
    <message>
        <source>Hide standups, Dim birthdays…</source>
        <translation>Ocultar reuniones diarias, atenuar cumpleaños…</translation>
    </message>
    <message>
        <source>&amp;Name</source>
        <translation>&amp;Nombre</translation>
    </message>
    <message>
        <source>Hide completely</source>
        <translation>Ocultar por completo</translation>
    </message>
    <message>
        <source>Dim (still visible, faded)</source>
        <translation>Atenuar (visible, difuminado)</translation>
    </message>
    <message>
        <source>&amp;Action</source>
        <translation>&amp;Acción</translation>
    </message>
    <message>
        <source>Suppress reminders for matched events</source>
        <translation>Silenciar recordatorios de los eventos coincidentes</translation>
    </message>
    <message>
        <source>Enabled</source>
        <translation>Activado</translation>
    </message>
    <message>
        <source>Apply to calendars</source>
        <translation>Aplicar a calendarios</translation>
    </message>
    <message>
        <source>Leave empty to apply to every calendar.</source>
        <translation>Déjelo vacío para aplicarlo a todos los calendarios.</translation>
    </message>
    <message>
        <source>Save changes</source>
        <translation>Guardar cambios</translation>
    </message>
    <message>
        <source>Create filter</source>
        <translation>Crear filtro</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Tipo</translation>
    </message>
    <message>
        <source>Title contains</source>
        <translation>El título contiene</translation>
    </message>
    <message>
        <source>e.g. standup, lunch, 1:1 — comma separated</source>
        <translation>p. ej. reunión, comida, 1:1 — separados por comas</translation>
    </message>
    <message>
        <source>Case sensitive</source>
        <translation>Distinguir mayúsculas</translation>
    </message>
    <message>
        <source>Exact start time</source>
        <translation>Hora de inicio exacta</translation>
    </message>
    <message>
        <source>Time range</source>
        <translation>Intervalo horario</translation>
    </message>
    <message>
        <source>to</source>
        <translation>a</translation>
    </message>
    <message>
        <source>Days of week (empty = every day)</source>
        <translation>Días de la semana (vacío = todos)</translation>
    </message>
    <message>
        <source>Recurring events only</source>
        <translation>Solo eventos periódicos</translation>
    </message>
    <message>
        <source>Filtering this specific event:</source>
        <translation>Se filtra este evento:</translation>
    </message>
    <message>
        <source>(Right-click an event and choose &quot;Create Filter from Event&quot; to create a specific-event filter.)</source>
        <translation>(Haga clic derecho en un evento y elija «Crear filtro a partir del evento» para crear un filtro de evento concreto.)</translation>
    </message>
    <message>
        <source>Matches every all-day event in the selected calendars.</source>
        <translation>Coincide con todos los eventos de todo el día de los calendarios elegidos.</translation>
    </message>
    <message>
        <source>Only recurring all-day events</source>
        <translation>Solo eventos de todo el día periódicos</translation>
    </message>
    <message>
        <source>(Event no longer exists)</source>
        <translation>(El evento ya no existe)</translation>
    </message>
    <message>
        <source>(Untitled event)</source>
        <translation>(Evento sin título)</translation>
    </message>
    <message>
        <source>Name required</source>
        <translation>Nombre obligatorio</translation>
    </message>
    <message>
        <source>Please enter a name for the filter.</source>
        <translation>Introduzca un nombre para el filtro.</translation>
    </message>
    <message>
        <source>No patterns</source>
        <translation>Sin patrones</translation>
    </message>
    <message>
        <source>Add at least one phrase to &quot;Title contains&quot;.</source>
        <translation>Añada al menos una frase en «El título contiene».</translation>
    </message>
    <message>
        <source>No event selected</source>
        <translation>Ningún evento seleccionado</translation>
    </message>
    <message>
        <source>Specific-event filters need to be created from an event's right-click menu — that's how the rule learns which event to match.</source>
        <translation>Los filtros de un evento concreto se crean desde el menú contextual del evento; así la regla sabe a qué evento corresponde.</translation>
    </message>
    <message>
        <source>Database Error</source>
        <translation>Error de base de datos</translation>
    </message>
    <message>
        <source>Could not save the filter.</source>
        <translation>No se pudo guardar el filtro.</translation>
    </message>
    <message>
        <source>No events in the next 30 days to preview against.</source>
        <translation>No hay eventos en los próximos 30 días para la vista previa.</translation>
    </message>
    <message>
        <source>(Untitled)</source>
        <translation>(Sin título)</translation>
    </message>
    <message>
        <source>hide</source>
        <translation>ocultar</translation>
    </message>
    <message>
        <source>dim</source>
        <translation>atenuar</translation>
    </message>
    <message>
        <source>Would %1 %2 of %3 events in the next 30 days.</source>
        <translation>Esto va a %1 %2 de %3 eventos de los próximos 30 días.</translation>
    </message>
    <message>
        <source>e.g. %1</source>
        <translation>p. ej. %1</translation>
    </message>
</context>
<context>
    <name>FilterMenus</name>
    <message>
        <source>Edit filter &quot;%1&quot;…</source>
        <translation>Editar filtro «%1»…</translation>
    </message>
    <message>
        <source>Create Filter from Event…</source>
        <translation>Crear filtro a partir del evento…</translation>
    </message>
    <message>
        <source>New &amp;Filter…</source>
        <translation>Nuevo &amp;filtro…</translation>
    </message>
    <message>
        <source>New Calendar &amp;Group…</source>
        <translation>Nuevo &amp;grupo de calendarios…</translation>
    </message>
    <message>
        <source>&amp;Manage Filters…</source>
        <translation>Gestionar filt&amp;ros…</translation>
    </message>
    <message>
        <source>Manage &amp;Calendar Groups…</source>
        <translation>Gestionar grupos de &amp;calendarios…</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message numerus="yes">
        <source>%n value(s) were not valid UTF-8 and were read as Windows-1252</source>
        <translation>
            <numerusform>%n valor no era UTF-8 válido y se leyó como Windows-1252</numerusform>
            <numerusform>%n valores no eran UTF-8 válido y se leyeron como Windows-1252</numerusform>
        </translation>
    </message>
    <message>
        <source>The file was cut short (it has no END:VCALENDAR); the events before the cut were imported.</source>
        <translation>El archivo está cortado (no tiene END:VCALENDAR); se importaron los eventos anteriores al corte.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>An import is already running.</source>
        <translation>Ya hay una importación en curso.</translation>
    </message>
    <message>
        <location filename="../../mainwindow/mainwindow.cpp" line="296"/>
        <source>%1 will be imported after the current import.</source>
        <translation>%1 se importará cuando termine la importación en curso.</translation>
    </message>
    <message>
        <source>Importing %1…</source>
        <translation>Importando %1…</translation>
    </message>
    <message>
        <source>Import of %1 cancelled; nothing was imported.</source>
        <translation>Importación de %1 cancelada; no se importó nada.</translation>
    </message>
    <message>
        <source>Nothing was imported from %1: %2</source>
        <translation>No se importó nada de %1: %2</translation>
    </message>
    <message>
        <source>the disk is full.</source>
        <translation>el disco está lleno.</translation>
    </message>
    <message>
        <source>the calendar database is read-only.</source>
        <translation>la base de datos del calendario es de solo lectura.</translation>
    </message>
    <message>
        <source>the calendar database is locked by another program.</source>
        <translation>otro programa tiene bloqueada la base de datos del calendario.</translation>
    </message>
    <message>
        <source>the disk or the database file failed.</source>
        <translation>ha fallado el disco o el archivo de la base de datos.</translation>
    </message>
    <message>
        <source>the calendar database could not be written.</source>
        <translation>no se pudo escribir en la base de datos del calendario.</translation>
    </message>
    <message>
        <source>New events: %1</source>
        <translation>Eventos nuevos: %1</translation>
    </message>
    <message>
        <source>Updated events: %1</source>
        <translation>Eventos actualizados: %1</translation>
    </message>
    <message>
        <source>Already in the calendar as they are: %1</source>
        <translation>Ya en el calendario sin cambios: %1</translation>
    </message>
    <message>
        <source>Without END:VEVENT: %1</source>
        <translation>Sin END:VEVENT: %1</translation>
    </message>
    <message>
        <source>Cut off where the file ends: %1</source>
        <translation>Cortados donde termina el archivo: %1</translation>
    </message>
    <message>
        <source>Without a readable start (DTSTART): %1</source>
        <translation>Sin un inicio legible (DTSTART): %1</translation>
    </message>
    <message>
        <source>Without a UID: %1</source>
        <translation>Sin UID: %1</translation>
    </message>
    <message>
        <source>Refused by the calendar database: %1</source>
        <translation>Rechazados por la base de datos del calendario: %1</translation>
    </message>
    <message>
        <source>Import finished</source>
        <translation>Importación terminada</translation>
    </message>
    <message numerus="yes">
        <source>Imported %n event(s) from %1 (%2 updated)</source>
        <translation>
            <numerusform>%n evento importado de %1 (%2 actualizados)</numerusform>
            <numerusform>%n eventos importados de %1 (%2 actualizados)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Nothing new in %1: its %n event(s) are in the calendar already</source>
        <translation>
            <numerusform>Nada nuevo en %1: su %n evento ya está en el calendario</numerusform>
            <numerusform>Nada nuevo en %1: sus %n eventos ya están en el calendario</numerusform>
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
        <translation>Deshecho: %1</translation>
    </message>
    <message>
        <source>Could not undo: %1</source>
        <translation>No se pudo deshacer: %1</translation>
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
        <source>New &amp;Task…</source>
        <translation>Nueva &amp;tarea…</translation>
    </message>
    <message>
        <source>Create a calendar first.</source>
        <translation>Crea primero un calendario.</translation>
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
        <source>Quick-add couldn&apos;t save &quot;%1&quot;.</source>
        <translation>Añadido rápido: no se pudo guardar «%1».</translation>
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
    <message>
        <source>&amp;Tools</source>
        <translation>&amp;Herramientas</translation>
    </message>
    <message>
        <source>&amp;Search…</source>
        <translation>&amp;Buscar…</translation>
    </message>
    <message>
        <source>Manage &amp;Templates…</source>
        <translation>Gestionar &amp;plantillas…</translation>
    </message>
    <message numerus="yes">
        <source>%1; %n task(s) not imported</source>
        <translation>
            <numerusform>%1; %n tarea no importada</numerusform>
            <numerusform>%1; %n tareas no importadas</numerusform>
        </translation>
    </message>
    <message>
        <source>Tasks (VTODO), not imported: %1</source>
        <translation>Tareas (VTODO), no importadas: %1</translation>
    </message>
    <message>
        <source>Quick &amp;Add…</source>
        <translation>Añadido &amp;rápido…</translation>
    </message>
    <message>
        <source>Reminders can&apos;t be shown: the desktop has no notification service and no tray.</source>
        <translation>No se pueden mostrar los recordatorios: el escritorio no tiene servicio de notificaciones ni bandeja del sistema.</translation>
    </message>
</context>
<context>
    <name>ManageFiltersDialog</name>
    <message>
        <source>Pattern</source>
        <translation>Patrón</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Hora</translation>
    </message>
    <message>
        <source>Specific</source>
        <translation>Concreto</translation>
    </message>
    <message>
        <source>All-day</source>
        <translation>Todo el día</translation>
    </message>
    <message>
        <source>Hide</source>
        <translation>Ocultar</translation>
    </message>
    <message>
        <source>Dim</source>
        <translation>Atenuar</translation>
    </message>
    <message>
        <source>Manage Filters</source>
        <translation>Gestionar filtros</translation>
    </message>
    <message>
        <source>Filters</source>
        <translation>Filtros</translation>
    </message>
    <message>
        <source>Toggle the checkbox to enable / disable a filter. Drag a row to change priority (top of the list applies first). Use Edit to change conditions or Delete to remove it.</source>
        <translation>Marque la casilla para activar o desactivar un filtro. Arrastre una fila para cambiar la prioridad (la primera de la lista se aplica antes). Use Editar para cambiar las condiciones o Eliminar para quitarlo.</translation>
    </message>
    <message>
        <source>Add filter…</source>
        <translation>Añadir filtro…</translation>
    </message>
    <message>
        <source>(no filters yet)</source>
        <translation>(aún no hay filtros)</translation>
    </message>
    <message>
        <source>Delete filter?</source>
        <translation>¿Eliminar el filtro?</translation>
    </message>
    <message>
        <source>Delete &quot;%1&quot;? You can recreate it later.</source>
        <translation>¿Eliminar «%1»? Puede volver a crearlo más tarde.</translation>
    </message>
    <message>
        <source>Database Error</source>
        <translation>Error de base de datos</translation>
    </message>
    <message>
        <source>Could not delete the filter.</source>
        <translation>No se pudo eliminar el filtro.</translation>
    </message>
    <message>
        <source>Could not save the filter.</source>
        <translation>No se pudo guardar el filtro.</translation>
    </message>
    <message>
        <source>Could not save the order of the filters.</source>
        <translation>No se pudo guardar el orden de los filtros.</translation>
    </message>
</context>
<context>
    <name>ManageTemplatesDialog</name>
    <message>
        <source>Event Templates</source>
        <translation>Plantillas de eventos</translation>
    </message>
    <message>
        <source>Templates pre-fill the new-event form. Double-click to edit.</source>
        <translation>Las plantillas rellenan el formulario de nuevo evento. Haga doble clic para editar.</translation>
    </message>
    <message>
        <source>Add…</source>
        <translation>Añadir…</translation>
    </message>
    <message>
        <source>Edit…</source>
        <translation>Editar…</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Eliminar</translation>
    </message>
    <message>
        <source>(no title)</source>
        <translation>(sin título)</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>Delete template?</source>
        <translation>¿Eliminar la plantilla?</translation>
    </message>
    <message>
        <source>Delete the template &quot;%1&quot;? Events already created from it are unaffected.</source>
        <translation>¿Eliminar la plantilla &quot;%1&quot;? Los eventos ya creados con ella no se ven afectados.</translation>
    </message>
    <message>
        <source>Database Error</source>
        <translation>Error de base de datos</translation>
    </message>
    <message>
        <source>Could not save the template.</source>
        <translation>No se pudo guardar la plantilla.</translation>
    </message>
    <message>
        <source>Could not delete the template.</source>
        <translation>No se pudo eliminar la plantilla.</translation>
    </message>
</context>
<context>
    <name>ManageViewsDialog</name>
    <message>
        <source>Manage Calendar Groups</source>
        <translation>Gestionar grupos de calendarios</translation>
    </message>
    <message>
        <source>Calendar Groups</source>
        <translation>Grupos de calendarios</translation>
    </message>
    <message>
        <source>Drag a row to change the order groups appear in the picker. Use Edit to change which calendars a group includes, or Delete to remove a group.</source>
        <translation>Arrastre una fila para cambiar el orden de los grupos en el selector. Use Editar para cambiar los calendarios de un grupo o Eliminar para quitarlo.</translation>
    </message>
    <message>
        <source>Add group…</source>
        <translation>Añadir grupo…</translation>
    </message>
    <message>
        <source>(no groups yet)</source>
        <translation>(aún no hay grupos)</translation>
    </message>
    <message>
        <source>Built-in group</source>
        <translation>Grupo integrado</translation>
    </message>
    <message>
        <source>&quot;All Calendars&quot; is the fallback group. It can be renamed but not deleted.</source>
        <translation>«Todos los calendarios» es el grupo de reserva. Se puede renombrar, pero no eliminar.</translation>
    </message>
    <message>
        <source>Delete group?</source>
        <translation>¿Eliminar el grupo?</translation>
    </message>
    <message>
        <source>Delete &quot;%1&quot;? You can recreate it later.</source>
        <translation>¿Eliminar «%1»? Puede volver a crearlo más tarde.</translation>
    </message>
    <message>
        <source>Database Error</source>
        <translation>Error de base de datos</translation>
    </message>
    <message>
        <source>Could not delete the group.</source>
        <translation>No se pudo eliminar el grupo.</translation>
    </message>
    <message>
        <source>Could not save the order of the groups.</source>
        <translation>No se pudo guardar el orden de los grupos.</translation>
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
    <message numerus="yes">
        <source>In %n minute(s) (%1)</source>
        <translation>
            <numerusform>En %n minuto (%1)</numerusform>
            <numerusform>En %n minutos (%1)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>In %nh (%1)</source>
        <translation>
            <numerusform>En %n h (%1)</numerusform>
            <numerusform>En %n h (%1)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>In %nh %1m (%2)</source>
        <translation>
            <numerusform>En %n h %1 min (%2)</numerusform>
            <numerusform>En %n h %1 min (%2)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Started %n minute(s) ago (%1)</source>
        <translation>
            <numerusform>Empezó hace %n minuto (%1)</numerusform>
            <numerusform>Empezó hace %n minutos (%1)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n reminder(s)</source>
        <translation>
            <numerusform>%n recordatorio</numerusform>
            <numerusform>%n recordatorios</numerusform>
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
    <message>
        <source>Calendar Subscriptions</source>
        <translation>Suscripciones de calendario</translation>
    </message>
</context>
<context>
    <name>QuickAddDialog</name>
    <message>
        <source>Quick Add</source>
        <translation>Añadido rápido</translation>
    </message>
    <message>
        <source>Type an event in plain English.</source>
        <translation>Escriba un evento en inglés sencillo.</translation>
    </message>
    <message>
        <source>e.g. &quot;lunch Thursday 1pm&quot;</source>
        <translation>p. ej., &quot;lunch Thursday 1pm&quot;</translation>
    </message>
    <message>
        <source>Couldn&apos;t save event</source>
        <translation>No se pudo guardar el evento</translation>
    </message>
    <message>
        <source>No such date: %1</source>
        <translation>Esa fecha no existe: %1</translation>
    </message>
    <message>
        <source>No such time: %1</source>
        <translation>Esa hora no existe: %1</translation>
    </message>
</context>
<context>
    <name>ReadOnlyLock</name>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
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
        <location filename="../../mainwindow/recurringeditscopedialog.cpp" line="+14"/>
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
    <message>
        <source>Delete Recurring Event</source>
        <translation>Eliminar evento periódico</translation>
    </message>
    <message>
        <source>Delete &quot;%1&quot;</source>
        <translation>Eliminar «%1»</translation>
    </message>
    <message>
        <source>This event repeats. Delete:</source>
        <translation>Este evento se repite. Eliminar:</translation>
    </message>
    <message>
        <source>Only this occurrence is deleted; the rest of the series stays.</source>
        <translation>Solo se elimina esta repetición; el resto de la serie se mantiene.</translation>
    </message>
    <message>
        <source>This occurrence and every later one are deleted. Past occurrences stay.</source>
        <translation>Se eliminan esta repetición y todas las posteriores. Las anteriores se mantienen.</translation>
    </message>
    <message>
        <source>Every occurrence — past and future — is deleted.</source>
        <translation>Se eliminan todas las repeticiones, pasadas y futuras.</translation>
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
    <name>SearchDialog</name>
    <message>
        <source>Search</source>
        <translation>Buscar</translation>
    </message>
    <message>
        <source>Search events by title, location, or notes…</source>
        <translation>Buscar eventos por título, ubicación o notas…</translation>
    </message>
    <message>
        <source>Range:</source>
        <translation>Intervalo:</translation>
    </message>
    <message>
        <source>All time</source>
        <translation>Todo el tiempo</translation>
    </message>
    <message>
        <source>Past 30 days</source>
        <translation>Últimos 30 días</translation>
    </message>
    <message>
        <source>Past 90 days</source>
        <translation>Últimos 90 días</translation>
    </message>
    <message>
        <source>Next 30 days</source>
        <translation>Próximos 30 días</translation>
    </message>
    <message>
        <source>Next 12 months</source>
        <translation>Próximos 12 meses</translation>
    </message>
    <message>
        <source>Calendars</source>
        <translation>Calendarios</translation>
    </message>
    <message>
        <source>Type to search.</source>
        <translation>Escriba para buscar.</translation>
    </message>
    <message>
        <source>%1 (all day)</source>
        <translation>%1 (todo el día)</translation>
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
        <translation>Siga escribiendo…</translation>
    </message>
    <message numerus="yes">
        <source>%n result(s).</source>
        <translation>
            <numerusform>%n resultado.</numerusform>
            <numerusform>%n resultados.</numerusform>
        </translation>
    </message>
    <message>
        <source>No matches in this range.</source>
        <translation>No hay coincidencias en este intervalo.</translation>
    </message>
    <message>
        <source>(Untitled)</source>
        <translation>(Sin título)</translation>
    </message>
</context>
<context>
    <name>StoreFailureText</name>
    <message>
        <source>could not save: the disk is full</source>
        <translation>no se pudo guardar: el disco está lleno</translation>
    </message>
    <message>
        <source>could not save: the calendar database is read-only</source>
        <translation>no se pudo guardar: la base de datos del calendario es de solo lectura</translation>
    </message>
    <message>
        <source>could not save: the calendar database is locked by another program</source>
        <translation>no se pudo guardar: otro programa ha bloqueado la base de datos del calendario</translation>
    </message>
    <message>
        <source>could not save: an import is running; try again when it has finished</source>
        <translation>no se pudo guardar: hay una importación en curso; inténtelo de nuevo cuando termine</translation>
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
    <name>TemplateEditorDialog</name>
    <message>
        <source>New Template</source>
        <translation>Nueva plantilla</translation>
    </message>
    <message>
        <source>Edit Template</source>
        <translation>Editar plantilla</translation>
    </message>
    <message>
        <source>At time of event</source>
        <translation>A la hora del evento</translation>
    </message>
    <message numerus="yes">
        <source>%n minute(s) before</source>
        <translation>
            <numerusform>%n minuto antes</numerusform>
            <numerusform>%n minutos antes</numerusform>
        </translation>
    </message>
    <message>
        <source>1 hour before</source>
        <translation>1 hora antes</translation>
    </message>
    <message numerus="yes">
        <source>%n day(s) before</source>
        <translation>
            <numerusform>%n día antes</numerusform>
            <numerusform>%n días antes</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n hour(s) before</source>
        <translation>
            <numerusform>%n hora antes</numerusform>
            <numerusform>%n horas antes</numerusform>
        </translation>
    </message>
    <message>
        <source>Template name</source>
        <translation>Nombre de la plantilla</translation>
    </message>
    <message>
        <source>e.g., Standup, Doctor visit</source>
        <translation>p. ej., Reunión diaria, Visita al médico</translation>
    </message>
    <message>
        <source>Event title</source>
        <translation>Título del evento</translation>
    </message>
    <message>
        <source>Event title shown on the calendar</source>
        <translation>Título del evento mostrado en el calendario</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Descripción</translation>
    </message>
    <message>
        <source>Location</source>
        <translation>Ubicación</translation>
    </message>
    <message>
        <source>Optional location</source>
        <translation>Ubicación opcional</translation>
    </message>
    <message>
        <source>Use calendar color</source>
        <translation>Usar el color del calendario</translation>
    </message>
    <message>
        <source>Color</source>
        <translation>Color</translation>
    </message>
    <message>
        <source>(use default)</source>
        <translation>(usar predeterminado)</translation>
    </message>
    <message>
        <source>Calendar</source>
        <translation>Calendario</translation>
    </message>
    <message>
        <source>All-day event</source>
        <translation>Evento de todo el día</translation>
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
        <translation>Duración predeterminada</translation>
    </message>
    <message>
        <source>Recurrence</source>
        <translation>Repetición</translation>
    </message>
    <message>
        <source>Reminders</source>
        <translation>Recordatorios</translation>
    </message>
    <message>
        <source>+ Add reminder</source>
        <translation>+ Añadir recordatorio</translation>
    </message>
    <message>
        <source>No reminders</source>
        <translation>Sin recordatorios</translation>
    </message>
    <message>
        <source>Remove reminder</source>
        <translation>Quitar recordatorio</translation>
    </message>
    <message>
        <source>Inherits the calendar&apos;s color. Click to override.</source>
        <translation>Hereda el color del calendario. Haga clic para cambiarlo.</translation>
    </message>
    <message>
        <source>%1, click to change.</source>
        <translation>%1, haga clic para cambiarlo.</translation>
    </message>
    <message>
        <source>Does not repeat</source>
        <translation>No se repite</translation>
    </message>
    <message>
        <source>Template color</source>
        <translation>Color de la plantilla</translation>
    </message>
    <message>
        <source>Missing name</source>
        <translation>Falta el nombre</translation>
    </message>
    <message>
        <source>Give this template a name so you can pick it later.</source>
        <translation>Dé un nombre a esta plantilla para poder elegirla más tarde.</translation>
    </message>
    <message>
        <source>Missing event title</source>
        <translation>Falta el título del evento</translation>
    </message>
    <message>
        <source>Set the event title. That&apos;s what events created from this template will be called.</source>
        <translation>Indique el título del evento. Así se llamarán los eventos creados con esta plantilla.</translation>
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
    <message>
        <source>&amp;Quick Add…</source>
        <translation>Añadido &amp;rápido…</translation>
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
    <name>ViewFormDialog</name>
    <message>
        <source>Every calendar of this group has been deleted, so it shows nothing. Check the calendars it should include; saved without any, it includes every visible calendar.</source>
        <translation>Todos los calendarios de este grupo se han eliminado, así que no muestra nada. Marque los calendarios que debe incluir; si se guarda sin ninguno, incluye todos los calendarios visibles.</translation>
    </message>
    <message>
        <source>Add Calendar Group</source>
        <translation>Añadir grupo de calendarios</translation>
    </message>
    <message>
        <source>Edit Calendar Group</source>
        <translation>Editar grupo de calendarios</translation>
    </message>
    <message>
        <source>Calendar Groups are saved sets of calendars you switch between. Pick which calendars belong to this group, leave the list empty to include every visible calendar.</source>
        <translation>Los grupos de calendarios son conjuntos guardados de calendarios entre los que puede cambiar. Elija qué calendarios pertenecen a este grupo; deje la lista vacía para incluir todos los calendarios visibles.</translation>
    </message>
    <message>
        <source>e.g. Work, Personal, Travel</source>
        <translation>p. ej. Trabajo, Personal, Viajes</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>&amp;Nombre:</translation>
    </message>
    <message>
        <source>&amp;Accent:</source>
        <translation>&amp;Color de acento:</translation>
    </message>
    <message>
        <source>Calendars:</source>
        <translation>Calendarios:</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Guardar</translation>
    </message>
    <message>
        <source>Create Group</source>
        <translation>Crear grupo</translation>
    </message>
    <message>
        <source>“All Calendars” always covers every visible calendar — its membership can't be edited. Toggle individual calendars from their own menus instead.</source>
        <translation>«Todos los calendarios» siempre incluye todos los calendarios visibles; sus miembros no se pueden editar. Active o desactive cada calendario desde su propio menú.</translation>
    </message>
    <message>
        <source>(no accent)</source>
        <translation>(sin acento)</translation>
    </message>
    <message>
        <source>Pick a group accent color</source>
        <translation>Elija un color de acento para el grupo</translation>
    </message>
    <message>
        <source>Name required</source>
        <translation>Nombre obligatorio</translation>
    </message>
    <message>
        <source>Please enter a name for the group.</source>
        <translation>Introduzca un nombre para el grupo.</translation>
    </message>
    <message>
        <source>Database Error</source>
        <translation>Error de base de datos</translation>
    </message>
    <message>
        <source>Could not save the group.</source>
        <translation>No se pudo guardar el grupo.</translation>
    </message>
</context>
<context>
    <name>WeekAgenda</name>
    <message numerus="yes">
        <source>At least %Ln more on this day</source>
        <translation>
            <numerusform>Al menos %Ln más este día</numerusform>
            <numerusform>Al menos %Ln más este día</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln more on this day</source>
        <translation>
            <numerusform>%Ln más este día</numerusform>
            <numerusform>%Ln más este día</numerusform>
        </translation>
    </message>
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
        <source>From %1</source>
        <translation>Desde las %1</translation>
    </message>
    <message>
        <source>Until %1</source>
        <translation>Hasta las %1</translation>
    </message>
    <message>
        <source>Continues all day</source>
        <translation>Continúa todo el día</translation>
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
        <location line="+28"/>
        <source>Couldn&apos;t save event</source>
        <translation>No se pudo guardar el evento</translation>
    </message>
</context>
<context>
    <name>OAuthSignIn</name>
    <message>
        <source>Sign-in cancelled.</source>
        <translation>Inicio de sesión cancelado.</translation>
    </message>
    <message>
        <source>Sign-in state mismatch. The redirect didn't match our request; please try again.</source>
        <translation>El estado del inicio de sesión no coincide. La redirección no correspondía a nuestra solicitud; inténtelo de nuevo.</translation>
    </message>
    <message>
        <source>Token exchange failed (HTTP %1): %2</source>
        <translation>Falló el intercambio de tokens (HTTP %1): %2</translation>
    </message>
</context>
<context>
    <name>Google::AuthService</name>
    <message>
        <source>Google OAuth credentials are not configured in this build. See .env.example.</source>
        <translation>Las credenciales OAuth de Google no están configuradas en esta compilación. Consulte .env.example.</translation>
    </message>
    <message>
        <source>Could not bind a local port for the Google sign-in callback: %1</source>
        <translation>No se pudo abrir un puerto local para la respuesta del inicio de sesión de Google: %1</translation>
    </message>
    <message>
        <source>Could not launch the system browser for Google sign-in.</source>
        <translation>No se pudo abrir el navegador del sistema para iniciar sesión en Google.</translation>
    </message>
    <message>
        <source>Google denied the sign-in: %1</source>
        <translation>Google denegó el inicio de sesión: %1</translation>
    </message>
    <message>
        <source>Google did not return an authorization code.</source>
        <translation>Google no devolvió ningún código de autorización.</translation>
    </message>
    <message>
        <source>Google did not return an access token.</source>
        <translation>Google no devolvió ningún token de acceso.</translation>
    </message>
    <message>
        <source>Google did not return a refresh token. Try removing the app from your Google Account permissions and signing in again.</source>
        <translation>Google no devolvió ningún token de actualización. Quite la aplicación de los permisos de su cuenta de Google e inicie sesión de nuevo.</translation>
    </message>
</context>
<context>
    <name>Microsoft::AuthService</name>
    <message>
        <source>Microsoft OAuth credentials are not configured in this build. See .env.example.</source>
        <translation>Las credenciales OAuth de Microsoft no están configuradas en esta compilación. Consulte .env.example.</translation>
    </message>
    <message>
        <source>Could not bind a local port for the Microsoft sign-in callback: %1</source>
        <translation>No se pudo abrir un puerto local para la respuesta del inicio de sesión de Microsoft: %1</translation>
    </message>
    <message>
        <source>Could not launch the system browser for Microsoft sign-in.</source>
        <translation>No se pudo abrir el navegador del sistema para iniciar sesión en Microsoft.</translation>
    </message>
    <message>
        <source>Microsoft denied the sign-in: %1</source>
        <translation>Microsoft denegó el inicio de sesión: %1</translation>
    </message>
    <message>
        <source>Microsoft did not return an authorization code.</source>
        <translation>Microsoft no devolvió ningún código de autorización.</translation>
    </message>
    <message>
        <source>Microsoft did not return an access token.</source>
        <translation>Microsoft no devolvió ningún token de acceso.</translation>
    </message>
    <message>
        <source>Microsoft did not return a refresh token. Verify offline_access is in the scopes configured for this app.</source>
        <translation>Microsoft no devolvió ningún token de actualización. Compruebe que offline_access está entre los ámbitos configurados para esta aplicación.</translation>
    </message>
</context>
<context>
    <name>Google::SyncClient</name>
    <message>
        <source>The event could not be stored here.</source>
        <translation>El evento no se pudo guardar aquí.</translation>
    </message>
</context>
<context>
    <name>ProviderEvents</name>
    <message>
        <source>The service cannot repeat an event more often than daily.</source>
        <translation>El servicio no puede repetir un evento con más frecuencia que a diario.</translation>
    </message>
    <message>
        <source>The end of the repetition cannot be read.</source>
        <translation>No se puede leer el final de la repetición.</translation>
    </message>
</context>
<context>
    <name>ProviderProblems</name>
    <message numerus="yes">
        <source>%n item(s) could not be synced</source>
        <translation>
            <numerusform>No se pudo sincronizar %n elemento</numerusform>
            <numerusform>No se pudieron sincronizar %n elementos</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>DesktopNotifications</name>
    <message>
        <source>Open</source>
        <translation>Abrir</translation>
    </message>
</context>
<context>
    <name>Webcal::SyncClient</name>
    <message numerus="yes">
        <source>%n event(s) of the subscription could not be stored</source>
        <translation>
            <numerusform>No se pudo guardar %n evento de la suscripción</numerusform>
            <numerusform>No se pudieron guardar %n eventos de la suscripción</numerusform>
        </translation>
    </message>
</context>
</TS>
