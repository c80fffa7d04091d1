<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>MainWindow</name>
    <message numerus="yes">
        <location filename="../../mainwindow/mainwindow.cpp" line="+223"/>
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
        <location filename="../../sync/caldav/synccoordinator.cpp" line="+151"/>
        <source>Discovered %n new calendar(s).</source>
        <translation>
            <numerusform>Discovered %n new calendar.</numerusform>
            <numerusform>Discovered %n new calendars.</numerusform>
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
</TS>
