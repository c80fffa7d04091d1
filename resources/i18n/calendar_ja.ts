<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>AgendaTaskList</name>
    <message>
        <source>All day</source>
        <translation>終日</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>無題</translation>
    </message>
    <message>
        <source>Completed &quot;%1&quot;</source>
        <translation>「%1」の完了</translation>
    </message>
    <message>
        <source>Reopened &quot;%1&quot;</source>
        <translation>「%1」の再開</translation>
    </message>
</context>
<context>
    <name>CalendarFormDialog</name>
    <message>
        <source>Add Calendar</source>
        <translation>カレンダーを追加</translation>
    </message>
    <message>
        <source>Add Calendar to %1</source>
        <translation>%1 にカレンダーを追加</translation>
    </message>
    <message>
        <source>Edit Calendar</source>
        <translation>カレンダーを編集</translation>
    </message>
    <message>
        <source>Create a new calendar on the CalDAV server. The server must allow MKCALENDAR for your user; if it refuses, the calendar will not be created.</source>
        <translation>CalDAV サーバーに新しいカレンダーを作成します。サーバーがこのユーザーに MKCALENDAR を許可している必要があります。拒否された場合、カレンダーは作成されません。</translation>
    </message>
    <message>
        <source>e.g. Personal, Work, Family</source>
        <translation>例: 個人、仕事、家族</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>名前(&amp;N):</translation>
    </message>
    <message>
        <source>&amp;Color:</source>
        <translation>色(&amp;C):</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>Create</source>
        <translation>作成</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>Pick a calendar color</source>
        <translation>カレンダーの色を選択</translation>
    </message>
    <message>
        <source>Name required</source>
        <translation>名前が必要です</translation>
    </message>
    <message>
        <source>Please enter a name for the calendar.</source>
        <translation>カレンダーの名前を入力してください。</translation>
    </message>
    <message>
        <source>Database Error</source>
        <translation>データベースエラー</translation>
    </message>
    <message>
        <source>Could not save the calendar.</source>
        <translation>カレンダーを保存できませんでした。</translation>
    </message>
    <message>
        <source>Could not create the local account row.</source>
        <translation>ローカルアカウントを作成できませんでした。</translation>
    </message>
    <message>
        <source>Missing password</source>
        <translation>パスワードがありません</translation>
    </message>
    <message>
        <source>No saved password for this account. Edit the account first to re-enter your credentials.</source>
        <translation>このアカウントにはパスワードが保存されていません。先にアカウントを編集して資格情報を入力し直してください。</translation>
    </message>
    <message>
        <source>Creating calendar on server…</source>
        <translation>サーバーにカレンダーを作成しています…</translation>
    </message>
    <message>
        <source>Network error: %1</source>
        <translation>ネットワークエラー: %1</translation>
    </message>
    <message>
        <source>Server refused (HTTP %1). Your account may not have permission to create calendars on this server.</source>
        <translation>サーバーが拒否しました (HTTP %1)。このアカウントにはこのサーバーでカレンダーを作成する権限がない可能性があります。</translation>
    </message>
    <message>
        <source>Server returned success but the new calendar isn&apos;t reachable. This server may not support MKCALENDAR.</source>
        <translation>サーバーは成功を返しましたが、新しいカレンダーにアクセスできません。このサーバーは MKCALENDAR に対応していない可能性があります。</translation>
    </message>
    <message>
        <source>Created on server, but couldn&apos;t save locally. Run sync to recover.</source>
        <translation>サーバーには作成されましたが、ローカルに保存できませんでした。同期すると復旧します。</translation>
    </message>
    <message>
        <source>Account missing</source>
        <translation>アカウントがありません</translation>
    </message>
    <message>
        <source>Could not find the parent account.</source>
        <translation>親アカウントが見つかりませんでした。</translation>
    </message>
    <message>
        <source>Saving changes to server…</source>
        <translation>変更をサーバーに保存しています…</translation>
    </message>
    <message>
        <source>Server refused (HTTP %1). You may not have permission to rename or recolour this calendar.</source>
        <translation>サーバーが拒否しました (HTTP %1)。このカレンダーの名前や色を変更する権限がない可能性があります。</translation>
    </message>
    <message>
        <source>Saved on server, but couldn&apos;t update locally.</source>
        <translation>サーバーには保存されましたが、ローカルで更新できませんでした。</translation>
    </message>
    <message>
        <source>Server refused (HTTP 409): the folder that should hold the new calendar does not exist on the server.</source>
        <translation>サーバーが拒否しました (HTTP 409): 新しいカレンダーを入れるフォルダーがサーバーに存在しません。</translation>
    </message>
    <message>
        <source>Server refused (HTTP 507): the server has no storage left for a new calendar.</source>
        <translation>サーバーが拒否しました (HTTP 507): サーバーに新しいカレンダーを保存する空き容量がありません。</translation>
    </message>
    <message>
        <source>Server refused (HTTP %1).</source>
        <translation>サーバーが拒否しました (HTTP %1)。</translation>
    </message>
</context>
<context>
    <name>Microsoft::CalendarClient</name>
    <message>
        <source>Microsoft calendars cannot repeat on weekdays of different weeks of the month at once.</source>
        <translation>Microsoft のカレンダーでは、月の異なる週の曜日を同時に指定して繰り返すことはできません。</translation>
    </message>
    <message>
        <source>Microsoft calendars cannot repeat on every such weekday of the month.</source>
        <translation>Microsoft のカレンダーでは、月のその曜日すべてに繰り返すことはできません。</translation>
    </message>
    <message>
        <source>Microsoft calendars cannot hold this choice among the weekdays of the month.</source>
        <translation>Microsoft のカレンダーでは、月の曜日のこの選び方を保存できません。</translation>
    </message>
    <message>
        <source>Microsoft calendars can only repeat on the first to fourth or the last weekday of the month.</source>
        <translation>Microsoft のカレンダーで繰り返せるのは、月の第 1 から第 4、または最後の曜日だけです。</translation>
    </message>
    <message>
        <source>Microsoft calendars cannot repeat on several days of the month.</source>
        <translation>Microsoft のカレンダーでは、月の複数の日に繰り返すことはできません。</translation>
    </message>
    <message>
        <source>Microsoft calendars cannot repeat on a day counted from the end of the month.</source>
        <translation>Microsoft のカレンダーでは、月末から数えた日に繰り返すことはできません。</translation>
    </message>
    <message>
        <source>Microsoft calendars cannot limit a daily or weekly series to some days of the month or year.</source>
        <translation>Microsoft のカレンダーでは、毎日または毎週の繰り返しを月や年の一部の日に限ることはできません。</translation>
    </message>
    <message>
        <source>Microsoft calendars cannot repeat every few days on some weekdays only.</source>
        <translation>Microsoft のカレンダーでは、数日おきに一部の曜日だけ繰り返すことはできません。</translation>
    </message>
    <message>
        <source>Microsoft calendars cannot repeat weekly on a numbered weekday.</source>
        <translation>Microsoft のカレンダーでは、番号付きの曜日で毎週繰り返すことはできません。</translation>
    </message>
    <message>
        <source>Microsoft calendars cannot repeat yearly in several months.</source>
        <translation>Microsoft のカレンダーでは、複数の月で毎年繰り返すことはできません。</translation>
    </message>
    <message>
        <source>Microsoft calendars cannot repeat yearly on a day without its month.</source>
        <translation>Microsoft のカレンダーでは、月を指定せずに日で毎年繰り返すことはできません。</translation>
    </message>
    <message>
        <source>Microsoft calendars cannot limit a monthly series to some months.</source>
        <translation>Microsoft のカレンダーでは、毎月の繰り返しを一部の月に限ることはできません。</translation>
    </message>
    <message>
        <source>Microsoft calendars cannot repeat on a weekday and a day of the month at once.</source>
        <translation>Microsoft のカレンダーでは、曜日と月の日を同時に指定して繰り返すことはできません。</translation>
    </message>
    <message>
        <source>Microsoft calendars cannot hold this choice among the days of the month.</source>
        <translation>Microsoft のカレンダーでは、月の日のこの選び方を保存できません。</translation>
    </message>
    <message>
        <source>The repeat rule has parts that cannot be read: %1</source>
        <translation>繰り返しの規則に読み取れない部分があります: %1</translation>
    </message>
    <message>
        <source>Microsoft calendars cannot repeat by %1.</source>
        <translation>Microsoft のカレンダーでは、%1 で繰り返すことはできません。</translation>
    </message>
    <message>
        <source>The weekdays of the repeat rule cannot be read.</source>
        <translation>繰り返しの規則の曜日を読み取れません。</translation>
    </message>
    <message>
        <source>Microsoft calendars cannot repeat an event more often than daily.</source>
        <translation>Microsoft のカレンダーでは、1 日より短い間隔で予定を繰り返すことはできません。</translation>
    </message>
    <message>
        <source>The repeat rule has no frequency that can be read.</source>
        <translation>繰り返しの規則に読み取れる頻度がありません。</translation>
    </message>
    <message>
        <source>The end of the repeat rule cannot be read.</source>
        <translation>繰り返しの規則の終了を読み取れません。</translation>
    </message>
</context>
<context>
    <name>Microsoft::EventStore</name>
    <message>
        <source>The event could not be stored here.</source>
        <translation>この予定をここに保存できませんでした。</translation>
    </message>
</context>
<context>
    <name>Microsoft::SyncClient</name>
    <message>
        <source>The occurrence is not on the server.</source>
        <translation>この回はサーバーにありません。</translation>
    </message>
