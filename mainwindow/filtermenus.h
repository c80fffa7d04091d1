#pragma once

struct Event;
class AppState;
class QMenu;
class QWidget;

// The menu entries that reach filter rules and calendar groups: those of an
// event's context menu and those of the main window.
namespace FilterMenus {

// "Edit filter "%1"…" when an enabled rule matches the occurrence, then
// "Create Filter from Event…". The dialogs open over `parent`.
void addEventActions(QMenu *menu, AppState *state, const Event &occurrence, QWidget *parent);
// New and manage, for filters and for calendar groups. A new group becomes
// the active one.
void addMainWindowActions(QMenu *menu, AppState *state, QWidget *parent);

} // namespace FilterMenus
