<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
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
        <translation>Version :</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Released:</source>
        <translation>Publiée le :</translation>
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
        <translation>Taille du téléchargement :</translation>
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
</TS>