</context>
<context>
    <name>SyncStatusText</name>
    <message>
        <source>Subscription returned an empty body</source>
        <translation>購読から空の応答が返されました</translation>
    </message>
    <message>
        <source>Subscription did not return calendar data</source>
        <translation>購読からカレンダーデータが返されませんでした</translation>
    </message>
    <message>
        <source>The subscription&apos;s events could not be stored</source>
        <translation>購読の予定を保存できませんでした</translation>
    </message>
    <message>
        <source>The local database is not open.</source>
        <translation>ローカルデータベースが開かれていません。</translation>
    </message>
    <message>
        <source>Subscription did not answer within %1 seconds</source>
        <translation>購読が%1秒以内に応答しませんでした</translation>
    </message>
    <message>
        <source>Subscription is larger than %1 MB</source>
        <translation>購読のサイズが%1 MBを超えています</translation>
    </message>
    <message>
        <source>Invalid subscription URL: %1</source>
        <translation>無効な購読URL: %1</translation>
    </message>
    <message>
        <source>Enter a CalDAV URL starting with http:// or https://</source>
        <translation>http:// または https:// で始まる CalDAV の URL を入力してください</translation>
    </message>
    <message>
        <source>The discovery was cancelled.</source>
        <translation>カレンダーの検出が中止されました。</translation>
    </message>
    <message>
        <source>No calendars found at the discovered home set.</source>
        <translation>検出した home-set にカレンダーが見つかりませんでした。</translation>
    </message>
    <message>
        <source>Network error: %1</source>
        <translation>ネットワークエラー: %1</translation>
    </message>
    <message>
        <source>Server returned HTTP %1 during ctag check</source>
        <translation>ctag の確認中にサーバーが HTTP %1 を返しました</translation>
    </message>
    <message>
        <source>Network error during task pull: %1</source>
        <translation>タスクの取得中にネットワークエラーが発生しました: %1</translation>
    </message>
    <message>
        <source>Push error: %1</source>
        <translation>送信エラー: %1</translation>
    </message>
    <message>
        <source>Server returned HTTP %1 pushing &quot;%2&quot;</source>
        <translation>「%2」の送信中にサーバーが HTTP %1 を返しました</translation>
    </message>
    <message>
        <source>Task push error: %1</source>
        <translation>タスクの送信エラー: %1</translation>
    </message>
    <message>
        <source>Server returned HTTP %1 pushing task &quot;%2&quot;</source>
        <translation>タスク「%2」の送信中にサーバーが HTTP %1 を返しました</translation>
    </message>
    <message>
        <source>Could not reach the server: %1</source>
        <translation>サーバーに接続できませんでした: %1</translation>
    </message>
    <message>
        <source>The server rejected the username or password.</source>
        <translation>サーバーがユーザー名またはパスワードを拒否しました。</translation>
    </message>
    <message>
        <source>Server returned HTTP %1 during principal discovery.</source>
        <translation>プリンシパルの検出中にサーバーが HTTP %1 を返しました。</translation>
    </message>
    <message>
        <source>Lost connection during calendar-home-set discovery: %1</source>
        <translation>calendar-home-set の検出中に接続が切れました: %1</translation>
    </message>
    <message>
        <source>Server returned HTTP %1 during home-set discovery.</source>
        <translation>home-set の検出中にサーバーが HTTP %1 を返しました。</translation>
    </message>
    <message>
        <source>Lost connection during calendar enumeration: %1</source>
        <translation>カレンダーの一覧を取得中に接続が切れました: %1</translation>
    </message>
    <message>
        <source>Server returned HTTP %1 during calendar enumeration.</source>
        <translation>カレンダーの一覧を取得中にサーバーが HTTP %1 を返しました。</translation>
    </message>
    <message>
        <source>Subscription fetch failed (%1): %2</source>
        <translation>購読の取得に失敗しました (%1): %2</translation>
    </message>
    <message>
        <source>Subscription fetch failed: HTTP %1</source>
        <translation>購読の取得に失敗しました: HTTP %1</translation>
    </message>
    <message>
        <source>Server returned HTTP %1</source>
        <translation>サーバーが HTTP %1 を返しました</translation>
    </message>
    <message>
        <source>Synced %1 events</source>
        <translation>%1件の予定を同期しました</translation>
    </message>
    <message>
        <source>Synced %1 events; %2</source>
        <translation>%1件の予定を同期しました。%2</translation>
    </message>
    <message numerus="yes">
        <source>Discovered %n new calendar(s).</source>
        <translation>
            <numerusform>新しいカレンダーが%n件見つかりました。</numerusform>
        </translation>
    </message>
    <message>
        <source>Desktop keyring unavailable; passwords are kept in %1</source>
        <translation>デスクトップのキーリングを利用できません。パスワードは %1 に保存されます</translation>
    </message>
    <message>
        <source>No Microsoft access token available.</source>
        <translation>Microsoft のアクセストークンがありません。</translation>
    </message>
    <message>
        <source>Microsoft sent a link outside its API; the listing was stopped.</source>
        <translation>Microsoft が API 外へのリンクを返したため、一覧の取得を中止しました。</translation>
    </message>
    <message>
        <source>Microsoft's listing did not end; it was stopped.</source>
        <translation>Microsoft の一覧が終わらないため、取得を中止しました。</translation>
    </message>
    <message>
        <source>No Microsoft access token.</source>
        <translation>Microsoft のアクセストークンがありません。</translation>
    </message>
    <message>
        <source>Parent account missing</source>
        <translation>親アカウントがありません</translation>
    </message>
    <message>
        <source>No saved Microsoft credentials. Sign in again.</source>
        <translation>保存された Microsoft の資格情報がありません。もう一度サインインしてください。</translation>
    </message>
    <message>
        <source>Microsoft token refresh failed: %1</source>
        <translation>Microsoft トークンの更新に失敗しました: %1</translation>
    </message>
    <message>
        <source>Microsoft refused the listing's delta token again.</source>
        <translation>Microsoft が一覧のデルタトークンを再び拒否しました。</translation>
    </message>
    <message numerus="yes">
        <source>%n event(s) failed to save locally; will retry next sync.</source>
        <translation>
            <numerusform>%n 件の予定をローカルに保存できませんでした。次回の同期で再試行します。</numerusform>
        </translation>
    </message>
    <message>
        <source>No Google access token available.</source>
        <translation>Google のアクセストークンがありません。</translation>
    </message>
    <message numerus="yes">
        <source>Google's calendar list did not end after %n page(s).</source>
        <translation>
            <numerusform>Google のカレンダー一覧が %n ページを過ぎても終わりませんでした。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Google's event listing did not end after %n page(s).</source>
        <translation>
            <numerusform>Google の予定一覧が %n ページを過ぎても終わりませんでした。</numerusform>
        </translation>
    </message>
    <message>
        <source>No Google access token.</source>
        <translation>Google のアクセストークンがありません。</translation>
    </message>
    <message>
        <source>Google OAuth credentials are not configured.</source>
        <translation>Google の OAuth 認証情報が設定されていません。</translation>
    </message>
    <message>
        <source>Google's response had no access_token.</source>
        <translation>Google の応答に access_token がありませんでした。</translation>
    </message>
    <message>
        <source>Microsoft OAuth credentials are not configured.</source>
        <translation>Microsoft の OAuth 認証情報が設定されていません。</translation>
    </message>
    <message>
        <source>Microsoft's response had no access_token.</source>
        <translation>Microsoft の応答に access_token がありませんでした。</translation>
    </message>
    <message>
        <source>No saved Google credentials. Sign in again.</source>
        <translation>保存された Google の認証情報がありません。もう一度サインインしてください。</translation>
    </message>
    <message>
        <source>Google token refresh failed: %1</source>
        <translation>Google トークンの更新に失敗しました: %1</translation>
    </message>
    <message>
        <source>Google refused the full event listing (HTTP 410).</source>
        <translation>Google が予定の完全な一覧を拒否しました (HTTP 410)。</translation>
    </message>
    <message>
        <source>The server&apos;s answer was larger than %1 MB and was cut off.</source>
        <translation>サーバーの応答が%1 MBを超えたため、打ち切りました。</translation>
    </message>
    <message>
        <source>The server listed only part of the calendar&apos;s tasks; none were removed here.</source>
        <translation>サーバーはカレンダーのタスクの一部しか返しませんでした。ここでは何も削除していません。</translation>
    </message>
    <message>
        <source>The server listed only part of the calendar; no events were removed here.</source>
        <translation>サーバーはカレンダーの一部しか返しませんでした。ここではイベントを削除していません。</translation>
    </message>
    <message>
        <source>Google&apos;s answer was larger than %1 MB and was cut off.</source>
        <translation>Googleの応答が%1 MBを超えたため、打ち切りました。</translation>
    </message>
    <message>
        <source>Microsoft&apos;s answer was larger than %1 MB and was cut off.</source>
        <translation>Microsoftの応答が%1 MBを超えたため、打ち切りました。</translation>
    </message>
    <message>
        <source>The server&apos;s answer declared a document type, which CalDAV never uses; it was refused and nothing was changed.</source>
        <translation>サーバーの応答に CalDAV では使われない文書型宣言が含まれていたため、拒否しました。何も変更されていません。</translation>
    </message>
    <message>
        <source>The subscription arrived cut short; its events were kept as they were.</source>
        <translation>購読カレンダーが途中で途切れて届きました。予定は以前のまま保持されています。</translation>
    </message>
    <message>
        <source>The subscription&apos;s events could not be stored: the disk is full.</source>
        <translation>購読カレンダーの予定を保存できませんでした: ディスクがいっぱいです。</translation>
    </message>
    <message>
        <source>Sync stopped: the disk is full. Free some space; the next sync brings in the rest.</source>
        <translation>同期を中止しました: ディスクがいっぱいです。空き容量を確保してください。次回の同期で残りを取り込みます。</translation>
    </message>
    <message>
        <source>Sync stopped: the calendar database is read-only.</source>
        <translation>同期を中止しました: カレンダーのデータベースは読み取り専用です。</translation>
    </message>
    <message>
        <source>Sync stopped: the disk or the calendar database failed.</source>
        <translation>同期を中止しました: ディスクまたはカレンダーのデータベースで障害が発生しました。</translation>
    </message>
    <message>
        <source>Sync stopped: the calendar database did not take a change. The next sync tries again.</source>
        <translation>同期を中止しました: カレンダーのデータベースが変更を受け付けませんでした。次回の同期で再試行します。</translation>
    </message>
    <message>
        <source>%1 could not be reached (%2).</source>
        <translation>%1 に接続できませんでした (%2)。</translation>
    </message>
    <message>
        <source>Token refresh failed (HTTP %1).</source>
        <translation>トークンの更新に失敗しました (HTTP %1)。</translation>
    </message>
    <message>
        <source>%1 sent an answer that could not be read (HTTP %2).</source>
        <translation>%1 から読み取れない応答が返されました (HTTP %2)。</translation>
    </message>
    <message>
        <source>%1&apos;s usage limit was reached (HTTP %2).</source>
        <translation>%1 の利用上限に達しました (HTTP %2)。</translation>
    </message>
    <message>
        <source>%1 refused to list the calendars (HTTP %2).</source>
        <translation>%1 がカレンダーの一覧取得を拒否しました (HTTP %2)。</translation>
    </message>
    <message>
        <source>%1 refused a new event (HTTP %2).</source>
        <translation>%1 が新しい予定を拒否しました (HTTP %2)。</translation>
    </message>
    <message>
        <source>%1 refused a changed event (HTTP %2).</source>
        <translation>%1 が変更された予定を拒否しました (HTTP %2)。</translation>
    </message>
    <message>
        <source>%1 refused to delete an event (HTTP %2).</source>
        <translation>%1 が予定の削除を拒否しました (HTTP %2)。</translation>
    </message>
    <message>
        <source>%1 refused to list the calendar&apos;s events (HTTP %2).</source>
        <translation>%1 がカレンダーの予定の一覧取得を拒否しました (HTTP %2)。</translation>
    </message>
    <message>
        <source>The next sync tries again.</source>
        <translation>次回の同期で再試行します。</translation>
    </message>
    <message>
        <source>Sign in to %1 again.</source>
        <translation>%1 にもう一度サインインしてください。</translation>
    </message>
    <message>
        <source>Check that the account may still use this calendar.</source>
        <translation>このアカウントがまだこのカレンダーを使用できるか確認してください。</translation>
    </message>
    <message>
        <source>It may have been deleted there; the next sync looks again.</source>
        <translation>先方で削除された可能性があります。次回の同期で再確認します。</translation>
    </message>
