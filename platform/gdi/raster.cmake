# The software rasteriser: lines, rectangles and ellipses with GDI's pixel
# rules, drawn into a Surface through a Clip.
zandrel_library(zandrel_gdi_raster
    ${CMAKE_CURRENT_SOURCE_DIR}/raster.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/raster_lines.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/raster_shapes.cpp
)
target_include_directories(zandrel_gdi_raster PUBLIC ${PROJECT_SOURCE_DIR}/platform/include)
# Shapes beyond what the rasteriser draws are reported on the debug channel.
target_link_libraries(zandrel_gdi_raster PRIVATE zandrel_platform_kernel)
