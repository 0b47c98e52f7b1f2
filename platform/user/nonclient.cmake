# Drawing of the classic non-client area and the system icons: pure drawing
# on a device context, shared by the window frame code and message boxes.
target_sources(zandrel_platform_user PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/nonclient_draw.cpp
    ${CMAKE_CURRENT_LIST_DIR}/system_icons.cpp
)
add_library(zandrel_user_nonclient ALIAS zandrel_platform_user)