</context>
<context>
    <name>TaskFormDialog</name>
    <message>
        <source>Read-only calendar</source>
        <translation>読み取り専用のカレンダー</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is read-only, so a subtask can&apos;t be added to its task: a subtask stays in its parent task&apos;s calendar.</source>
        <translation>「%1」は読み取り専用のため、このタスクにサブタスクを追加できません。サブタスクは親タスクのカレンダーに置かれます。</translation>
    </message>
    <message>
        <source>Edit Task</source>
        <translation>タスクを編集</translation>
    </message>
    <message>
        <source>New Task</source>
        <translation>新しいタスク</translation>
    </message>
    <message>
        <source>Edit task</source>
        <translation>タスクを編集</translation>
    </message>
    <message>
        <source>New task</source>
        <translation>新しいタスク</translation>
    </message>
    <message>
        <source>Update the task and save to apply.</source>
        <translation>タスクを更新し、保存して適用します。</translation>
    </message>
    <message>
        <source>Drop a quick to-do; due date and priority are optional.</source>
        <translation>手早く ToDo を追加します。期限と優先度は任意です。</translation>
    </message>
    <message>
        <source>Buy birthday gift, prep Q1 report…</source>
        <translation>誕生日プレゼントを買う、Q1 レポートの準備…</translation>
    </message>
    <message>
        <source>&amp;Title</source>
        <translation>タイトル(&amp;T)</translation>
    </message>
    <message>
        <source>&amp;Calendar</source>
        <translation>カレンダー(&amp;C)</translation>
    </message>
    <message>
        <source>Set start date</source>
        <translation>開始日を設定</translation>
    </message>
    <message>
        <source>&amp;Starts</source>
        <translation>開始(&amp;S)</translation>
    </message>
    <message>
        <source>Set due date</source>
        <translation>期限を設定</translation>
    </message>
    <message>
        <source>&amp;Due</source>
        <translation>期限(&amp;D)</translation>
    </message>
    <message>
        <source>Does not repeat</source>
        <translation>繰り返さない</translation>
    </message>
    <message>
        <source>&amp;Repeat</source>
        <translation>繰り返し(&amp;R)</translation>
    </message>
    <message>
        <source>Due date</source>
        <translation>期限日</translation>
    </message>
    <message>
        <source>Completion date</source>
        <translation>完了日</translation>
    </message>
    <message>
        <source>Due date: next due = current due + interval.
Completion date: next due = today + interval.</source>
        <translation>期限日: 次の期限 = 現在の期限 + 間隔。
完了日: 次の期限 = 今日 + 間隔。</translation>
    </message>
    <message>
        <source>Repeats &amp;from</source>
        <translation>繰り返しの基準(&amp;F)</translation>
    </message>
    <message>
        <source>— None</source>
        <translation>— なし</translation>
    </message>
    <message>
        <source>● High</source>
        <translation>● 高</translation>
    </message>
    <message>
        <source>● Medium</source>
        <translation>● 中</translation>
    </message>
    <message>
        <source>● Low</source>
        <translation>● 低</translation>
    </message>
    <message>
        <source>&amp;Priority</source>
        <translation>優先度(&amp;P)</translation>
    </message>
    <message>
        <source>Completed</source>
        <translation>完了</translation>
    </message>
    <message>
        <source>e.g. Personal, Health, Errands</source>
        <translation>例: 個人、健康、用事</translation>
    </message>
    <message>
        <source>&amp;Categories</source>
        <translation>カテゴリ(&amp;A)</translation>
    </message>
    <message>
        <source>Steps, links, context…</source>
        <translation>手順、リンク、背景…</translation>
    </message>
    <message>
        <source>&amp;Notes</source>
        <translation>メモ(&amp;N)</translation>
    </message>
    <message>
        <source>Save changes</source>
        <translation>変更を保存</translation>
    </message>
    <message>
        <source>Create task</source>
        <translation>タスクを作成</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>Subtasks stay in their parent task&apos;s calendar.</source>
        <translation>サブタスクは親タスクのカレンダーに置かれます。</translation>
    </message>
    <message>
        <source>Title required</source>
        <translation>タイトルが必要です</translation>
    </message>
    <message>
        <source>Please enter a title for the task.</source>
        <translation>タスクのタイトルを入力してください。</translation>
    </message>
    <message>
        <source>No calendars</source>
        <translation>カレンダーがありません</translation>
    </message>
    <message>
        <source>Create a calendar first.</source>
        <translation>先にカレンダーを作成してください。</translation>
    </message>
    <message>
        <source>Database Error</source>
        <translation>データベースエラー</translation>
    </message>
    <message>
        <source>Could not save the task.</source>
        <translation>タスクを保存できませんでした。</translation>
    </message>
</context>
<context>
    <name>Application</name>
    <message>
        <location filename="../../app/application.cpp" line="+131"/>
        <source>Database Error</source>
        <translation>データベースエラー</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Failed to initialize the database.

Data directory: %1

Please check file permissions and try again.</source>
        <translation>データベースを初期化できませんでした。

データフォルダー: %1

ファイルのアクセス権を確認して、もう一度お試しください。</translation>
    </message>
    <message>
        <source>The calendar database is locked by another program.

Data directory: %1

Close the program that has it open and start again.</source>
        <translation>カレンダーのデータベースは別のプログラムによってロックされています。

データフォルダー: %1

それを開いているプログラムを閉じてから、もう一度起動してください。</translation>
    </message>
    <message>
        <source>The calendar database is damaged and cannot be opened. It has not been changed.

Data directory: %1

Restore a copy of calendar.db, or move it away to start with an empty calendar.</source>
        <translation>カレンダーのデータベースは破損しているため開けません。変更はされていません。

データフォルダー: %1

calendar.db のコピーを復元するか、ファイルを移動して空のカレンダーで始めてください。</translation>
    </message>
    <message>
        <source>The calendar database was created by a newer version of this program and cannot be opened by this one. It has not been changed.

Data directory: %1

Please use the newer version.</source>
        <translation>カレンダーのデータベースはこのプログラムの新しいバージョンで作成されたため、このバージョンでは開けません。データベースは変更されていません。

データディレクトリ: %1

新しいバージョンを使用してください。</translation>
    </message>
    <message>
        <source>Calendar Already Running</source>
        <translation>カレンダーは既に実行中です</translation>
    </message>
    <message>
        <source>The calendar data folder is in use by another running calendar program.

Data directory: %1

This one ends now.</source>
        <translation>カレンダーのデータフォルダーは実行中の別のカレンダープログラムが使用しています。

データディレクトリ: %1

このプログラムは終了します。</translation>
    </message>
    <message>
        <source>Read-Only Calendar</source>
        <translation>読み取り専用のカレンダー</translation>
    </message>
    <message>
        <source>The calendar database is read-only: changes cannot be saved.

Data directory: %1</source>
        <translation>カレンダーのデータベースは読み取り専用です: 変更を保存できません。

データディレクトリ: %1</translation>
    </message>
</context>
<context>
    <name>CalDavClient</name>
    <message>
        <location filename="../../sync/caldav/caldavclient.cpp" line="+207"/>
        <source>Unsupported URL: %1</source>
        <translation>サポートされていない URL です: %1</translation>
    </message>
    <message numerus="yes">
        <location line="+49"/>
        <source>The server did not answer for %n second(s).</source>
        <translation>
            <numerusform>サーバーが%n秒間応答しませんでした。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>The server did not finish its answer within %n second(s).</source>
        <translation>
            <numerusform>サーバーが%n秒以内に応答を終えませんでした。</numerusform>
        </translation>
    </message>
    <message>
        <source>The server&apos;s answer was larger than %1 MB and was cut off.</source>
        <translation>サーバーの応答が%1 MBを超えたため、打ち切りました。</translation>
    </message>
    <message>
        <source>The server&apos;s answer declared a document type, which CalDAV never uses; it was refused.</source>
        <translation>サーバーの応答に CalDAV では使われない文書型宣言が含まれていたため、拒否しました。</translation>
    </message>
    <message>
        <source>The server&apos;s answer ended before it was whole.</source>
        <translation>サーバーの応答が完了する前に途切れました。</translation>
    </message>
</context>
<context>
    <name>CalDavSyncClient</name>
    <message numerus="yes">
        <location line="+31"/>
        <source>%n item(s) could not be synced</source>
        <translation>
            <numerusform>%n件の項目を同期できませんでした</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>DialogParts</name>
    <message>
        <source>Edit…</source>
        <translation>編集…</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>削除</translation>
    </message>
</context>
<context>
    <name>EventAccess</name>
    <message>
        <source>Events of a subscribed calendar can&apos;t be changed.</source>
        <translation>購読中のカレンダーの予定は変更できません。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is read-only: its events cannot be changed here.</source>
        <translation>「%1」は読み取り専用です。ここではその予定を変更できません。</translation>
    </message>
</context>
<context>
    <name>EventDetailsPopover</name>
    <message>
        <location filename="../../mainwindow/eventdetailspopover.cpp" line="+48"/>
        <source>(No title)</source>
        <translation>(タイトルなし)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Repeats</source>
        <translation>繰り返し</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>Edit</source>
        <translation>編集</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Delete</source>
        <translation>削除</translation>
    </message>
    <message>
        <location line="+32"/>
        <source>%1 · All day</source>
        <translation>%1 · 終日</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 – %2 · All day</source>
        <translation>%1 – %2 · 終日</translation>
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
        <translation>予定を削除しますか？</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Delete &quot;%1&quot;? You can undo with %2.</source>
        <translation>「%1」を削除しますか？%2 で元に戻せます。</translation>
    </message>
    <message>
        <source>Database Error</source>
        <translation>データベースエラー</translation>
    </message>
    <message>
        <source>Could not delete &quot;%1&quot;.</source>
        <translation>「%1」を削除できませんでした。</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Deleted &quot;%1&quot;</source>
        <translation>「%1」の削除</translation>
    </message>
    <message>
        <source>Reminders: %1</source>
        <translation>リマインダー: %1</translation>
    </message>
    <message>
        <source>Online meeting: %1</source>
        <translation>オンライン会議: %1</translation>
    </message>
    <message>
        <source>Join online meeting</source>
        <translation>オンライン会議に参加</translation>
    </message>
