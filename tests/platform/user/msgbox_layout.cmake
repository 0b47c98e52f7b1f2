# The message box's layout, checked against boxes measured under Wine and
# with the layer's own font. It runs on the layer only.
if(NOT WIN32)
    zandrel_test(user_msgbox_layout_test ${CMAKE_CURRENT_LIST_DIR}/msgbox_layout_test.cpp)
    target_link_libraries(user_msgbox_layout_test PRIVATE zandrel_user_msgbox_layout
                                                           zandrel_layer_headless)
endif()
