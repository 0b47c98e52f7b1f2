# The window framework, with the wait for events and timers that drive it.
target_sources(zandrel_runtime PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/open_window.cpp
    ${CMAKE_CURRENT_LIST_DIR}/window_proc.cpp
    ${CMAKE_CURRENT_LIST_DIR}/paint.cpp
    ${CMAKE_CURRENT_LIST_DIR}/menu.cpp
    ${CMAKE_CURRENT_LIST_DIR}/close_window.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../events/wait.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../events/timer.cpp
)
if(WIN32)
    # OleUninitialize, when a window that hosted a component closes.
    target_link_libraries(zandrel_runtime PUBLIC ole32)
endif()
