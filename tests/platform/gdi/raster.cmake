# The rasteriser's tests. The expected pixels of raster_probe_test.cpp and
# raster_mix_test.cpp come from tools/probes/raster_probe.cpp run against the
# system's GDI.
zandrel_test(gdi_raster_test
    ${CMAKE_CURRENT_SOURCE_DIR}/platform/gdi/raster_probe_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/platform/gdi/raster_mix_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/platform/gdi/raster_clip_test.cpp
)
target_link_libraries(gdi_raster_test PRIVATE zandrel_gdi_raster)
