# Where a message box puts its text, icon and buttons: a computation of its
# own, so that it is tested before and apart from the box's window.
target_sources(zandrel_platform_user PRIVATE ${CMAKE_CURRENT_LIST_DIR}/msgbox_layout.cpp)
add_library(zandrel_user_msgbox_layout ALIAS zandrel_platform_user)