</context>
<context>
    <name>EventFormDialog</name>
    <message>
        <location filename="../../editors/eventformdialog.cpp" line="+115"/>
        <source>Edit Event</source>
        <translation>予定を編集</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>New Event</source>
        <translation>新しい予定</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>At time of event</source>
        <translation>予定の時刻</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>5 minutes before</source>
        <translation>5分前</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>10 minutes before</source>
        <translation>10分前</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>15 minutes before</source>
        <translation>15分前</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>30 minutes before</source>
        <translation>30分前</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>1 hour before</source>
        <translation>1時間前</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>2 hours before</source>
        <translation>2時間前</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>1 day before</source>
        <translation>1日前</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>2 days before</source>
        <translation>2日前</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>1 week before</source>
        <translation>1週間前</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 minutes before</source>
        <translation>%1分前</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 hours before</source>
        <translation>%1時間前</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 days before</source>
        <translation>%1日前</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Going</source>
        <translation>参加</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Declined</source>
        <translation>不参加</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Maybe</source>
        <translation>未定</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Delegated</source>
        <translation>委任</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>No response</source>
        <translation>未回答</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>Edit event</source>
        <translation>予定を編集</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>New event</source>
        <translation>新しい予定</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>From template…</source>
        <translation>テンプレートから…</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Update the details below and save to apply.</source>
        <translation>詳細を変更し、保存して反映します。</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Fill in the basics. Start time and calendar are required.</source>
        <translation>基本情報を入力してください。開始時刻とカレンダーは必須です。</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Lunch with Sam, Sprint planning…</source>
        <translation>Sam とランチ、スプリント計画…</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Title</source>
        <translation>タイトル(&amp;T)</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>&amp;Calendar</source>
        <translation>カレンダー(&amp;C)</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Use calendar color</source>
        <translation>カレンダーの色を使用</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Color</source>
        <translation>色</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>&amp;Starts</source>
        <translation>開始(&amp;S)</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>&amp;Ends</source>
        <translation>終了(&amp;E)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>All day</source>
        <translation>終日</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>&amp;Repeats</source>
        <translation>繰り返し(&amp;R)</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>+ Add reminder</source>
        <translation>+ 通知を追加</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Re&amp;minders</source>
        <translation>通知(&amp;M)</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Address, room, or video link</source>
        <translation>住所、会議室、ビデオ会議のリンク</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Location</source>
        <translation>場所(&amp;L)</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Notes, agenda, links…</source>
        <translation>メモ、議題、リンク…</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;Notes</source>
        <translation>メモ(&amp;N)</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>+ Add attendee</source>
        <translation>+ 参加者を追加</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Attendees</source>
        <translation>参加者</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Save changes</source>
        <translation>変更を保存</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Create event</source>
        <translation>予定を作成</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <location line="+123"/>
        <source>Inheriting calendar color (%1). Click to override.</source>
        <translation>カレンダーの色 (%1) を使用中。クリックして変更します。</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Custom color (%1). Click to change.</source>
        <translation>カスタムカラー (%1)。クリックして変更します。</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Event color</source>
        <translation>予定の色</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Does not repeat</source>
        <translation>繰り返さない</translation>
    </message>
    <message>
        <location line="+85"/>
        <source>Name</source>
        <translation>名前</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>name@example.com</source>
        <translation>name@example.com</translation>
    </message>
    <message>
        <location line="+30"/>
        <source>No templates</source>
        <translation>テンプレートがありません</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>You haven&apos;t created any event templates yet. Open Tools → Manage Templates to create one.</source>
        <translation>予定のテンプレートはまだありません。[ツール] → [テンプレートの管理] から作成できます。</translation>
    </message>
    <message>
        <location line="+50"/>
        <source>Title required</source>
        <translation>タイトルが必要です</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Please enter a title for the event.</source>
        <translation>予定のタイトルを入力してください。</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>No calendars</source>
        <translation>カレンダーがありません</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Create a calendar first.</source>
        <translation>先にカレンダーを作成してください。</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>End before start</source>
        <translation>終了が開始より前です</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>The end time is earlier than the start time.</source>
        <translation>終了時刻が開始時刻より前になっています。</translation>
    </message>
    <message>
        <location line="+66"/>
        <source>Database Error</source>
        <translation>データベースエラー</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Could not save the event.</source>
        <translation>予定を保存できませんでした。</translation>
    </message>
</context>
<context>
    <name>FilterFormDialog</name>
    <message>
        <source>Every calendar this filter applied to has been deleted, so it matches nothing.</source>
        <translation>このフィルターの対象だったカレンダーはすべて削除されたため、何にも一致しません。</translation>
    </message>
    <message>
        <source>Every calendar this filter applied to has been deleted, so it matches nothing. Check the calendars it should apply to; saved without any, it applies to every calendar.</source>
        <translation>このフィルターの対象だったカレンダーはすべて削除されたため、何にも一致しません。適用するカレンダーを選んでください。何も選ばずに保存すると、すべてのカレンダーに適用されます。</translation>
    </message>
    <message>
        <source>This filter is of a kind this version does not know (&quot;%1&quot;). It is shown read-only and kept as it is.</source>
        <translation>この種類のフィルター（「%1」）はこのバージョンでは扱えません。読み取り専用で表示し、そのまま保持します。</translation>
    </message>
    <message>
        <source>Pattern Match</source>
        <translation>パターン一致</translation>
    </message>
    <message>
        <source>Filter events matching text patterns</source>
        <translation>テキストパターンに一致する予定をフィルター</translation>
    </message>
    <message>
        <source>Time-Based</source>
        <translation>時間ベース</translation>
    </message>
    <message>
        <source>Filter events at specific times</source>
        <translation>特定の時刻の予定をフィルター</translation>
    </message>
    <message>
        <source>Specific Event</source>
        <translation>特定の予定</translation>
    </message>
    <message>
        <source>Filter a specific recurring event</source>
        <translation>特定の繰り返し予定をフィルター</translation>
    </message>
    <message>
        <source>All-Day Events</source>
        <translation>終日の予定</translation>
    </message>
    <message>
        <source>Filter all-day events</source>
        <translation>終日の予定をフィルター</translation>
    </message>
    <message>
        <source>Mon</source>
        <translation>月</translation>
    </message>
    <message>
        <source>Tue</source>
        <translation>火</translation>
    </message>
    <message>
        <source>Wed</source>
        <translation>水</translation>
    </message>
    <message>
        <source>Thu</source>
        <translation>木</translation>
    </message>
    <message>
        <source>Fri</source>
        <translation>金</translation>
    </message>
    <message>
        <source>Sat</source>
        <translation>土</translation>
    </message>
    <message>
        <source>Sun</source>
        <translation>日</translation>
    </message>
    <message>
        <source>Add Filter</source>
        <translation>フィルターを追加</translation>
    </message>
    <message>
        <source>Edit Filter</source>
        <translation>フィルターを編集</translation>
    </message>
    <message>
        <source>Edit filter</source>
        <translation>フィルターを編集</translation>
    </message>
    <message>
        <source>New filter</source>
        <translation>新しいフィルター</translation>
    </message>
    <message>
        <source>Filters hide or dim events that match — they don't delete anything, and you can toggle the whole set off from the filters pill in the status bar.</source>
        <translation>フィルターは一致する予定を非表示にするか淡色表示します。何も削除されず、ステータスバーのフィルター表示からまとめてオフにできます。</translation>
    </message>
    <message>
        <source>Hide standups, Dim birthdays…</source>
        <translation>朝会を非表示、誕生日を淡色…</translation>
    </message>
    <message>
        <source>&amp;Name</source>
        <translation>名前(&amp;N)</translation>
    </message>
    <message>
        <source>Hide completely</source>
        <translation>完全に非表示</translation>
    </message>
    <message>
        <source>Dim (still visible, faded)</source>
        <translation>淡色表示(表示されたまま薄く)</translation>
    </message>
    <message>
        <source>&amp;Action</source>
        <translation>動作(&amp;A)</translation>
    </message>
    <message>
        <source>Suppress reminders for matched events</source>
        <translation>一致した予定の通知を止める</translation>
    </message>
    <message>
        <source>Enabled</source>
        <translation>有効</translation>
    </message>
    <message>
        <source>Apply to calendars</source>
        <translation>適用するカレンダー</translation>
    </message>
    <message>
        <source>Leave empty to apply to every calendar.</source>
        <translation>空のままにするとすべてのカレンダーに適用されます。</translation>
    </message>
    <message>
        <source>Save changes</source>
        <translation>変更を保存</translation>
    </message>
    <message>
        <source>Create filter</source>
        <translation>フィルターを作成</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>種類</translation>
    </message>
    <message>
        <source>Title contains</source>
        <translation>タイトルに含む</translation>
    </message>
    <message>
        <source>e.g. standup, lunch, 1:1 — comma separated</source>
        <translation>例: 朝会, ランチ, 1:1 — カンマ区切り</translation>
    </message>
    <message>
        <source>Case sensitive</source>
        <translation>大文字と小文字を区別</translation>
    </message>
    <message>
        <source>Exact start time</source>
        <translation>開始時刻が一致</translation>
    </message>
    <message>
        <source>Time range</source>
        <translation>時間帯</translation>
    </message>
    <message>
        <source>to</source>
        <translation>〜</translation>
    </message>
    <message>
        <source>Days of week (empty = every day)</source>
        <translation>曜日(空 = 毎日)</translation>
    </message>
    <message>
        <source>Recurring events only</source>
        <translation>繰り返し予定のみ</translation>
    </message>
    <message>
        <source>Filtering this specific event:</source>
        <translation>この予定をフィルター:</translation>
    </message>
    <message>
        <source>(Right-click an event and choose &quot;Create Filter from Event&quot; to create a specific-event filter.)</source>
        <translation>(予定を右クリックして「予定からフィルターを作成」を選ぶと、特定の予定のフィルターを作成できます。)</translation>
    </message>
    <message>
        <source>Matches every all-day event in the selected calendars.</source>
        <translation>選択したカレンダーのすべての終日予定に一致します。</translation>
    </message>
    <message>
        <source>Only recurring all-day events</source>
        <translation>繰り返しの終日予定のみ</translation>
    </message>
    <message>
        <source>(Event no longer exists)</source>
        <translation>(予定は存在しません)</translation>
    </message>
    <message>
        <source>(Untitled event)</source>
        <translation>(無題の予定)</translation>
    </message>
    <message>
        <source>Name required</source>
        <translation>名前が必要です</translation>
    </message>
    <message>
        <source>Please enter a name for the filter.</source>
        <translation>フィルターの名前を入力してください。</translation>
    </message>
    <message>
        <source>No patterns</source>
        <translation>パターンがありません</translation>
    </message>
    <message>
        <source>Add at least one phrase to &quot;Title contains&quot;.</source>
        <translation>「タイトルに含む」に少なくとも 1 つの語句を追加してください。</translation>
    </message>
    <message>
        <source>No event selected</source>
        <translation>予定が選択されていません</translation>
    </message>
    <message>
        <source>Specific-event filters need to be created from an event's right-click menu — that's how the rule learns which event to match.</source>
        <translation>特定の予定のフィルターは予定の右クリックメニューから作成してください。そうすることで、どの予定に一致させるかが決まります。</translation>
    </message>
    <message>
        <source>Database Error</source>
        <translation>データベースエラー</translation>
    </message>
    <message>
        <source>Could not save the filter.</source>
        <translation>フィルターを保存できませんでした。</translation>
    </message>
    <message>
        <source>No events in the next 30 days to preview against.</source>
        <translation>今後 30 日間にプレビューできる予定がありません。</translation>
    </message>
    <message>
        <source>(Untitled)</source>
        <translation>(無題)</translation>
    </message>
    <message>
        <source>hide</source>
        <translation>非表示に</translation>
    </message>
    <message>
        <source>dim</source>
        <translation>淡色表示に</translation>
    </message>
    <message>
        <source>Would %1 %2 of %3 events in the next 30 days.</source>
        <translation>今後 30 日間の %3 件中 %2 件を%1します。</translation>
    </message>
    <message>
        <source>e.g. %1</source>
        <translation>例: %1</translation>
    </message>
