<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES">
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
</TS>
