# Widgets of the main window's panels that the item editors use as well:
# DateTimePicker, the event and task details pop-overs and the prompt for how
# far a change to a repeating event reaches, and the lock that turns an
# editing dialog into a view of an event that can't be changed. They link no editor: the event
# pop-over asks for editing through its editRequested signal.
add_library(panels STATIC
    ${CMAKE_CURRENT_LIST_DIR}/datetimepicker.h
    ${CMAKE_CURRENT_LIST_DIR}/datetimepicker.cpp
    ${CMAKE_CURRENT_LIST_DIR}/detailspopover.h
    ${CMAKE_CURRENT_LIST_DIR}/detailspopover.cpp
    ${CMAKE_CURRENT_LIST_DIR}/eventdetailspopover.h
    ${CMAKE_CURRENT_LIST_DIR}/eventdetailspopover.cpp
    ${CMAKE_CURRENT_LIST_DIR}/readonlylock.h
    ${CMAKE_CURRENT_LIST_DIR}/readonlylock.cpp
    ${CMAKE_CURRENT_LIST_DIR}/recurringeditscopedialog.h
    ${CMAKE_CURRENT_LIST_DIR}/recurringeditscopedialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/taskdetailspopover.h
    ${CMAKE_CURRENT_LIST_DIR}/taskdetailspopover.cpp)
target_include_directories(panels PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(panels PUBLIC app store core Qt6::Widgets)