</context>
<context>
    <name>FilterMenus</name>
    <message>
        <source>Edit filter &quot;%1&quot;…</source>
        <translation>フィルター「%1」を編集…</translation>
    </message>
    <message>
        <source>Create Filter from Event…</source>
        <translation>予定からフィルターを作成…</translation>
    </message>
    <message>
        <source>New &amp;Filter…</source>
        <translation>新しいフィルター(&amp;F)…</translation>
    </message>
    <message>
        <source>New Calendar &amp;Group…</source>
        <translation>新しいカレンダーグループ(&amp;G)…</translation>
    </message>
    <message>
        <source>&amp;Manage Filters…</source>
        <translation>フィルターを管理(&amp;M)…</translation>
    </message>
    <message>
        <source>Manage &amp;Calendar Groups…</source>
        <translation>カレンダーグループを管理(&amp;C)…</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message numerus="yes">
        <source>%n value(s) were not valid UTF-8 and were read as Windows-1252</source>
        <translation>
            <numerusform>%n 件の値が有効な UTF-8 ではなかったため、Windows-1252 として読み込みました</numerusform>
        </translation>
    </message>
    <message>
        <source>The file was cut short (it has no END:VCALENDAR); the events before the cut were imported.</source>
        <translation>ファイルが途中で切れています（END:VCALENDAR がありません）。切れる前の予定はインポートしました。</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>An import is already running.</source>
        <translation>すでにインポートを実行中です。</translation>
    </message>
    <message>
        <location filename="../../mainwindow/mainwindow.cpp" line="296"/>
        <source>%1 will be imported after the current import.</source>
        <translation>%1 は実行中のインポートの後にインポートされます。</translation>
    </message>
    <message>
        <source>Importing %1…</source>
        <translation>%1 をインポートしています…</translation>
    </message>
    <message>
        <source>Import of %1 cancelled; nothing was imported.</source>
        <translation>%1 のインポートを取り消しました。何もインポートされていません。</translation>
    </message>
    <message>
        <source>Nothing was imported from %1: %2</source>
        <translation>%1 からは何もインポートされませんでした: %2</translation>
    </message>
    <message>
        <source>the disk is full.</source>
        <translation>ディスクがいっぱいです。</translation>
    </message>
    <message>
        <source>the calendar database is read-only.</source>
        <translation>カレンダーのデータベースは読み取り専用です。</translation>
    </message>
    <message>
        <source>the calendar database is locked by another program.</source>
        <translation>カレンダーのデータベースが別のプログラムにロックされています。</translation>
    </message>
    <message>
        <source>the disk or the database file failed.</source>
        <translation>ディスクまたはデータベースファイルでエラーが発生しました。</translation>
    </message>
    <message>
        <source>the calendar database could not be written.</source>
        <translation>カレンダーのデータベースに書き込めませんでした。</translation>
    </message>
    <message>
        <source>New events: %1</source>
        <translation>新しい予定: %1</translation>
    </message>
    <message>
        <source>Updated events: %1</source>
        <translation>更新された予定: %1</translation>
    </message>
    <message>
        <source>Already in the calendar as they are: %1</source>
        <translation>変更なしですでにカレンダーにある予定: %1</translation>
    </message>
    <message>
        <source>Without END:VEVENT: %1</source>
        <translation>END:VEVENT なし: %1</translation>
    </message>
    <message>
        <source>Cut off where the file ends: %1</source>
        <translation>ファイルの終わりで途切れたもの: %1</translation>
    </message>
    <message>
        <source>Without a readable start (DTSTART): %1</source>
        <translation>読み取れる開始 (DTSTART) なし: %1</translation>
    </message>
    <message>
        <source>Without a UID: %1</source>
        <translation>UID なし: %1</translation>
    </message>
    <message>
        <source>Refused by the calendar database: %1</source>
        <translation>カレンダーのデータベースが拒否したもの: %1</translation>
    </message>
    <message>
        <source>Import finished</source>
        <translation>インポート完了</translation>
    </message>
    <message numerus="yes">
        <source>Imported %n event(s) from %1 (%2 updated)</source>
        <translation>
            <numerusform>%1 から %n 件の予定をインポートしました (%2 件を更新)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Nothing new in %1: its %n event(s) are in the calendar already</source>
        <translation>
            <numerusform>%1 に新しい予定はありません: %n 件の予定はすでにカレンダーにあります</numerusform>
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
        <translation>元に戻しました: %1</translation>
    </message>
    <message>
        <source>Could not undo: %1</source>
        <translation>元に戻せませんでした: %1</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>%1 presented a certificate that is not trusted; its calendars were not synced.</source>
        <translation>%1 が信頼されていない証明書を提示したため、そのカレンダーは同期されませんでした。</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>&amp;File</source>
        <translation>ファイル(&amp;F)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>New &amp;Event…</source>
        <translation>新しい予定(&amp;E)…</translation>
    </message>
    <message>
        <source>New &amp;Task…</source>
        <translation>新しいタスク(&amp;T)…</translation>
    </message>
    <message>
        <source>Create a calendar first.</source>
        <translation>先にカレンダーを作成してください。</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Import .ics…</source>
        <translation>.ics をインポート(&amp;I)…</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;Preferences…</source>
        <translation>環境設定(&amp;P)…</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>&amp;Quit</source>
        <translation>終了(&amp;X)</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>&amp;Edit</source>
        <translation>編集(&amp;E)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Undo</source>
        <translation>元に戻す(&amp;U)</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>&amp;View</source>
        <translation>表示(&amp;V)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Today</source>
        <translation>今日(&amp;T)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;Sync</source>
        <translation>同期(&amp;S)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Sync &amp;Now</source>
        <translation>今すぐ同期(&amp;N)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Send Test &amp;Notification</source>
        <translation>テスト通知を送信(&amp;N)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Fire a sample reminder toast to verify your desktop notification setup.</source>
        <translation>サンプルの通知を表示して、デスクトップ通知の設定を確認します。</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>&amp;Developer</source>
        <translation>開発(&amp;D)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Load Sample &amp;Data</source>
        <translation>サンプルデータを読み込む(&amp;D)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Clear Sample Data</source>
        <translation>サンプルデータを消去(&amp;C)</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>&amp;Help</source>
        <translation>ヘルプ(&amp;H)</translation>
    </message>
    <message>
        <location line="+28"/>
        <source>Added: %1</source>
        <translation>追加しました: %1</translation>
    </message>
    <message>
        <location line="+29"/>
        <source>No calendars</source>
        <translation>カレンダーがありません</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>There is no calendar to add an event to.</source>
        <translation>予定を追加できるカレンダーがありません。</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Quick-add ignored: no calendars configured.</source>
        <translation>クイック追加を無視しました: カレンダーが設定されていません。</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Quick-add couldn&apos;t parse: &quot;%1&quot;</source>
        <translation>クイック追加で解釈できませんでした: 「%1」</translation>
    </message>
    <message>
        <source>Quick-add couldn&apos;t save &quot;%1&quot;.</source>
        <translation>クイック追加で「%1」を保存できませんでした。</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Import ignored: no calendars configured.</source>
        <translation>インポートを無視しました: カレンダーが設定されていません。</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Import failed</source>
        <translation>インポートに失敗しました</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Couldn&apos;t read &quot;%1&quot;.</source>
        <translation>「%1」を読み込めませんでした。</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>No events found in %1</source>
        <translation>%1 に予定が見つかりませんでした</translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>Imported %n event(s) from %1</source>
        <translation>
            <numerusform>%1 から %n件の予定をインポートしました</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>Imported %n event(s) from %1; %2 could not be stored</source>
        <translation>
            <numerusform>%1 から %n件の予定をインポートしました。%2件は保存できませんでした</numerusform>
        </translation>
    </message>
    <message>
        <location line="+70"/>
        <location line="+6"/>
        <source>Quick Add</source>
        <translation>クイック追加</translation>
    </message>
    <message>
        <location line="-6"/>
        <source>Describe the event, e.g. &quot;Lunch with Sam tomorrow 12:30&quot;:</source>
        <translation>予定を英語で入力してください (例: 「Lunch with Sam tomorrow 12:30」):</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Couldn&apos;t save event</source>
        <translation>予定を保存できませんでした</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Import .ics</source>
        <translation>.ics のインポート</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>iCalendar files (*.ics);;All files (*)</source>
        <translation>iCalendar ファイル (*.ics);;すべてのファイル (*)</translation>
    </message>
    <message numerus="yes">
        <location line="+14"/>
        <source>Loaded %n sample row(s).</source>
        <translation>
            <numerusform>サンプルデータを%n件読み込みました。</numerusform>
        </translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Clear sample data?</source>
        <translation>サンプルデータを消去しますか？</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Remove the sample calendars, events, and tasks? Your real data is untouched.</source>
        <translation>サンプルのカレンダー、予定、タスクを削除しますか？実際のデータには影響しません。</translation>
    </message>
    <message numerus="yes">
        <location line="+5"/>
        <source>Removed %n sample row(s).</source>
        <translation>
            <numerusform>サンプルデータを%n件削除しました。</numerusform>
        </translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Test notification fired</source>
        <translation>テスト通知を送信しました</translation>
    </message>
    <message>
        <source>&amp;Tools</source>
        <translation>ツール(&amp;T)</translation>
    </message>
    <message>
        <source>&amp;Search…</source>
        <translation>検索(&amp;S)…</translation>
    </message>
    <message>
        <source>Manage &amp;Templates…</source>
        <translation>テンプレートの管理(&amp;T)…</translation>
    </message>
    <message numerus="yes">
        <source>%1; %n task(s) not imported</source>
        <translation>
            <numerusform>%1; タスク%n件はインポートされませんでした</numerusform>
        </translation>
    </message>
    <message>
        <source>Tasks (VTODO), not imported: %1</source>
        <translation>タスク (VTODO)、インポートされず: %1</translation>
    </message>
    <message>
        <source>Quick &amp;Add…</source>
        <translation>クイック追加(&amp;A)…</translation>
    </message>
    <message>
        <source>Reminders can&apos;t be shown: the desktop has no notification service and no tray.</source>
        <translation>リマインダーを表示できません: デスクトップに通知サービスもシステムトレイもありません。</translation>
    </message>
