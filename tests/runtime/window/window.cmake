# The window framework, the wait for events and timers: the same sources run
# against Windows (under Wine) and against the layer's headless host.
zandrel_test(runtime_window_test
    ${CMAKE_CURRENT_LIST_DIR}/open_close_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/events_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/mdi_test.cpp
)
target_link_libraries(runtime_window_test PRIVATE zandrel_runtime)
if(WIN32)
    target_link_libraries(runtime_window_test PRIVATE user32 gdi32)
endif()
