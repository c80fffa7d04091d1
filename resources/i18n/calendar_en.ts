<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>CalDavClient</name>
    <message numerus="yes">
        <location filename="../../sync/caldav/caldavclient.cpp" line="+256"/>
        <source>The server did not answer for %n second(s).</source>
        <translation>
            <numerusform>The server did not answer for %n second.</numerusform>
            <numerusform>The server did not answer for %n seconds.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>The server did not finish its answer within %n second(s).</source>
        <translation>
            <numerusform>The server did not finish its answer within %n second.</numerusform>
            <numerusform>The server did not finish its answer within %n seconds.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CalDavSyncClient</name>
    <message numerus="yes">
        <location filename="../../sync/caldav/caldavsyncrun.cpp" line="+218"/>
        <source>%n item(s) could not be synced</source>
        <translation>
            <numerusform>%n item could not be synced</numerusform>
            <numerusform>%n items could not be synced</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message numerus="yes">
        <source>%n value(s) were not valid UTF-8 and were read as Windows-1252</source>
        <translation>
            <numerusform>%n value was not valid UTF-8 and was read as Windows-1252</numerusform>
            <numerusform>%n values were not valid UTF-8 and were read as Windows-1252</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Imported %n event(s) from %1 (%2 updated)</source>
        <translation>
            <numerusform>Imported %n event from %1 (%2 updated)</numerusform>
            <numerusform>Imported %n events from %1 (%2 updated)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Nothing new in %1: its %n event(s) are in the calendar already</source>
        <translation>
            <numerusform>Nothing new in %1: its %n event is in the calendar already</numerusform>
            <numerusform>Nothing new in %1: its %n events are in the calendar already</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location filename="../../mainwindow/mainwindow.cpp" line="+224"/>
        <source>Imported %n event(s) from %1</source>
        <translation>
            <numerusform>Imported %n event from %1</numerusform>
            <numerusform>Imported %n events from %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>Imported %n event(s) from %1; %2 could not be stored</source>
        <translation>
            <numerusform>Imported %n event from %1; %2 could not be stored</numerusform>
            <numerusform>Imported %n events from %1; %2 could not be stored</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+99"/>
        <source>Loaded %n sample row(s).</source>
        <translation>
            <numerusform>Loaded %n sample row.</numerusform>
            <numerusform>Loaded %n sample rows.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+11"/>
        <source>Removed %n sample row(s).</source>
        <translation>
            <numerusform>Removed %n sample row.</numerusform>
            <numerusform>Removed %n sample rows.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1; %n task(s) not imported</source>
        <translation>
            <numerusform>%1; %n task not imported</numerusform>
            <numerusform>%1; %n tasks not imported</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>NotificationService</name>
    <message numerus="yes">
        <source>In %n minute(s) (%1)</source>
        <translation>
            <numerusform>In %n minute (%1)</numerusform>
            <numerusform>In %n minutes (%1)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>In %nh (%1)</source>
        <translation>
            <numerusform>In %nh (%1)</numerusform>
            <numerusform>In %nh (%1)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>In %nh %1m (%2)</source>
        <translation>
            <numerusform>In %nh %1m (%2)</numerusform>
            <numerusform>In %nh %1m (%2)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Started %n minute(s) ago (%1)</source>
        <translation>
            <numerusform>Started %n minute ago (%1)</numerusform>
            <numerusform>Started %n minutes ago (%1)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n reminder(s)</source>
        <translation>
            <numerusform>%n reminder</numerusform>
            <numerusform>%n reminders</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message numerus="yes">
        <location filename="../../core/rruleformat.cpp" line="+127"/>
        <source>%n time(s)</source>
        <translation>
            <numerusform>%n time</numerusform>
            <numerusform>%n times</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SearchDialog</name>
    <message numerus="yes">
        <source>%n result(s).</source>
        <translation>
            <numerusform>%n result.</numerusform>
            <numerusform>%n results.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SyncStatusText</name>
    <message numerus="yes">
        <source>Discovered %n new calendar(s).</source>
        <translation>
            <numerusform>Discovered %n new calendar.</numerusform>
            <numerusform>Discovered %n new calendars.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Google's calendar list did not end after %n page(s).</source>
        <translation>
            <numerusform>Google's calendar list did not end after %n page.</numerusform>
            <numerusform>Google's calendar list did not end after %n pages.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Google's event listing did not end after %n page(s).</source>
        <translation>
            <numerusform>Google's event listing did not end after %n page.</numerusform>
            <numerusform>Google's event listing did not end after %n pages.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n event(s) failed to save locally; will retry next sync.</source>
        <translation>
            <numerusform>%n event failed to save locally; will retry next sync.</numerusform>
            <numerusform>%n events failed to save locally; will retry next sync.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>TemplateEditorDialog</name>
    <message numerus="yes">
        <source>%n minute(s) before</source>
        <translation>
            <numerusform>%n minute before</numerusform>
            <numerusform>%n minutes before</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n day(s) before</source>
        <translation>
            <numerusform>%n day before</numerusform>
            <numerusform>%n days before</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n hour(s) before</source>
        <translation>
            <numerusform>%n hour before</numerusform>
            <numerusform>%n hours before</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ProviderProblems</name>
    <message numerus="yes">
        <source>%n item(s) could not be synced</source>
        <translation>
            <numerusform>%n item could not be synced</numerusform>
            <numerusform>%n items could not be synced</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>WeekAgenda</name>
    <message numerus="yes">
        <source>At least %Ln more on this day</source>
        <translation>
            <numerusform>At least %Ln more on this day</numerusform>
            <numerusform>At least %Ln more on this day</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln more on this day</source>
        <translation>
            <numerusform>%Ln more on this day</numerusform>
            <numerusform>%Ln more on this day</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Webcal::SyncClient</name>
    <message numerus="yes">
        <source>%n event(s) of the subscription could not be stored</source>
        <translation>
            <numerusform>%n event of the subscription could not be stored</numerusform>
            <numerusform>%n events of the subscription could not be stored</numerusform>
        </translation>
    </message>
</context>
</TS>