</context>
<context>
    <name>ManageFiltersDialog</name>
    <message>
        <source>Pattern</source>
        <translation>パターン</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>時間</translation>
    </message>
    <message>
        <source>Specific</source>
        <translation>特定</translation>
    </message>
    <message>
        <source>All-day</source>
        <translation>終日</translation>
    </message>
    <message>
        <source>Hide</source>
        <translation>非表示</translation>
    </message>
    <message>
        <source>Dim</source>
        <translation>淡色</translation>
    </message>
    <message>
        <source>Manage Filters</source>
        <translation>フィルターの管理</translation>
    </message>
    <message>
        <source>Filters</source>
        <translation>フィルター</translation>
    </message>
    <message>
        <source>Toggle the checkbox to enable / disable a filter. Drag a row to change priority (top of the list applies first). Use Edit to change conditions or Delete to remove it.</source>
        <translation>チェックボックスでフィルターを有効/無効にします。行をドラッグすると優先順位が変わります(上にあるものから適用)。条件を変えるには編集、取り除くには削除を使います。</translation>
    </message>
    <message>
        <source>Add filter…</source>
        <translation>フィルターを追加…</translation>
    </message>
    <message>
        <source>(no filters yet)</source>
        <translation>(フィルターはまだありません)</translation>
    </message>
    <message>
        <source>Delete filter?</source>
        <translation>フィルターを削除しますか?</translation>
    </message>
    <message>
        <source>Delete &quot;%1&quot;? You can recreate it later.</source>
        <translation>「%1」を削除しますか? 後で作り直せます。</translation>
    </message>
    <message>
        <source>Database Error</source>
        <translation>データベースエラー</translation>
    </message>
    <message>
        <source>Could not delete the filter.</source>
        <translation>フィルターを削除できませんでした。</translation>
    </message>
    <message>
        <source>Could not save the filter.</source>
        <translation>フィルターを保存できませんでした。</translation>
    </message>
    <message>
        <source>Could not save the order of the filters.</source>
        <translation>フィルターの順序を保存できませんでした。</translation>
    </message>
</context>
<context>
    <name>ManageTemplatesDialog</name>
    <message>
        <source>Event Templates</source>
        <translation>予定テンプレート</translation>
    </message>
    <message>
        <source>Templates pre-fill the new-event form. Double-click to edit.</source>
        <translation>テンプレートは新規予定フォームに事前入力します。ダブルクリックで編集します。</translation>
    </message>
    <message>
        <source>Add…</source>
        <translation>追加…</translation>
    </message>
    <message>
        <source>Edit…</source>
        <translation>編集…</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>削除</translation>
    </message>
    <message>
        <source>(no title)</source>
        <translation>(タイトルなし)</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>Delete template?</source>
        <translation>テンプレートを削除しますか?</translation>
    </message>
    <message>
        <source>Delete the template &quot;%1&quot;? Events already created from it are unaffected.</source>
        <translation>テンプレート「%1」を削除しますか? 作成済みの予定には影響しません。</translation>
    </message>
    <message>
        <source>Database Error</source>
        <translation>データベースエラー</translation>
    </message>
    <message>
        <source>Could not save the template.</source>
        <translation>テンプレートを保存できませんでした。</translation>
    </message>
    <message>
        <source>Could not delete the template.</source>
        <translation>テンプレートを削除できませんでした。</translation>
    </message>
</context>
<context>
    <name>ManageViewsDialog</name>
    <message>
        <source>Manage Calendar Groups</source>
        <translation>カレンダーグループの管理</translation>
    </message>
    <message>
        <source>Calendar Groups</source>
        <translation>カレンダーグループ</translation>
    </message>
    <message>
        <source>Drag a row to change the order groups appear in the picker. Use Edit to change which calendars a group includes, or Delete to remove a group.</source>
        <translation>行をドラッグすると、選択メニューでのグループの順序が変わります。グループに含めるカレンダーを変えるには編集、グループを取り除くには削除を使います。</translation>
    </message>
    <message>
        <source>Add group…</source>
        <translation>グループを追加…</translation>
    </message>
    <message>
        <source>(no groups yet)</source>
        <translation>(グループはまだありません)</translation>
    </message>
    <message>
        <source>Built-in group</source>
        <translation>組み込みグループ</translation>
    </message>
    <message>
        <source>&quot;All Calendars&quot; is the fallback group. It can be renamed but not deleted.</source>
        <translation>「すべてのカレンダー」は既定のグループです。名前は変更できますが、削除はできません。</translation>
    </message>
    <message>
        <source>Delete group?</source>
        <translation>グループを削除しますか?</translation>
    </message>
    <message>
        <source>Delete &quot;%1&quot;? You can recreate it later.</source>
        <translation>「%1」を削除しますか? 後で作り直せます。</translation>
    </message>
    <message>
        <source>Database Error</source>
        <translation>データベースエラー</translation>
    </message>
    <message>
        <source>Could not delete the group.</source>
        <translation>グループを削除できませんでした。</translation>
    </message>
    <message>
        <source>Could not save the order of the groups.</source>
        <translation>グループの順序を保存できませんでした。</translation>
    </message>
</context>
<context>
    <name>NotificationService</name>
    <message>
        <location filename="../../app/notificationservice.cpp" line="+69"/>
        <source>%1, all day</source>
        <translation>%1、終日</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Starting now (%1)</source>
        <translation>まもなく開始 (%1)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Tomorrow at %1</source>
        <translation>明日 %1</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 at %2</source>
        <translation>%1 %2</translation>
    </message>
    <message>
        <location line="+62"/>
        <source>Reminder</source>
        <translation>リマインダー</translation>
    </message>
    <message>
        <location line="+54"/>
        <source>Test reminder</source>
        <translation>テスト通知</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>If you can see this, your desktop notifications are wired up correctly. Real reminders look just like this one.</source>
        <translation>この通知が表示されていれば、デスクトップ通知は正しく設定されています。実際のリマインダーもこのように表示されます。</translation>
    </message>
    <message numerus="yes">
        <source>In %n minute(s) (%1)</source>
        <translation>
            <numerusform>%n分後 (%1)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>In %nh (%1)</source>
        <translation>
            <numerusform>%n時間後 (%1)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>In %nh %1m (%2)</source>
        <translation>
            <numerusform>%n時間%1分後 (%2)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Started %n minute(s) ago (%1)</source>
        <translation>
            <numerusform>%n分前に開始 (%1)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n reminder(s)</source>
        <translation>
            <numerusform>%n 件のリマインダー</numerusform>
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
        <translation>起動時はトレイに格納する</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Closing the window keeps the calendar in the tray</source>
        <translation>ウィンドウを閉じてもトレイに常駐する</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+55"/>
        <source>Start at login</source>
        <translation>ログイン時に起動する</translation>
    </message>
    <message>
        <location line="-53"/>
        <source>Preferences</source>
        <translation>環境設定</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>System</source>
        <translation>システム</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Light</source>
        <translation>ライト</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Dark</source>
        <translation>ダーク</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Default</source>
        <translation>デフォルト</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>Theme:</source>
        <translation>テーマ:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Accent colour:</source>
        <translation>アクセントカラー:</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Theme default</source>
        <translation>テーマの既定値</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Accent colour</source>
        <translation>アクセントカラー</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>The start at login setting could not be changed.</source>
        <translation>「ログイン時に起動する」の設定を変更できませんでした。</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <location filename="../../core/meetingdescription.cpp" line="+77"/>
        <source>Join Microsoft Teams Meeting</source>
        <translation>Microsoft Teams 会議に参加</translation>
    </message>
    <message>
        <location filename="../../core/rruleformat.cpp" line="+42"/>
        <source>Repeats daily</source>
        <translation>毎日</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Every %1 days</source>
        <translation>%1日ごと</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Repeats weekly</source>
        <translation>毎週</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Every %1 weeks</source>
        <translation>%1週間ごと</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Repeats monthly</source>
        <translation>毎月</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Every %1 months</source>
        <translation>%1か月ごと</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Repeats yearly</source>
        <translation>毎年</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Every %1 years</source>
        <translation>%1年ごと</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Repeats</source>
        <translation>繰り返し</translation>
    </message>
    <message>
        <location line="+53"/>
        <location line="+7"/>
        <source>on the %1 %2</source>
        <translation>%1%2曜日</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>on the %1</source>
        <translation>%1日</translation>
    </message>
    <message numerus="yes">
        <location line="+10"/>
        <source>%n time(s)</source>
        <translation>
            <numerusform>%n回</numerusform>
        </translation>
    </message>
    <message>
        <location line="+12"/>
        <source>until %1</source>
        <translation>%1まで</translation>
    </message>
    <message>
        <location line="+29"/>
        <source>At time of event</source>
        <translation>予定の時刻</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 min before</source>
        <translation>%1分前</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 hour(s) before</source>
        <translation>%1時間前</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 day(s) before</source>
        <translation>%1日前</translation>
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
        <translation>第1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>second</source>
        <translation>第2</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>third</source>
        <translation>第3</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>fourth</source>
        <translation>第4</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>fifth</source>
        <translation>第5</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>last</source>
        <translation>最終</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>second-to-last</source>
        <translation>最後から2番目の</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1th-from-last</source>
        <translation>最後から%1番目の</translation>
    </message>
    <message>
        <source>Calendar Subscriptions</source>
        <translation>カレンダーの購読</translation>
    </message>
</context>
<context>
    <name>QuickAddDialog</name>
    <message>
        <source>Quick Add</source>
        <translation>クイック追加</translation>
    </message>
    <message>
        <source>Type an event in plain English.</source>
        <translation>予定を簡単な英語で入力してください。</translation>
    </message>
    <message>
        <source>e.g. &quot;lunch Thursday 1pm&quot;</source>
        <translation>例: &quot;lunch Thursday 1pm&quot;</translation>
    </message>
    <message>
        <source>Couldn&apos;t save event</source>
        <translation>予定を保存できませんでした</translation>
    </message>
    <message>
        <source>No such date: %1</source>
        <translation>その日付は存在しません: %1</translation>
    </message>
    <message>
        <source>No such time: %1</source>
        <translation>その時刻は存在しません: %1</translation>
    </message>
</context>
<context>
    <name>ReadOnlyLock</name>
    <message>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
