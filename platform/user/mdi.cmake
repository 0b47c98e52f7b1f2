# Multiple-document windows, accelerator tables and the keyboard in dialogs.
target_sources(zandrel_platform_user PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/mdi.cpp
    ${CMAKE_CURRENT_LIST_DIR}/accelerator.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dialog_keys.cpp
)
