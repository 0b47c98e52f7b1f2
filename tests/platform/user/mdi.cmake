# Multiple-document windows, accelerators and the keyboard in dialogs: the
# same sources run against Windows (under Wine) and against the layer.
zandrel_test(user_mdi_test
    ${CMAKE_CURRENT_LIST_DIR}/mdi_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/accelerator_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dialog_keys_test.cpp
    ${PROJECT_SOURCE_DIR}/tests/support/message_log.cpp
)
if(WIN32)
    target_link_libraries(user_mdi_test PRIVATE user32 gdi32)
endif()