</context>
<context>
    <name>RecurrenceEditDialog</name>
    <message>
        <location filename="../../editors/recurrenceeditdialog.cpp" line="+62"/>
        <source>Recurrence</source>
        <translation>繰り返し</translation>
    </message>
    <message>
        <location line="+49"/>
        <source>Daily</source>
        <translation>毎日</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Weekly</source>
        <translation>毎週</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Monthly</source>
        <translation>毎月</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Yearly</source>
        <translation>毎年</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+261"/>
        <source>Does not repeat</source>
        <translation>繰り返さない</translation>
    </message>
    <message>
        <location line="-260"/>
        <source>Frequency</source>
        <translation>頻度</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Every</source>
        <translation>間隔</translation>
    </message>
    <message>
        <location line="+24"/>
        <source>M</source>
        <comment>Monday</comment>
        <translation>月</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>T</source>
        <comment>Tuesday</comment>
        <translation>火</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>W</source>
        <comment>Wednesday</comment>
        <translation>水</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>T</source>
        <comment>Thursday</comment>
        <translation>木</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>F</source>
        <comment>Friday</comment>
        <translation>金</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>S</source>
        <comment>Saturday</comment>
        <translation>土</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>S</source>
        <comment>Sunday</comment>
        <translation>日</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>On day of the month</source>
        <translation>日付を指定</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>of every month</source>
        <translation>日（毎月）</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>On the nth weekday</source>
        <translation>第n曜日を指定</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>first</source>
        <translation>第1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>second</source>
        <translation>第2</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>third</source>
        <translation>第3</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>fourth</source>
        <translation>第4</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>last</source>
        <translation>最終</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Monday</source>
        <translation>月曜日</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Tuesday</source>
        <translation>火曜日</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Wednesday</source>
        <translation>水曜日</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Thursday</source>
        <translation>木曜日</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Friday</source>
        <translation>金曜日</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Saturday</source>
        <translation>土曜日</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Sunday</source>
        <translation>日曜日</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>Never</source>
        <translation>なし</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>After</source>
        <translation>回数</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>occurrences</source>
        <translation>回</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>On</source>
        <translation>日付</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Ends</source>
        <translation>終了</translation>
    </message>
    <message>
        <location line="+132"/>
        <source>day</source>
        <translation>日ごと</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>days</source>
        <translation>日ごと</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>week</source>
        <translation>週間ごと</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>weeks</source>
        <translation>週間ごと</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>month</source>
        <translation>か月ごと</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>months</source>
        <translation>か月ごと</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>year</source>
        <translation>年ごと</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>years</source>
        <translation>年ごと</translation>
    </message>
</context>
<context>
    <name>RecurringEditScopeDialog</name>
    <message>
        <location filename="../../mainwindow/recurringeditscopedialog.cpp" line="+14"/>
        <source>Edit Recurring Event</source>
        <translation>繰り返しの予定を編集</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Edit &quot;%1&quot;</source>
        <translation>「%1」を編集</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>This event repeats. Apply your changes to:</source>
        <translation>この予定は繰り返し予定です。変更の適用先:</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>This event only</source>
        <translation>この予定のみ</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Only this occurrence is changed; the rest of the series stays as it was.</source>
        <translation>この回だけを変更します。シリーズの他の回はそのままです。</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>This and following events</source>
        <translation>これ以降のすべての予定</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>This occurrence and every later one inherit the change. Past occurrences keep their original times.</source>
        <translation>この回と以降のすべての回に変更が反映されます。過去の回は元の時刻のままです。</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>All events in the series</source>
        <translation>シリーズのすべての予定</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The master event shifts; every occurrence — past and future — moves with it.</source>
        <translation>元の予定が移動し、過去と今後のすべての回も一緒に移動します。</translation>
    </message>
    <message>
        <source>Delete Recurring Event</source>
        <translation>繰り返しの予定を削除</translation>
    </message>
    <message>
        <source>Delete &quot;%1&quot;</source>
        <translation>「%1」を削除</translation>
    </message>
    <message>
        <source>This event repeats. Delete:</source>
        <translation>この予定は繰り返し予定です。削除の対象:</translation>
    </message>
    <message>
        <source>Only this occurrence is deleted; the rest of the series stays.</source>
        <translation>この回だけを削除します。シリーズの他の回はそのままです。</translation>
    </message>
    <message>
        <source>This occurrence and every later one are deleted. Past occurrences stay.</source>
        <translation>この回と以降のすべての回を削除します。過去の回は残ります。</translation>
    </message>
    <message>
        <source>Every occurrence — past and future — is deleted.</source>
        <translation>過去と今後のすべての回を削除します。</translation>
    </message>
</context>
<context>
    <name>RruleFormat</name>
    <message>
        <location filename="../../core/rruleformat.cpp" line="-49"/>
        <source>Mon</source>
        <translation>月</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Tue</source>
        <translation>火</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Wed</source>
        <translation>水</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Thu</source>
        <translation>木</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Fri</source>
        <translation>金</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Sat</source>
        <translation>土</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Sun</source>
        <translation>日</translation>
    </message>
</context>
<context>
    <name>SearchDialog</name>
    <message>
        <source>Search</source>
        <translation>検索</translation>
    </message>
    <message>
        <source>Search events by title, location, or notes…</source>
        <translation>タイトル、場所、メモで予定を検索…</translation>
    </message>
    <message>
        <source>Range:</source>
        <translation>期間:</translation>
    </message>
    <message>
        <source>All time</source>
        <translation>すべての期間</translation>
    </message>
    <message>
        <source>Past 30 days</source>
        <translation>過去30日間</translation>
    </message>
    <message>
        <source>Past 90 days</source>
        <translation>過去90日間</translation>
    </message>
    <message>
        <source>Next 30 days</source>
        <translation>今後30日間</translation>
    </message>
    <message>
        <source>Next 12 months</source>
        <translation>今後12か月</translation>
    </message>
    <message>
        <source>Calendars</source>
        <translation>カレンダー</translation>
    </message>
    <message>
        <source>Type to search.</source>
        <translation>入力すると検索します。</translation>
    </message>
    <message>
        <source>%1 (all day)</source>
        <translation>%1 (終日)</translation>
    </message>
    <message>
        <source>%1, %2 – %3</source>
        <translation>%1、%2～%3</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <translation>%1、%2</translation>
    </message>
    <message>
        <source>Keep typing…</source>
        <translation>続けて入力してください…</translation>
    </message>
    <message numerus="yes">
        <source>%n result(s).</source>
        <translation>
            <numerusform>%n件の結果。</numerusform>
        </translation>
    </message>
    <message>
        <source>No matches in this range.</source>
        <translation>この期間に一致する予定はありません。</translation>
    </message>
    <message>
        <source>(Untitled)</source>
        <translation>(無題)</translation>
    </message>
</context>
<context>
    <name>StoreFailureText</name>
    <message>
        <source>could not save: the disk is full</source>
        <translation>保存できませんでした: ディスクがいっぱいです</translation>
    </message>
    <message>
        <source>could not save: the calendar database is read-only</source>
        <translation>保存できませんでした: カレンダーのデータベースは読み取り専用です</translation>
    </message>
    <message>
        <source>could not save: the calendar database is locked by another program</source>
        <translation>保存できませんでした: カレンダーのデータベースは別のプログラムによってロックされています</translation>
    </message>
    <message>
        <source>could not save: an import is running; try again when it has finished</source>
        <translation>保存できませんでした: インポート中です。完了してからもう一度お試しください</translation>
    </message>
</context>
<context>
    <name>TaskDetailsPopover</name>
    <message>
        <location filename="../../mainwindow/taskdetailspopover.cpp" line="+22"/>
        <source>Due %1</source>
        <translation>期限: %1</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Completed</source>
        <translation>完了</translation>
    </message>
</context>
<context>
    <name>TemplateEditorDialog</name>
    <message>
        <source>New Template</source>
        <translation>新しいテンプレート</translation>
    </message>
    <message>
        <source>Edit Template</source>
        <translation>テンプレートを編集</translation>
    </message>
    <message>
        <source>At time of event</source>
        <translation>予定の時刻</translation>
    </message>
    <message numerus="yes">
        <source>%n minute(s) before</source>
        <translation>
            <numerusform>%n分前</numerusform>
        </translation>
    </message>
    <message>
        <source>1 hour before</source>
        <translation>1時間前</translation>
    </message>
    <message numerus="yes">
        <source>%n day(s) before</source>
        <translation>
            <numerusform>%n日前</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n hour(s) before</source>
        <translation>
            <numerusform>%n時間前</numerusform>
        </translation>
    </message>
    <message>
        <source>Template name</source>
        <translation>テンプレート名</translation>
    </message>
    <message>
        <source>e.g., Standup, Doctor visit</source>
        <translation>例: 朝会、通院</translation>
    </message>
    <message>
        <source>Event title</source>
        <translation>予定のタイトル</translation>
    </message>
    <message>
        <source>Event title shown on the calendar</source>
        <translation>カレンダーに表示される予定のタイトル</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>説明</translation>
    </message>
    <message>
        <source>Location</source>
        <translation>場所</translation>
    </message>
    <message>
        <source>Optional location</source>
        <translation>場所(任意)</translation>
    </message>
    <message>
        <source>Use calendar color</source>
        <translation>カレンダーの色を使う</translation>
    </message>
    <message>
        <source>Color</source>
        <translation>色</translation>
    </message>
    <message>
        <source>(use default)</source>
        <translation>(既定を使用)</translation>
    </message>
    <message>
        <source>Calendar</source>
        <translation>カレンダー</translation>
    </message>
    <message>
        <source>All-day event</source>
        <translation>終日の予定</translation>
    </message>
    <message>
        <source>h</source>
        <translation>時間</translation>
    </message>
    <message>
        <source>m</source>
        <translation>分</translation>
    </message>
    <message>
        <source>Default duration</source>
        <translation>既定の長さ</translation>
    </message>
    <message>
        <source>Recurrence</source>
        <translation>繰り返し</translation>
    </message>
    <message>
        <source>Reminders</source>
        <translation>リマインダー</translation>
    </message>
    <message>
        <source>+ Add reminder</source>
        <translation>+ リマインダーを追加</translation>
    </message>
    <message>
        <source>No reminders</source>
        <translation>リマインダーなし</translation>
    </message>
    <message>
        <source>Remove reminder</source>
        <translation>リマインダーを削除</translation>
    </message>
    <message>
        <source>Inherits the calendar&apos;s color. Click to override.</source>
        <translation>カレンダーの色を使います。クリックして変更します。</translation>
    </message>
    <message>
        <source>%1, click to change.</source>
        <translation>%1、クリックして変更します。</translation>
    </message>
    <message>
        <source>Does not repeat</source>
        <translation>繰り返さない</translation>
    </message>
    <message>
        <source>Template color</source>
        <translation>テンプレートの色</translation>
    </message>
    <message>
        <source>Missing name</source>
        <translation>名前がありません</translation>
    </message>
    <message>
        <source>Give this template a name so you can pick it later.</source>
        <translation>後で選べるように、このテンプレートに名前を付けてください。</translation>
    </message>
    <message>
        <source>Missing event title</source>
        <translation>予定のタイトルがありません</translation>
    </message>
    <message>
        <source>Set the event title. That&apos;s what events created from this template will be called.</source>
        <translation>予定のタイトルを設定してください。このテンプレートから作成される予定の名前になります。</translation>
    </message>
