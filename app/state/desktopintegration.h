#pragma once

// Start at login and the .ics file association, through whatever the
// platform offers. Each returns whether the change is in place afterwards.

// The start-at-login entry of this instance (autostartValueName) exists and
// runs something.
bool isAutostartEnabled();
// On: starts this program with "--background" at login. Off: removes the
// entry.
bool setAutostartEnabled(bool on);
// Makes this program an opener of .ics files, started with "--ics" and the
// file's path. Runs at every start, so the entry names the program that ran
// last.
bool registerIcsFileAssociation();
