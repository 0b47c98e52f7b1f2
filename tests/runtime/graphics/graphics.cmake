# The graphics statements of the runtime: the same sources against Windows
# (under Wine) and against the layer; whole pictures on the layer alone,
# since they hold the layer's own font and frames.
zandrel_test(runtime_graphics_test
    ${CMAKE_CURRENT_LIST_DIR}/draw_target_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/shapes_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/text_output_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/message_box_test.cpp
)
target_link_libraries(runtime_graphics_test PRIVATE zandrel_runtime)
if(WIN32)
    target_link_libraries(runtime_graphics_test PRIVATE user32 gdi32)
else()
    target_sources(runtime_graphics_test PRIVATE
        ${CMAKE_CURRENT_LIST_DIR}/layer_pictures_test.cpp
    )
    target_link_libraries(runtime_graphics_test PRIVATE zandrel_image_compare)
endif()
