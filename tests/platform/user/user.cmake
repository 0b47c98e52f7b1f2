# Conformance of windows, messages, painting, timers and input: the same
# sources run against Windows (under Wine) and against the layer.
zandrel_test(user_conformance_test
    ${CMAKE_CURRENT_LIST_DIR}/creation_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/show_move_destroy_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/paint_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/queue_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/timer_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/input_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/class_window_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/bad_handle_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/menu_msgbox_test.cpp
    ${PROJECT_SOURCE_DIR}/tests/support/message_log.cpp
)
if(WIN32)
    target_link_libraries(user_conformance_test PRIVATE user32 gdi32)
endif()
