target_sources(zandrel_runtime PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/draw_target.cpp
    ${CMAKE_CURRENT_LIST_DIR}/shapes.cpp
    ${CMAKE_CURRENT_LIST_DIR}/text_output.cpp
    ${CMAKE_CURRENT_LIST_DIR}/message_box.cpp
)
