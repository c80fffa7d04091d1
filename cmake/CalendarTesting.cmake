# calendar_add_test(<name> SOURCES ... [LIBS ...] [ZONES ...] [ENV ...] [TIMEOUT s] [RUN_SERIAL]
#                   [LAUNCHER command ...])
#
# Builds one Qt Test executable and registers it once per time zone: date bugs
# usually hide in one zone only, so every test runs under at least two zones
# with daylight saving unless ZONES says otherwise. LAUNCHER runs the test
# through a command (a script that provides a display, for example).
set(CALENDAR_DEFAULT_TEST_ZONES Europe/Berlin America/New_York)
# A program started by a test must never look for the real release site or
# the holiday calendars of the outside provider, nor reach the user's session
# bus (and through it the user's own keyring): tests that need a keyring start
# their own (tests/support/with-keyring.sh).
set(CALENDAR_TEST_ISOLATION
    "CALENDAR_UPDATE_BASE_URL=http://127.0.0.1:9/;CALENDAR_HOLIDAY_FEED_TEMPLATE=http://127.0.0.1:9/holidays/%1.ics;DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent/calendar-test-bus")
# Built with CALENDAR_SANITIZE, every test runs with the sanitizers' findings
# as failures; the leak checker skips only what system libraries keep until
# exit (the suppressions file says which and why), never leaks of our own.
set(CALENDAR_TEST_SANITIZER_ENV "")
if(CALENDAR_SANITIZE)
    set(CALENDAR_TEST_SANITIZER_ENV
        "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/support/lsan-suppressions.txt:print_suppressions=0")
endif()

function(calendar_add_test name)
    cmake_parse_arguments(T "RUN_SERIAL" "TIMEOUT" "SOURCES;LIBS;ZONES;ENV;LAUNCHER" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE Qt6::Test Qt6::Sql ${T_LIBS})
    target_compile_definitions(${name} PRIVATE
        CALENDAR_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
        CALENDAR_TEST_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}/data")
    if(NOT T_ZONES)
        set(T_ZONES ${CALENDAR_DEFAULT_TEST_ZONES})
    endif()
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 300)
    endif()
    foreach(zone IN LISTS T_ZONES)
        string(REPLACE "/" "_" tag "${zone}")
        add_test(NAME ${name}@${tag} COMMAND ${T_LAUNCHER} $<TARGET_FILE:${name}>)
        set_tests_properties(${name}@${tag} PROPERTIES
            TIMEOUT ${T_TIMEOUT}
            ENVIRONMENT "TZ=${zone};QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;${CALENDAR_TEST_ISOLATION};${CALENDAR_TEST_SANITIZER_ENV};${T_ENV}")
        if(T_RUN_SERIAL)
            set_tests_properties(${name}@${tag} PROPERTIES RUN_SERIAL TRUE)
        endif()
    endforeach()
endfunction()
