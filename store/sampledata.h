#pragma once

#include <QDate>

class AccountRepository;
class CalendarRepository;
class Database;
class EventRepository;
class TaskRepository;

// The repositories the sample data goes through (all of them required).
struct SampleDataStores
{
    Database *database = nullptr;
    AccountRepository *accounts = nullptr;
    CalendarRepository *calendars = nullptr;
    EventRepository *events = nullptr;
    TaskRepository *tasks = nullptr;
};

// A fixed set of rows placed around `today` (local times) so that every view
// can be tried without a calendar source: the account "sample-account" with
// four calendars, eighteen events and eight tasks, all with "sample-" ids.
// Adds what is missing (a sample row the user deleted stays deleted) and
// returns the number of calendars, events and tasks added.
int loadSampleData(const SampleDataStores &stores, QDate today = QDate::currentDate());

// Deletes every sample row, the reminders, attendees and attachments of
// sample events first; returns the number of events, tasks, calendars and
// accounts deleted. A sample calendar that holds the user's own items stays,
// and the account with it; every other sample calendar goes.
int removeSampleData(const SampleDataStores &stores);