</context>
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
<context>
    <name>TrayManager</name>
    <message>
        <location filename="../../app/traymanager.cpp" line="+57"/>
        <source>&amp;Show Calendar</source>
        <translation>カレンダーを表示(&amp;S)</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Sync &amp;Now</source>
        <translation>今すぐ同期(&amp;N)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Quit</source>
        <translation>終了(&amp;Q)</translation>
    </message>
    <message>
        <location line="+85"/>
        <source>Quillmarten Calendar — Last sync failed</source>
        <translation>Quillmarten Calendar — 前回の同期に失敗しました</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Quillmarten Calendar — Sync failed: %1</source>
        <translation>Quillmarten Calendar — 同期に失敗しました: %1</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Quillmarten Calendar — No upcoming events</source>
        <translation>Quillmarten Calendar — 今後の予定はありません</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Untitled</source>
        <translation>無題</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>today</source>
        <translation>今日</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>tomorrow</source>
        <translation>明日</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Quillmarten Calendar — Next: %1 (%2, all day)</source>
        <translation>Quillmarten Calendar — 次の予定: %1 (%2、終日)</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>at %1</source>
        <translation>%1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>tomorrow at %1</source>
        <translation>明日 %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 %2</source>
        <translation>%1 %2</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Quillmarten Calendar — Next: %1 %2</source>
        <translation>Quillmarten Calendar — 次の予定: %1 %2</translation>
    </message>
    <message>
        <source>&amp;Quick Add…</source>
        <translation>クイック追加(&amp;Q)…</translation>
    </message>
</context>
<context>
    <name>TrayTime</name>
    <message>
        <location filename="../../app/traytime.cpp" line="+15"/>
        <source>Today</source>
        <translation>今日</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Tomorrow</source>
        <translation>明日</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Yesterday</source>
        <translation>昨日</translation>
    </message>
</context>
<context>
    <name>ViewFormDialog</name>
    <message>
        <source>Every calendar of this group has been deleted, so it shows nothing. Check the calendars it should include; saved without any, it includes every visible calendar.</source>
        <translation>このグループのカレンダーはすべて削除されたため、何も表示されません。含めるカレンダーを選んでください。何も選ばずに保存すると、表示中のすべてのカレンダーが含まれます。</translation>
    </message>
    <message>
        <source>Add Calendar Group</source>
        <translation>カレンダーグループを追加</translation>
    </message>
    <message>
        <source>Edit Calendar Group</source>
        <translation>カレンダーグループを編集</translation>
    </message>
    <message>
        <source>Calendar Groups are saved sets of calendars you switch between. Pick which calendars belong to this group, leave the list empty to include every visible calendar.</source>
        <translation>カレンダーグループは、切り替えて使うカレンダーの組み合わせです。このグループに含めるカレンダーを選んでください。空のままにすると、表示中のすべてのカレンダーが含まれます。</translation>
    </message>
    <message>
        <source>e.g. Work, Personal, Travel</source>
        <translation>例: 仕事, 個人, 旅行</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>名前(&amp;N):</translation>
    </message>
    <message>
        <source>&amp;Accent:</source>
        <translation>アクセント(&amp;A):</translation>
    </message>
    <message>
        <source>Calendars:</source>
        <translation>カレンダー:</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>Create Group</source>
        <translation>グループを作成</translation>
    </message>
    <message>
        <source>“All Calendars” always covers every visible calendar — its membership can't be edited. Toggle individual calendars from their own menus instead.</source>
        <translation>「すべてのカレンダー」は常に表示中のすべてのカレンダーを含み、構成は編集できません。個々のカレンダーはそれぞれのメニューから切り替えてください。</translation>
    </message>
    <message>
        <source>(no accent)</source>
        <translation>(アクセントなし)</translation>
    </message>
    <message>
        <source>Pick a group accent color</source>
        <translation>グループのアクセントカラーを選択</translation>
    </message>
    <message>
        <source>Name required</source>
        <translation>名前が必要です</translation>
    </message>
    <message>
        <source>Please enter a name for the group.</source>
        <translation>グループの名前を入力してください。</translation>
    </message>
    <message>
        <source>Database Error</source>
        <translation>データベースエラー</translation>
    </message>
    <message>
        <source>Could not save the group.</source>
        <translation>グループを保存できませんでした。</translation>
    </message>
</context>
<context>
    <name>WeekAgenda</name>
    <message numerus="yes">
        <source>At least %Ln more on this day</source>
        <translation>
            <numerusform>この日はほかに少なくとも %Ln 件</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln more on this day</source>
        <translation>
            <numerusform>この日はほかに %Ln 件</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../mainwindow/weekagenda.cpp" line="+61"/>
        <source>All day</source>
        <translation>終日</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 – %2</source>
        <translation>%1 – %2</translation>
    </message>
    <message>
        <source>From %1</source>
        <translation>%1から</translation>
    </message>
    <message>
        <source>Until %1</source>
        <translation>%1まで</translation>
    </message>
    <message>
        <source>Continues all day</source>
        <translation>終日（継続）</translation>
    </message>
    <message>
        <location line="+35"/>
        <source>Week of %1</source>
        <translation>%1 の週</translation>
    </message>
    <message>
        <location line="+37"/>
        <source>Untitled</source>
        <translation>無題</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>No events this week</source>
        <translation>今週の予定はありません</translation>
    </message>
</context>
<context>
    <name>WinTrayPopover</name>
    <message>
        <location filename="../../app/wintraypopover.cpp" line="+93"/>
        <source>Group</source>
        <translation>グループ</translation>
    </message>
    <message>
        <location line="+50"/>
        <source>Add event — e.g. &quot;lunch Thursday 1pm&quot;</source>
        <translation>予定を追加 (英語で) — 例: 「lunch Thursday 1pm」</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Open Calendar</source>
        <translation>カレンダーを開く</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Sync Now</source>
        <translation>今すぐ同期</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Preferences</source>
        <translation>環境設定</translation>
    </message>
    <message>
        <location line="+96"/>
        <source>No calendars yet</source>
        <translation>カレンダーはまだありません</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>No upcoming events</source>
        <translation>今後の予定はありません</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Nothing scheduled in the next 24 hours.</source>
        <translation>24時間以内の予定はありません。</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>Today</source>
        <translation>今日</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>  No more events today</source>
        <translation>  今日の予定はもうありません</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Tomorrow</source>
        <translation>明日</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>  Nothing scheduled</source>
        <translation>  予定はありません</translation>
    </message>
    <message>
        <location line="+27"/>
        <source>Untitled</source>
        <translation>無題</translation>
    </message>
    <message>
        <location line="+36"/>
        <location line="+120"/>
        <source>All-day</source>
        <translation>終日</translation>
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
        <translation>%1、終日</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%1 at %2</source>
        <translation>%1 %2</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>now</source>
        <translation>開始済み</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>in %1 min</source>
        <translation>%1分後</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>in %1h</source>
        <translation>%1時間後</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>in %1h %2m</source>
        <translation>%1時間%2分後</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>(Unnamed)</source>
        <translation>(名前なし)</translation>
    </message>
    <message>
        <location line="+28"/>
        <source>Couldn&apos;t save event</source>
        <translation>予定を保存できませんでした</translation>
    </message>
</context>
<context>
    <name>OAuthSignIn</name>
    <message>
        <source>Sign-in cancelled.</source>
        <translation>サインインをキャンセルしました。</translation>
    </message>
    <message>
        <source>Sign-in state mismatch. The redirect didn't match our request; please try again.</source>
        <translation>サインインの状態が一致しません。リダイレクトが要求と一致しませんでした。もう一度お試しください。</translation>
    </message>
    <message>
        <source>Token exchange failed (HTTP %1): %2</source>
        <translation>トークンの交換に失敗しました (HTTP %1): %2</translation>
    </message>
</context>
<context>
    <name>Google::AuthService</name>
    <message>
        <source>Google OAuth credentials are not configured in this build. See .env.example.</source>
        <translation>このビルドには Google の OAuth 認証情報が設定されていません。.env.example を参照してください。</translation>
    </message>
    <message>
        <source>Could not bind a local port for the Google sign-in callback: %1</source>
        <translation>Google サインインのコールバック用のローカルポートを確保できませんでした: %1</translation>
    </message>
    <message>
        <source>Could not launch the system browser for Google sign-in.</source>
        <translation>Google サインイン用のシステムブラウザーを起動できませんでした。</translation>
    </message>
    <message>
        <source>Google denied the sign-in: %1</source>
        <translation>Google がサインインを拒否しました: %1</translation>
    </message>
    <message>
        <source>Google did not return an authorization code.</source>
        <translation>Google から認可コードが返されませんでした。</translation>
    </message>
    <message>
        <source>Google did not return an access token.</source>
        <translation>Google からアクセストークンが返されませんでした。</translation>
    </message>
    <message>
        <source>Google did not return a refresh token. Try removing the app from your Google Account permissions and signing in again.</source>
        <translation>Google からリフレッシュトークンが返されませんでした。Google アカウントの権限からこのアプリを削除して、もう一度サインインしてください。</translation>
    </message>
</context>
<context>
    <name>Microsoft::AuthService</name>
    <message>
        <source>Microsoft OAuth credentials are not configured in this build. See .env.example.</source>
        <translation>このビルドには Microsoft の OAuth 認証情報が設定されていません。.env.example を参照してください。</translation>
    </message>
    <message>
        <source>Could not bind a local port for the Microsoft sign-in callback: %1</source>
        <translation>Microsoft サインインのコールバック用のローカルポートを確保できませんでした: %1</translation>
    </message>
    <message>
        <source>Could not launch the system browser for Microsoft sign-in.</source>
        <translation>Microsoft サインイン用のシステムブラウザーを起動できませんでした。</translation>
    </message>
    <message>
        <source>Microsoft denied the sign-in: %1</source>
        <translation>Microsoft がサインインを拒否しました: %1</translation>
    </message>
    <message>
        <source>Microsoft did not return an authorization code.</source>
        <translation>Microsoft から認可コードが返されませんでした。</translation>
    </message>
    <message>
        <source>Microsoft did not return an access token.</source>
        <translation>Microsoft からアクセストークンが返されませんでした。</translation>
    </message>
    <message>
        <source>Microsoft did not return a refresh token. Verify offline_access is in the scopes configured for this app.</source>
        <translation>Microsoft からリフレッシュトークンが返されませんでした。このアプリに設定されたスコープに offline_access が含まれているか確認してください。</translation>
    </message>
</context>
<context>
    <name>Google::SyncClient</name>
    <message>
        <source>The event could not be stored here.</source>
        <translation>この予定をここに保存できませんでした。</translation>
    </message>
</context>
<context>
    <name>ProviderEvents</name>
    <message>
        <source>The service cannot repeat an event more often than daily.</source>
        <translation>このサービスでは予定を1日より短い間隔で繰り返せません。</translation>
    </message>
    <message>
        <source>The end of the repetition cannot be read.</source>
        <translation>繰り返しの終了を読み取れません。</translation>
    </message>
</context>
<context>
    <name>ProviderProblems</name>
    <message numerus="yes">
        <source>%n item(s) could not be synced</source>
        <translation>
            <numerusform>%n件の項目を同期できませんでした</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>DesktopNotifications</name>
    <message>
        <source>Open</source>
        <translation>開く</translation>
    </message>
</context>
<context>
    <name>Webcal::SyncClient</name>
    <message numerus="yes">
        <source>%n event(s) of the subscription could not be stored</source>
        <translation>
            <numerusform>購読の予定%n件を保存できませんでした</numerusform>
        </translation>
    </message>
</context>
</TS>
