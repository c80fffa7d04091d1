<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>TolmUpdate::UpdateDialog</name>
    <message>
        <location filename="../../update/updatedialog.cpp" line="+34"/>
        <source>Update available</source>
        <translation>アップデートがあります</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 %2 is available.</source>
        <translation>%1 %2 が利用可能です。</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>You have version %1.</source>
        <translation>現在のバージョンは %1 です。</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>This update is required.</source>
        <translation>このアップデートは必須です。</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Version:</source>
        <translation>バージョン:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Released:</source>
        <translation>リリース日:</translation>
    </message>
    <message>
        <location line="+3"/>
        <location line="+3"/>
        <source>Unknown</source>
        <translation>不明</translation>
    </message>
    <message>
        <location line="-1"/>
        <source>Download size:</source>
        <translation>ダウンロードサイズ:</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Release notes</source>
        <translation>リリースノート</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Download</source>
        <translation>ダウンロード</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Later</source>
        <translation>後で</translation>
    </message>
</context>
</TS>
